#include "projects/text_decoding.h"

#include <gtest/gtest.h>

namespace cq {
namespace {

TEST(TextDecoding, Utf8AndWindows1252InputsGiveTheSameBytes) {
  // "Größe" written as UTF-8 with a BOM, as UTF-8 without, and as Windows-1252.
  const std::string expected = "Gr\xF6\xDF" "e\r\n";
  EXPECT_EQ(decodeSourceText("\xEF\xBB\xBFGr\xC3\xB6\xC3\x9F" "e\n").text, expected);
  EXPECT_EQ(decodeSourceText("Gr\xC3\xB6\xC3\x9F" "e\r\n").text, expected);
  EXPECT_EQ(decodeSourceText("Gr\xF6\xDF" "e\r").text, expected);
  EXPECT_EQ(decodeSourceText("\xEF\xBB\xBF" "Sub A()").text, "Sub A()");
  EXPECT_EQ(decodeSourceText("").text, "");

  // One invalid sequence makes the whole text Windows-1252, valid-looking parts too.
  const DecodedText mixed = decodeSourceText("\xC3\xA4 \xE4");
  EXPECT_EQ(mixed.text, "\xC3\xA4 \xE4");
  EXPECT_EQ(mixed.replaced, 0u);
  // Overlong forms and encoded surrogates are not UTF-8.
  EXPECT_EQ(decodeSourceText("\xC0\xAF").text, "\xC0\xAF");
  EXPECT_EQ(decodeSourceText("\xED\xA0\x80").text, "\xED\xA0\x80");
  // A sequence cut off at the end of the text.
  EXPECT_EQ(decodeSourceText("ab\xE2\x82").text, "ab\xE2\x82");
}

TEST(TextDecoding, CharactersOutsideWindows1252BecomeCountedQuestionMarks) {
  // Euro sign and typographic quotes live in 0x80-0x9F; CJK and emoji do not exist.
  const DecodedText decoded = decodeSourceText("\xE2\x82\xAC \xE2\x80\x9Ex\xE2\x80\x9C \xE4\xB8\xAD\xF0\x9F\x98\x80");
  EXPECT_EQ(decoded.text, "\x80 \x84x\x93 ??");
  EXPECT_EQ(decoded.replaced, 2u);

  // The five undefined bytes stand for the C1 controls of the same value.
  EXPECT_EQ(utf8ToWindows1252("\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D").text, "\x81\x8D\x8F\x90\x9D");
  const DecodedText otherControl = utf8ToWindows1252("\xC2\x80");  // U+0080 is not byte 0x80 (that is the euro)
  EXPECT_EQ(otherControl.text, "?");
  EXPECT_EQ(otherControl.replaced, 1u);
  EXPECT_EQ(utf8ToWindows1252("a\xFF" "b").text, "a?b");
}

TEST(TextDecoding, EveryWindows1252ByteSurvivesTheRoundTrip) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  const std::string utf8 = windows1252ToUtf8(all);
  EXPECT_EQ(windows1252ToUtf8("\x80\x9F\xE4"), "\xE2\x82\xAC\xC5\xB8\xC3\xA4");
  const DecodedText back = utf8ToWindows1252(utf8);
  EXPECT_EQ(back.text, all);
  EXPECT_EQ(back.replaced, 0u);
}

TEST(TextDecoding, LineEndsBecomeCrLf) {
  EXPECT_EQ(normalizeLineEnds("a\r\nb\nc\rd\r\n\r\ne\n\rf"), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\nf");
  EXPECT_EQ(normalizeLineEnds("\r"), "\r\n");
  EXPECT_EQ(normalizeLineEnds("x"), "x");
  EXPECT_EQ(decodeSourceText("\xC3\xA4\n\xC3\xB6\r").text, "\xE4\r\n\xF6\r\n");
}

}  // namespace
}  // namespace cq
