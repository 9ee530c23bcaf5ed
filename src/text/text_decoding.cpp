#include "text/text_decoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

#include "text/ascii_words.h"
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

constexpr char32_t windows1252ToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControlRange[byte - 0x80];
  return byte;
}

// The UTF-8 of every byte, built once: module files are Windows-1252, and
// marked text holds a marker character every few bytes. Four bytes each, so
// that one store writes any of them.
struct Utf8OfByte {
  std::array<char, 4> bytes{};
  std::uint8_t length = 0;
};

constexpr std::array<Utf8OfByte, 256> makeUtf8OfBytes() {
  std::array<Utf8OfByte, 256> table{};
  for (std::size_t byte = 0; byte < table.size(); ++byte) {
    const char32_t c = windows1252ToCodePoint(static_cast<unsigned char>(byte));
    Utf8OfByte& entry = table[byte];
    if (c < 0x80) {
      entry.bytes = {static_cast<char>(c), 0, 0, 0};
      entry.length = 1;
    } else if (c < 0x800) {
      entry.bytes = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F)), 0, 0};
      entry.length = 2;
    } else {
      entry.bytes = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                     static_cast<char>(0x80 | (c & 0x3F)), 0};
      entry.length = 3;
    }
  }
  return table;
}

constexpr std::array<Utf8OfByte, 256> kUtf8OfBytes = makeUtf8OfBytes();

// The characters of bytes 0x80-0x9F above U+00FF with their bytes, by code
// point, for the way back.
using ByteOfCodePoint = std::pair<char16_t, unsigned char>;

constexpr std::array<ByteOfCodePoint, 27> makeHighCodePoints() {
  std::array<ByteOfCodePoint, 27> table{};
  std::size_t n = 0;
  for (std::size_t i = 0; i < kHighControlRange.size(); ++i)
    if (kHighControlRange[i] > 0xFF) table[n++] = {kHighControlRange[i], static_cast<unsigned char>(0x80 + i)};
  std::sort(table.begin(), table.end());
  return table;
}

constexpr std::array<ByteOfCodePoint, 27> kHighCodePoints = makeHighCodePoints();

constexpr bool isUndefinedWindows1252Byte(char32_t c) { return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D; }

}  // namespace

bool windows1252ByteOf(char32_t codePoint, char& byte) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF) || isUndefinedWindows1252Byte(codePoint)) {
    byte = static_cast<char>(codePoint);
    return true;
  }
  if (codePoint > 0xFFFF) return false;
  const auto found = std::lower_bound(kHighCodePoints.begin(), kHighCodePoints.end(),
                                      ByteOfCodePoint{static_cast<char16_t>(codePoint), 0});
  if (found == kHighCodePoints.end() || found->first != codePoint) return false;
  byte = static_cast<char>(found->second);
  return true;
}

std::optional<std::string> utf8ToWindows1252(std::string_view utf8) {
  // Never longer than the UTF-8 (plus the last store of eight): written in
  // place, cut to size at the end.
  std::string out(utf8.size() + 8, '\0');
  char* const begin = out.data();
  char* o = begin;
  const char* const data = utf8.data();
  const std::size_t n = utf8.size();
  std::size_t pos = 0;
  while (pos < n) {
    ascii_words::copyAsciiWords(data, n, pos, o);
    if (pos == n) break;
    if (static_cast<unsigned char>(data[pos]) < 0x80) {  // in the last seven bytes
      *o++ = data[pos++];
      continue;
    }
    // The marker character, a few bytes apart in marked text, and U+00A0 to
    // U+00FF, whose byte is the code point, without a look-up.
    const auto lead = static_cast<unsigned char>(data[pos]);
    const auto second = pos + 1 < n ? static_cast<unsigned char>(data[pos + 1]) : 0;
    if (lead == 0xC5 && second == 0xB8) {
      *o++ = '\x9F';
      pos += 2;
      continue;
    }
    if ((lead == 0xC3 && (second & 0xC0) == 0x80) || (lead == 0xC2 && second >= 0xA0 && second <= 0xBF)) {
      *o++ = static_cast<char>(((lead & 0x03) << 6) | (second & 0x3F));
      pos += 2;
      continue;
    }
    const char32_t codePoint = utf8::next(utf8, pos);
    char byte = 0;
    if (codePoint == utf8::kInvalid || !windows1252ByteOf(codePoint, byte)) return std::nullopt;
    *o++ = byte;
  }
  out.resize(static_cast<std::size_t>(o - begin));
  return out;
}

std::string systemBytesToText(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t asciiEnd = ascii_words::asciiRunEnd(bytes, pos);
    text.append(bytes.data() + pos, asciiEnd - pos);
    pos = asciiEnd;
    if (pos == bytes.size()) break;
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
  // Room for two more bytes per byte beyond ASCII, and for the last store of
  // eight; cut to size at the end.
  const char* const data = bytes.data();
  const std::size_t n = bytes.size();
  std::size_t highBytes = 0;
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8)  // the high bits as ones, summed by the multiplication into the top byte
    highBytes += static_cast<std::size_t>((((ascii_words::load(data + i) & ascii_words::kHighBits) >> 7) * ascii_words::kOnes) >> 56);
  for (; i < n; ++i) highBytes += static_cast<unsigned char>(data[i]) >> 7;
  std::string out(n + 2 * highBytes + 8, '\0');
  char* const begin = out.data();
  char* o = begin;
  const auto put = [&o](char c) {
    const Utf8OfByte& encoded = kUtf8OfBytes[static_cast<unsigned char>(c)];
    std::memcpy(o, encoded.bytes.data(), 4);
    o += encoded.length;
  };
  std::size_t pos = 0;
  // ASCII eight bytes at a time up to each byte beyond it, which goes through
  // the table: marked text has a marker character every few bytes.
  for (;;) {
    ascii_words::copyAsciiWords(data, n, pos, o);
    if (pos + 8 > n) break;
    put(data[pos++]);
  }
  for (; pos < n; ++pos) put(data[pos]);
  out.resize(static_cast<std::size_t>(o - begin));
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
