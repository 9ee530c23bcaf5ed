#include "analysis/identifiers.h"

#include <gtest/gtest.h>

#include <string>

namespace cq {
namespace {

TEST(IdentifierCharacter, LettersDigitsUnderscoreAndGermanLettersOnly) {
  std::string accepted;
  for (int b = 0; b < 256; ++b)
    if (isIdentifierCharacter(static_cast<char>(b))) accepted += static_cast<char>(b);
  std::string expected = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
  expected += "\xC4\xD6\xDC\xDF\xE4\xF6\xFC";  // Ä Ö Ü ß ä ö ü in byte order
  EXPECT_EQ(accepted, expected);
}

TEST(WordAtCaret, TakesTheIdentifierTouchedFromTheLeft) {
  const std::string line = "Call Foo(1)\r\n";
  EXPECT_EQ(wordAtCaret(line, 8), "Foo");  // directly behind Foo
  EXPECT_EQ(wordAtCaret(line, 5), "");     // behind the blank, before Foo
  EXPECT_EQ(wordAtCaret(line, 6), "Foo");  // inside Foo
  EXPECT_EQ(wordAtCaret(line, 7), "Foo");
  EXPECT_EQ(wordAtCaret(line, 4), "Call");  // at the very start of the text
  EXPECT_EQ(wordAtCaret(line, 1), "Call");
  EXPECT_EQ(wordAtCaret(line, 10), "1");
  EXPECT_EQ(wordAtCaret(line, 9), "");  // behind "("
}

TEST(WordAtCaret, UmlautsAndSharpSBelongToTheName) {
  const std::string code = "x = Gr\xF6\xDF" "e_1 + \xC4nderung\r\n";
  EXPECT_EQ(wordAtCaret(code, 7), "Gr\xF6\xDF" "e_1");
  EXPECT_EQ(wordAtCaret(code, 11), "Gr\xF6\xDF" "e_1");
  EXPECT_EQ(wordAtCaret(code, 15), "\xC4nderung");
}

TEST(WordAtCaret, EndsOfTheTextGiveEmptyTextOrACutName) {
  EXPECT_EQ(wordAtCaret("Foo", 0), "");
  EXPECT_EQ(wordAtCaret("Foo", 3), "");     // caret at the text's end
  EXPECT_EQ(wordAtCaret("Foo", 2), "Fo");   // the last character is lost
  EXPECT_EQ(wordAtCaret("a Foo", 4), "Fo");
  EXPECT_EQ(wordAtCaret("Foo", 99), "");    // beyond the text
  EXPECT_EQ(wordAtCaret("", 0), "");
  EXPECT_EQ(wordAtCaret("\r\n", 1), "");
}

}  // namespace
}  // namespace cq
