#include "text/text_decoding.h"

#include <array>
#include <cstdint>

namespace cq {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr char kReplacement = '?';
constexpr char32_t kInvalid = 0xFFFFFFFF;

// Windows-1252 bytes 0x80-0x9F. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 controls of the same value, so
// that every byte survives a round trip through Unicode.
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

// The Windows-1252 byte of a code point; false when the code page cannot hold it.
bool codePointToWindows1252(char32_t codePoint, char& byte) {
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

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one strictly valid UTF-8 sequence at `pos` (no overlong forms, no
// surrogates, nothing above U+10FFFF) and moves past it. On an invalid sequence
// it returns kInvalid and moves past the first byte only.
char32_t nextCodePoint(std::string_view bytes, std::size_t& pos) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = at(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  std::size_t length = 0;
  unsigned char secondMin = 0x80;
  unsigned char secondMax = 0xBF;
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
    if (lead == 0xE0) secondMin = 0xA0;
    if (lead == 0xED) secondMax = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
    if (lead == 0xF0) secondMin = 0x90;
    if (lead == 0xF4) secondMax = 0x8F;
  } else {
    ++pos;
    return kInvalid;
  }
  if (pos + length > bytes.size() || at(pos + 1) < secondMin || at(pos + 1) > secondMax) {
    ++pos;
    return kInvalid;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (!isContinuation(at(pos + i))) {
      ++pos;
      return kInvalid;
    }
    value = (value << 6) | (at(pos + i) & 0x3F);
  }
  pos += length;
  return value;
}

// True when the bytes are valid UTF-8 and hold at least one non-ASCII character.
bool isUtf8WithNonAscii(std::string_view bytes) {
  bool nonAscii = false;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
      ++pos;
      continue;
    }
    if (nextCodePoint(bytes, pos) == kInvalid) return false;
    nonAscii = true;
  }
  return nonAscii;
}

void appendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

}  // namespace

DecodedText utf8ToWindows1252(std::string_view utf8) {
  DecodedText result;
  result.text.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t codePoint = nextCodePoint(utf8, pos);
    char byte = 0;
    if (codePoint != kInvalid && codePointToWindows1252(codePoint, byte)) {
      result.text += byte;
    } else {
      result.text += kReplacement;
      ++result.replaced;
    }
  }
  return result;
}

std::string systemBytesToWindows1252(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t start = pos;
    const char32_t codePoint = nextCodePoint(bytes, pos);
    char byte = 0;
    if (codePoint == kInvalid) {
      text += bytes[start];
    } else {
      text += codePointToWindows1252(codePoint, byte) ? byte : kReplacement;
    }
  }
  return text;
}

std::string windows1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  std::size_t done = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) continue;  // ASCII runs are copied whole
    out.append(text.data() + done, i - done);
    appendUtf8(out, windows1252ToCodePoint(byte));
    done = i + 1;
  }
  out.append(text.data() + done, text.size() - done);
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
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());
  if (!isUtf8WithNonAscii(bytes)) return DecodedText{normalizeLineEnds(bytes), 0};
  DecodedText decoded = utf8ToWindows1252(bytes);
  decoded.text = normalizeLineEnds(decoded.text);
  return decoded;
}

}  // namespace cq
