#include "text/utf8.h"

#include "text/ascii_words.h"

namespace cq::utf8 {

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The UTF-16 units of the character at `pos`, moving past it: a byte of no
// valid sequence counts one unit, as Qt's decoder shows it as one replacement
// character.
std::size_t unitsOfNext(std::string_view text, std::size_t& pos) {
  if (static_cast<unsigned char>(text[pos]) < 0x80) {
    ++pos;
    return 1;
  }
  const char32_t codePoint = next(text, pos);
  return codePoint != kInvalid && codePoint >= 0x10000 ? 2 : 1;
}

}  // namespace

char32_t next(std::string_view text, std::size_t& pos) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
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
  if (pos + length > text.size() || at(pos + 1) < secondMin || at(pos + 1) > secondMax) {
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

std::size_t previousStart(std::string_view text, std::size_t pos) {
  if (pos == 0) return 0;
  // A valid sequence has at most three continuation bytes after its lead.
  std::size_t start = pos - 1;
  while (start > 0 && pos - start < 4 && isContinuation(static_cast<unsigned char>(text[start]))) --start;
  std::size_t end = start;
  if (next(text, end) != kInvalid && end == pos) return start;
  return pos - 1;
}

char32_t previous(std::string_view text, std::size_t pos) {
  if (pos == 0) return 0;
  std::size_t start = previousStart(text, pos);
  const char32_t codePoint = next(text, start);
  return start == pos ? codePoint : kInvalid;
}

void append(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

bool isAscii(std::string_view text) { return ascii_words::asciiRunEnd(text, 0) == text.size(); }

bool isValid(std::string_view text) {
  for (std::size_t pos = ascii_words::asciiRunEnd(text, 0); pos < text.size();
       pos = ascii_words::asciiRunEnd(text, pos)) {
    if (next(text, pos) == kInvalid) return false;
  }
  return true;
}

std::size_t utf16Length(std::string_view text) {
  std::size_t units = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t asciiEnd = ascii_words::asciiRunEnd(text, pos);
    units += asciiEnd - pos;
    pos = asciiEnd;
    if (pos < text.size()) units += unitsOfNext(text, pos);
  }
  return units;
}

std::size_t offsetOfUtf16(std::string_view text, std::size_t units) {
  std::size_t pos = 0;
  for (std::size_t counted = 0; pos < text.size() && counted < units;) counted += unitsOfNext(text, pos);
  return pos;
}

}  // namespace cq::utf8
