#include "sources/vba/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <string>

namespace cq {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// iconv's name of a Windows code page number.
std::string iconvName(int codePage) {
  switch (codePage) {
    case 1200: return "UTF-16LE";
    case 1201: return "UTF-16BE";
    case 65001: return "UTF-8";
    case 20127: return "ASCII";
    case 20866: return "KOI8-R";
    case 21866: return "KOI8-U";
    case 10000: return "MACINTOSH";
    case 10007: return "MAC-CYRILLIC";
    case 10017: return "MACUKRAINIAN";
    case 10029: return "MAC-CENTRALEUROPE";
    case 10079: return "MAC-IS";
    default: break;
  }
  if (codePage >= 28591 && codePage <= 28605) return "ISO-8859-" + std::to_string(codePage - 28590);
  return "CP" + std::to_string(codePage);
}

// An iconv conversion descriptor that closes itself.
class IconvConverter {
 public:
  IconvConverter(const std::string& from, const char* to) : handle_(iconv_open(to, from.c_str())) {}
  ~IconvConverter() {
    if (valid()) iconv_close(handle_);
  }
  IconvConverter(const IconvConverter&) = delete;
  IconvConverter& operator=(const IconvConverter&) = delete;

  bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `input`; a byte that starts no valid character is written
  // as U+FFFD and skipped, as is an incomplete character at the end.
  std::string convert(std::string_view input) {
    std::string out;
    out.resize(input.size() * 2 + 16);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t written = 0;
    while (inLeft > 0) {
      char* outPtr = out.data() + written;
      std::size_t outLeft = out.size() - written;
      const std::size_t result = iconv(handle_, &in, &inLeft, &outPtr, &outLeft);
      written = out.size() - outLeft;
      if (result != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) {
        out.resize(out.size() * 2);
      } else {  // EILSEQ or EINVAL: one undecodable byte
        if (out.size() - written < kReplacementCharacter.size()) out.resize(out.size() * 2);
        out.replace(written, kReplacementCharacter.size(), kReplacementCharacter);
        written += kReplacementCharacter.size();
        ++in;
        --inLeft;
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // leave any shift state
      }
    }
    out.resize(written);
    return out;
  }

 private:
  iconv_t handle_;
};

}  // namespace

std::string codePageToUtf8(std::string_view bytes, int codePage) {
  IconvConverter converter(iconvName(codePage), "UTF-8");
  if (converter.valid()) return converter.convert(bytes);
  return windows1252ToUtf8(bytes);
}

DecodedText codePageToWindows1252(std::string_view bytes, int codePage) {
  if (codePage == kWindows1252CodePage) return DecodedText{std::string(bytes), 0};
  return utf8ToWindows1252(codePageToUtf8(bytes, codePage));
}

}  // namespace cq
