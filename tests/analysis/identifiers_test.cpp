#include "analysis/identifiers.h"

#include <gtest/gtest.h>

#include <string>

namespace cq {
namespace {

TEST(IdentifierCharacter, LettersMarksDigitsAndUnderscoreOfEveryScript) {
  std::string accepted;
  for (int b = 0; b < 128; ++b)
    if (isIdentifierCodePoint(static_cast<char32_t>(b))) accepted += static_cast<char>(b);
  EXPECT_EQ(accepted, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
  for (const char32_t letter : {U'Ä', U'ß', U'é', U'Ц', U'я', U'Ω', U'ש', U'ا', U'日', U'カ', U'한', U'ą', U'ั'})
    EXPECT_TRUE(isIdentifierCodePoint(letter)) << static_cast<unsigned>(letter);
  for (const char32_t other : {U'·', U'€', U'„', U'。', U'　', U'«', U'×'})
    EXPECT_FALSE(isIdentifierCodePoint(other)) << static_cast<unsigned>(other);
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

TEST(WordAtCaret, LettersOfEveryScriptBelongToTheName) {
  const std::string code = "x = Größe_1 + Änderung\r\n";
  EXPECT_EQ(wordAtCaret(code, 8), "Größe_1");  // behind "Grö", a two-byte letter
  EXPECT_EQ(wordAtCaret(code, 13), "Größe_1");
  EXPECT_EQ(wordAtCaret(code, 18), "Änderung");
  const std::string russian = "Call ЦветТекстаЯчейки(1)\r\n";
  EXPECT_EQ(wordAtCaret(russian, 5 + 2 * 4), "ЦветТекстаЯчейки");
  const std::string japanese = "x = 日付を取得() ' 説明\r\n";
  EXPECT_EQ(wordAtCaret(japanese, 4 + 3 * 2), "日付を取得");
  EXPECT_EQ(wordAtCaret(japanese, 4 + 3 * 5 + 1), "");  // behind "("
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
