#include "text/text_decoding.h"

#include <array>

#include "text/utf8.h"

namespace cq {
namespace {

// Windows-1252 bytes 0x80-0x9F; the undefined ones (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// stand for the C1 controls of the same value.
constexpr std::array<char16_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

char32_t windows1252ToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControlRange[byte - 0x80];
  return byte;
}

}  // namespace

bool windows1252ByteOf(char32_t codePoint, char& byte) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    byte = static_cast<char>(codePoint);
    return true;
  }
  for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
    if (kHighControlRange[i] == codePoint) {
      byte = static_cast<char>(0x80 + i);
      return true;
    }
  }
  return false;
}

std::optional<std::string> utf8ToWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t done = 0;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    if (static_cast<unsigned char>(utf8[pos]) < 0x80) {  // ASCII runs are copied whole
      ++pos;
      continue;
    }
    out.append(utf8.data() + done, pos - done);
    const char32_t codePoint = utf8::next(utf8, pos);
    char byte = 0;
    if (codePoint == utf8::kInvalid || !windows1252ByteOf(codePoint, byte)) return std::nullopt;
    out += byte;
    done = pos;
  }
  out.append(utf8.data() + done, utf8.size() - done);
  return out;
}

std::string systemBytesToText(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t start = pos;
    const char32_t codePoint = utf8::next(bytes, pos);
    if (codePoint == utf8::kInvalid) {
      utf8::append(text, windows1252ToCodePoint(static_cast<unsigned char>(bytes[start])));
    } else {
      text.append(bytes.data() + start, pos - start);
    }
  }
  return text;
}

std::string windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  std::size_t done = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) continue;  // ASCII runs are copied whole
    out.append(bytes.data() + done, i - done);
    utf8::append(out, windows1252ToCodePoint(byte));
    done = i + 1;
  }
  out.append(bytes.data() + done, bytes.size() - done);
  return out;
}

std::string normalizeLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32 + 2);
  std::size_t done = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;  // already CR LF
      continue;
    }
    out.append(text.data() + done, i - done).append("\r\n");
    done = i + 1;
  }
  out.append(text.data() + done, text.size() - done);
  return out;
}

DecodedText decodeSourceText(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    bytes.remove_prefix(kUtf8Bom.size());
    return DecodedText{normalizeLineEnds(systemBytesToText(bytes)), 0};
  }
  if (utf8::isValid(bytes)) return DecodedText{normalizeLineEnds(bytes), 0};
  return DecodedText{normalizeLineEnds(windows1252ToUtf8(bytes)), 0};
}

std::string encodeModuleFileText(std::string_view text) {
  if (std::optional<std::string> western = utf8ToWindows1252(text)) return std::move(*western);
  std::string out;
  out.reserve(kUtf8Bom.size() + text.size());
  out.append(kUtf8Bom).append(text);
  return out;
}

std::string decodeModuleFileText(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) return systemBytesToText(bytes.substr(kUtf8Bom.size()));
  return windows1252ToUtf8(bytes);
}

}  // namespace cq
