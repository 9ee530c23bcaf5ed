#include "sources/vba/code_page.h"

#include <iconv.h>

#include <array>
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
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // a fresh start, also after an earlier failure
    std::string out;
    out.resize(input.size() * 2 + 16);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t written = 0;
    // One call on what is left of the input, or, with `flush`, on none: the
    // converter then writes what it holds back (glibc keeps a Hebrew or
    // Vietnamese letter until it knows no mark follows). False for a byte that
    // forms no character.
    const auto step = [&](bool flush) {
      while (true) {
        char* outPtr = out.data() + written;
        std::size_t outLeft = out.size() - written;
        const std::size_t result = flush ? iconv(handle_, nullptr, nullptr, &outPtr, &outLeft)
                                         : iconv(handle_, &in, &inLeft, &outPtr, &outLeft);
        written = out.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) return true;
        if (errno != E2BIG) return false;
        out.resize(out.size() * 2);
      }
    };
    while (!step(false)) {  // EILSEQ or EINVAL: one undecodable byte
      if (!replaced) return std::nullopt;
      step(true);  // what was held back comes before the replacement
      ++*replaced;
      if (out.size() - written < kReplacementCharacter.size()) out.resize(out.size() * 2);
      out.replace(written, kReplacementCharacter.size(), kReplacementCharacter);
      written += kReplacementCharacter.size();
      ++in;
      --inLeft;
    }
    step(true);
    out.resize(written);
    return out;
  }

 private:
  iconv_t handle_;
};

// glibc's converters of code pages 1255 and 1258 join a letter and the marks
// after it into one precomposed character (U+05D5 U+05B9 becomes U+FB4B), which
// Windows never does: these single-byte code pages are read through a table of
// what each byte stands for on its own.
bool joinsMarks(int codePage) { return codePage == 1255 || codePage == 1258; }

// The UTF-8 of each byte; empty where the byte is no character of the code page.
using ByteCharacters = std::array<std::string, 256>;

ByteCharacters charactersOfBytes(int codePage) {
  ByteCharacters characters;
  IconvConverter converter(iconvName(codePage), "UTF-8");
  if (!converter.valid()) return characters;
  for (std::size_t byte = 0; byte < characters.size(); ++byte) {
    const char each = static_cast<char>(byte);
    characters[byte] = converter.convert(std::string_view(&each, 1), nullptr).value_or(std::string());
  }
  return characters;
}

// nullptr where the system cannot convert the code page (NUL is a character of every one it can).
const ByteCharacters* charactersOfJoiningCodePage(int codePage) {
  static const ByteCharacters hebrew = charactersOfBytes(1255);
  static const ByteCharacters vietnamese = charactersOfBytes(1258);
  const ByteCharacters& characters = codePage == 1255 ? hebrew : vietnamese;
  return characters[0].empty() ? nullptr : &characters;
}

DecodedText decodeByteByByte(std::string_view bytes, const ByteCharacters& characters) {
  DecodedText decoded;
  decoded.text.reserve(bytes.size() * 2);
  for (const char byte : bytes) {
    const std::string& character = characters[static_cast<unsigned char>(byte)];
    if (character.empty()) {
      decoded.text.append(kReplacementCharacter);
      ++decoded.replaced;
    } else {
      decoded.text.append(character);
    }
  }
  return decoded;
}

}  // namespace

bool isKnownCodePage(int codePage) {
  return codePage == kWindows1252CodePage || IconvConverter(iconvName(codePage), "UTF-8").valid();
}

DecodedText codePageToText(std::string_view bytes, int codePage) {
  // Windows-1252 by our own table: every byte is a character, also the five the
  // system's table leaves undefined.
  if (codePage != kWindows1252CodePage) {
    if (joinsMarks(codePage)) {
      if (const ByteCharacters* characters = charactersOfJoiningCodePage(codePage))
        return decodeByteByByte(bytes, *characters);
    }
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
