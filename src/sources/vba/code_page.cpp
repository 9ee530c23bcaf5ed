#include "sources/vba/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <charconv>
#include <optional>
#include <string>
#include <utility>

#include "text/ascii_case.h"

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
  // as U+FFFD (counted in `replaced`) and skipped, as is an incomplete
  // character at the end. Without a replacement, nullopt at the first failure.
  std::optional<std::string> convert(std::string_view input, std::size_t* replaced) {
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
        if (!replaced) return std::nullopt;
        ++*replaced;
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

bool isKnownCodePage(int codePage) {
  return codePage == kWindows1252CodePage || IconvConverter(iconvName(codePage), "UTF-8").valid();
}

DecodedText codePageToText(std::string_view bytes, int codePage) {
  // Windows-1252 by our own table: every byte is a character, also the five the
  // system's table leaves undefined.
  if (codePage != kWindows1252CodePage) {
    IconvConverter converter(iconvName(codePage), "UTF-8");
    if (converter.valid()) {
      DecodedText decoded;
      decoded.text = *converter.convert(bytes, &decoded.replaced);
      return decoded;
    }
  }
  return DecodedText{windows1252ToUtf8(bytes), 0};
}

std::optional<std::string> textToCodePage(std::string_view text, int codePage) {
  if (codePage != kWindows1252CodePage) {
    IconvConverter converter("UTF-8", iconvName(codePage).c_str());
    if (converter.valid()) return converter.convert(text, nullptr);
  }
  return utf8ToWindows1252(text);
}

std::optional<int> codePageOfName(std::string_view name) {
  const std::string lower = toLowerAscii(name);
  if (lower == "auto" || lower == "0") return 0;
  static constexpr std::pair<std::string_view, int> kNames[] = {
      {"utf-8", kUtf8CodePage}, {"utf8", kUtf8CodePage}, {"shift_jis", 932}, {"shift-jis", 932}, {"sjis", 932},
      {"gbk", 936},             {"gb2312", 936},         {"big5", 950},      {"euc-kr", 949},     {"uhc", 949},
      {"macintosh", 10000},     {"mac", 10000}};
  for (const auto& [known, codePage] : kNames)
    if (lower == known) return codePage;
  std::string_view digits = lower;
  for (const std::string_view prefix : {"windows-", "cp"})
    if (digits.starts_with(prefix)) digits.remove_prefix(prefix.size());
  int codePage = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), codePage);
  if (error != std::errc() || end != digits.data() + digits.size() || codePage <= 0) return std::nullopt;
  if (!isKnownCodePage(codePage)) return std::nullopt;
  return codePage;
}

std::string codePageName(int codePage) {
  switch (codePage) {
    case 874: return "Thai (874)";
    case 932: return "Japanisch, Shift-JIS (932)";
    case 936: return "Chinesisch vereinfacht, GBK (936)";
    case 949: return "Koreanisch (949)";
    case 950: return "Chinesisch traditionell, Big5 (950)";
    case 1250: return "Mitteleuropäisch (1250)";
    case 1251: return "Kyrillisch (1251)";
    case 1252: return "Westeuropäisch (1252)";
    case 1253: return "Griechisch (1253)";
    case 1254: return "Türkisch (1254)";
    case 1255: return "Hebräisch (1255)";
    case 1256: return "Arabisch (1256)";
    case 1257: return "Baltisch (1257)";
    case 1258: return "Vietnamesisch (1258)";
    case 65001: return "UTF-8";
    case 10000: return "Mac Roman (10000)";
    case 10007: return "Mac Kyrillisch (10007)";
    default: return "Codepage " + std::to_string(codePage);
  }
}

}  // namespace cq
