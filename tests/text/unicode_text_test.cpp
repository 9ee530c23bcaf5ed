// UTF-8 as the engine reads it, and the case and letters of every script.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/unicode_case.h"
#include "text/utf8.h"

namespace cq {
namespace {

TEST(Utf8, CharactersBackAndForthAndInUtf16Units) {
  const std::string text = "aé日😀";  // 1, 2, 3 and 4 bytes; 1, 1, 1 and 2 units
  std::vector<char32_t> codePoints;
  for (std::size_t at = 0; at < text.size();) codePoints.push_back(utf8::next(text, at));
  EXPECT_EQ(codePoints, (std::vector<char32_t>{U'a', U'é', U'日', U'😀'}));
  EXPECT_EQ(utf8::previous(text, text.size()), U'😀');
  EXPECT_EQ(utf8::previousStart(text, 6), 3u);  // before 日
  EXPECT_EQ(utf8::utf16Length(text), 5u);
  for (const auto& [units, offset] : std::vector<std::pair<std::size_t, std::size_t>>{
           {0, 0}, {1, 1}, {2, 3}, {3, 6}, {4, 10}, {5, 10}, {9, 10}})
    EXPECT_EQ(utf8::offsetOfUtf16(text, units), offset) << units;  // inside the surrogate pair: after it
  // A byte of no valid sequence is one character of its own, one unit.
  const std::string broken = "a\xC3" "b\xE2\x82";
  EXPECT_FALSE(utf8::isValid(broken));
  EXPECT_EQ(utf8::utf16Length(broken), 5u);
  EXPECT_EQ(utf8::previous(broken, 2), utf8::kInvalid);
  EXPECT_EQ(utf8::previousStart(broken, 2), 1u);
  std::string encoded;
  for (const char32_t c : codePoints) utf8::append(encoded, c);
  EXPECT_EQ(encoded, text);
}

TEST(UnicodeCase, FoldsEveryScriptAndOrdersLikeTheFoldedText) {
  EXPECT_EQ(foldCase("ÄÖÜ ЦВЕТ ΟΔΟΣ ŁÓDŹ Ǆ"), "äöü цвет οδοσ łódź ǆ");
  EXPECT_EQ(foldCase("Straße ẞ"), "straße ß");  // no "ss": one character stays one character
  EXPECT_EQ(foldCase("\u212A"), "k");           // the Kelvin sign is shorter folded
  EXPECT_EQ(foldCase("日本語 a\xFF"), "日本語 a\xFF");
  EXPECT_TRUE(equalsIgnoringCase("ЦветТекста", "цветтекста"));
  EXPECT_TRUE(equalsIgnoringCase("ς", "Σ"));
  EXPECT_FALSE(equalsIgnoringCase("Foo", "Fooé"));
  // The order the code database sorts names in.
  EXPECT_LT(compareIgnoringCase("apfel", "Birne"), 0);
  EXPECT_EQ(compareIgnoringCase("МОДУЛЬ", "модуль"), 0);
  EXPECT_LT(compareIgnoringCase("Модуль1", "модуль2"), 0);
  EXPECT_LT(compareIgnoringCase("Zebra", "Äpfel"), 0);  // code point order: Ä after Z
  EXPECT_LT(compareIgnoringCase("ab", "abc"), 0);
  EXPECT_GT(compareIgnoringCase("a\xFF", "a日"), 0);  // a byte of no sequence after every character
}

TEST(UnicodeCase, IdentifierRunsTakeLettersMarksAndDigitsOfEveryScript) {
  const std::string code = "x = ЦветТекста_2(ячейка) + สวัสดี + 日付。";
  const auto runAt = [&](std::string_view word) {
    const std::size_t at = code.find(word);
    return code.substr(at, identifierRunEnd(code, at) - at);
  };
  EXPECT_EQ(runAt("Цвет"), "ЦветТекста_2");
  EXPECT_EQ(runAt("ячейка"), "ячейка");
  EXPECT_EQ(runAt("ส"), "สวัสดี");  // Thai vowel signs are marks inside the word
  EXPECT_EQ(runAt("日付"), "日付");  // the ideographic full stop ends it
  EXPECT_EQ(identifierRunEnd(code, code.find('=')), code.find('='));
  EXPECT_TRUE(identifierCharacterBefore(code, code.find('(')));
  EXPECT_FALSE(identifierCharacterAt(code, code.find('(')));
  EXPECT_FALSE(identifierCharacterAt(code, code.size()));
  EXPECT_FALSE(identifierCharacterBefore(code, 0));
}

}  // namespace
}  // namespace cq
