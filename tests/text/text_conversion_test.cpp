// The conversions that every text passes through, against character-by-character
// transcriptions, with the characters beyond ASCII at every place within and
// across the eight-byte words that the conversions take at once.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "text/text_decoding.h"
#include "text/unicode_case.h"
#include "text/utf8.h"

namespace cq {
namespace {

// Windows-1252 0x80-0x9F; the five undefined bytes as the C1 controls.
constexpr char32_t kHigh[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

char32_t codePointOfByte(unsigned char byte) { return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte; }

std::string referenceToUtf8(const std::string& bytes) {
  std::string out;
  for (const char c : bytes) utf8::append(out, codePointOfByte(static_cast<unsigned char>(c)));
  return out;
}

std::string referenceFold(std::string_view text) {
  std::string out;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const char32_t c = utf8::next(text, pos);
    if (c == utf8::kInvalid) {
      out += text[start];
    } else {
      utf8::append(out, foldCodePoint(c));
    }
  }
  return out;
}

// `piece` at each offset 0 to 17 among ASCII of both cases, with more ASCII after it.
std::vector<std::string> placings(const std::string& piece) {
  std::vector<std::string> texts;
  const std::string ascii = "AbCdEfGhIjKlMnOpQrStUvWxYz@[`{";
  for (std::size_t before = 0; before < 18; ++before)
    for (std::size_t after : {0, 1, 7, 8, 9})
      texts.push_back(ascii.substr(0, before) + piece + ascii.substr(before % 5, after));
  return texts;
}

TEST(TextConversion, Windows1252ToUtf8AndBack) {
  for (int byte = 0; byte < 256; ++byte) {
    for (const std::string& text : placings(std::string(1, static_cast<char>(byte)))) {
      const std::string utf8 = windows1252ToUtf8(text);
      ASSERT_EQ(utf8, referenceToUtf8(text)) << byte;
      ASSERT_EQ(utf8ToWindows1252(utf8), std::optional<std::string>(text)) << byte;
      char back = 0;
      ASSERT_TRUE(windows1252ByteOf(codePointOfByte(static_cast<unsigned char>(byte)), back));
      ASSERT_EQ(static_cast<unsigned char>(back), byte);
    }
  }
  std::string everyByte;
  for (int round = 0; round < 3; ++round)
    for (int byte = 255; byte >= 0; --byte) everyByte += static_cast<char>(byte);
  EXPECT_EQ(windows1252ToUtf8(everyByte), referenceToUtf8(everyByte));
  EXPECT_EQ(windows1252ToUtf8(""), "");
  // Characters the code page does not hold, and bytes of no valid sequence.
  for (const char* foreign : {"\xCE\xA9", "\xC2\x80", "\xC2\x9F", "\xE2\x82", "\xFF", "\xC5\xB9", "\xF0\x9F\x98\x80"})
    for (const std::string& text : placings(foreign)) EXPECT_EQ(utf8ToWindows1252(text), std::nullopt) << text;
  for (const char32_t c : {char32_t(0x80), char32_t(0x9F), char32_t(0x100), char32_t(0x2C7), char32_t(0x20AD), char32_t(0x1F600)}) {
    char byte = 0;
    EXPECT_FALSE(windows1252ByteOf(c, byte)) << static_cast<std::uint32_t>(c);
  }
}

TEST(TextConversion, SystemBytesKeepUtf8AndTakeOtherBytesAsWindows1252) {
  for (const std::string& text : placings("\xC3\xA4\xE2\x82\xAC")) EXPECT_EQ(systemBytesToText(text), text);
  for (const std::string& text : placings("\xE4\x9F")) EXPECT_EQ(systemBytesToText(text), referenceToUtf8(text));
  EXPECT_EQ(systemBytesToText("M\xC3\xA4rz \xE4 \xC3"), "M\xC3\xA4rz \xC3\xA4 \xC3\x83");
}

TEST(TextConversion, CaseFoldingAtEveryPlace) {
  // German, Greek and Cyrillic capitals, characters whose folded form has
  // another length (Kelvin sign, capital sharp s, "Ⱥ"), ideographs and a byte
  // of no valid sequence.
  for (const char* piece : {"\xC3\x84", "\xCE\xA3\xCE\xA3", "\xD0\x96x", "\xE2\x84\xAA", "\xE1\xBA\x9E", "\xC8\xBA",
                            "\xE6\xBC\xA2\xE5\xAD\x97", "\xFF", "\xC3"}) {
    for (const std::string& text : placings(piece)) {
      ASSERT_EQ(foldCase(text), referenceFold(text)) << text;
      ASSERT_TRUE(equalsIgnoringCase(text, referenceFold(text)) || !utf8::isValid(text)) << text;
    }
  }
  std::string many;
  for (int i = 0; i < 200; ++i) many += "\xC8\xBA";  // every one grows by a byte
  EXPECT_EQ(foldCase(many), referenceFold(many));
  EXPECT_EQ(foldCase(""), "");
}

TEST(TextConversion, Utf8MeasuresAtEveryPlace) {
  const auto slowUnits = [](std::string_view text) {
    std::size_t units = 0;
    for (std::size_t pos = 0; pos < text.size();) {
      const char32_t c = utf8::next(text, pos);
      units += c != utf8::kInvalid && c >= 0x10000 ? 2 : 1;
    }
    return units;
  };
  for (const std::string& text : placings("")) {
    EXPECT_TRUE(utf8::isAscii(text));
    EXPECT_TRUE(utf8::isValid(text));
    EXPECT_EQ(utf8::utf16Length(text), text.size());
  }
  for (const char* piece : {"\xC3\xA4", "\xF0\x9F\x98\x80", "\xE2\x82\xAC\xC3\xA4"}) {
    for (const std::string& text : placings(piece)) {
      EXPECT_FALSE(utf8::isAscii(text));
      EXPECT_TRUE(utf8::isValid(text));
      EXPECT_EQ(utf8::utf16Length(text), slowUnits(text));
    }
  }
  for (const char* piece : {"\xFF", "\xC3", "\xE2\x82", "\xED\xA0\x80", "\xC0\xAF"}) {
    for (const std::string& text : placings(piece)) {
      EXPECT_FALSE(utf8::isValid(text)) << text;
      EXPECT_EQ(utf8::utf16Length(text), slowUnits(text));
    }
  }
}

}  // namespace
}  // namespace cq
