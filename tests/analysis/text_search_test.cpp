// The text search: case folding for every script, whole words, the
// offset-1 rule, and the order in which a project search visits the modules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/text_search.h"
#include "text/utf8.h"

namespace cq {
namespace {

using Hits = std::vector<std::size_t>;

Hits hits(std::string_view text, std::string_view needle, bool wholeWord = false) {
  return TextSearch(needle, wholeWord).allHits(text);
}

// The hits as character positions (the search gives byte offsets of the UTF-8 text).
Hits characterHits(std::string_view text, std::string_view needle, bool wholeWord = false) {
  Hits characters;
  for (const std::size_t offset : hits(text, needle, wholeWord)) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < offset; ++count) utf8::next(text, at);
    characters.push_back(count);
  }
  return characters;
}

TEST(TextSearch, CaseNeverMattersForTheLettersOfAnyScript) {
  EXPECT_EQ(characterHits(" Dim x", "dim"), Hits{1});
  EXPECT_EQ(characterHits(" Änderung änderung", "änderung"), (Hits{1, 10}));  // ä finds Ä
  EXPECT_EQ(characterHits(" ÖL öl", "ÖL"), (Hits{1, 4}));                     // Ö and ö
  EXPECT_EQ(characterHits(" Šš Éé Ÿÿ", "šŠ"), Hits{1});        // Š and š
  EXPECT_EQ(characterHits(" Šš Éé Ÿÿ", "éÉ"), Hits{4});        // É and é
  EXPECT_EQ(characterHits(" Šš Éé Ÿÿ", "ÿÿ"), Hits{7});        // Ÿ and ÿ
  EXPECT_EQ(characterHits(" Größ"
                 "e GRÖß"
                 "E",
                 "grÖß"
                 "e"),
            (Hits{1, 7}));
  // Signs that only look like a pair are no letters: × does not find ÷, ß no "SS".
  EXPECT_EQ(characterHits(" × ÷", "÷"), Hits{3});
  EXPECT_EQ(characterHits(" Straß"
                 "e STRASSE",
                 "straß"
                 "e"),
            Hits{1});
  // Cyrillic, Greek (final sigma folds with sigma), Polish; the Kelvin sign folds to a shorter k.
  EXPECT_EQ(characterHits(" ЦВЕТ цвет Цвет", "цВЕт"), (Hits{1, 6, 11}));
  EXPECT_EQ(characterHits(" ΟΔΟΣ οδος", "οδοσ"), (Hits{1, 6}));
  EXPECT_EQ(characterHits(" ŁÓDŹ łódź", "łódź"), (Hits{1, 6}));
  EXPECT_EQ(characterHits(" \u212Aelvin kELVIN", "kelvin"), (Hits{1, 8}));
  EXPECT_EQ(hits(" \u212Aelvin", "kelvin"), Hits{1});  // the byte offset of the three-byte sign
  // The long s folds to "s"; a needle without "k" or "s" passes the signs by.
  EXPECT_EQ(characterHits(" \u017Fum SUM", "sum"), (Hits{1, 5}));
  EXPECT_EQ(characterHits(" \u212A \u017F Dim dIM", "dim"), (Hits{5, 9}));
  EXPECT_EQ(TextSearch("sum", false).find(" \u017Fum", 1), 1u);
  // Japanese has no case: every character finds only itself.
  EXPECT_EQ(characterHits(" 日付を取得 日付", "日付"), (Hits{1, 7}));
}

TEST(TextSearch, HitAtTheFirstCharacterIsSkippedAndHitsMayOverlap) {
  EXPECT_EQ(hits("Name Name", "name"), Hits{5});
  EXPECT_EQ(TextSearch("name", false).find("Name Name", 0), 0u);  // only a search from 0 sees it
  EXPECT_EQ(hits("aaaa", "aa"), (Hits{1, 2}));                    // each next one from one after the last
  EXPECT_TRUE(hits("", "x").empty());
  EXPECT_TRUE(hits("x", "x").empty());
  EXPECT_TRUE(TextSearch("", false).empty());
  EXPECT_TRUE(hits(" abc", "").empty());
  EXPECT_EQ(TextSearch("b", false).find("ab", 5), std::string_view::npos);
}

TEST(TextSearch, WholeWordRejectsLettersDigitsAndUnderscoreBesideTheHit) {
  const std::string text = " Name Namen mName Name_1 Name1 (Name) x.Name ÉName Nameé Name";
  Hits expected;
  for (const std::string_view word : {"(Name)", "x.Name"})
    expected.push_back(text.find(word) + (word[0] == '(' ? 1 : 2));
  expected.insert(expected.begin(), 1);
  expected.push_back(text.size() - 4);  // at the very end, with nothing after it
  EXPECT_EQ(hits(text, "name", true), expected);
  EXPECT_EQ(hits(text, "name").size(), 10u);
  // The letters of every script count as letters: Größe is no whole word in Größere, nor Цвет in Цвета.
  EXPECT_EQ(characterHits(" Цвета Цвет", "цвет", true), Hits{7});
  EXPECT_EQ(characterHits(" Größ"
                 "ere Größ"
                 "e",
                 "größ"
                 "e",
                 true),
            Hits{9});
}

TEST(TextSearch, ProjectSearchVisitsModulesInOrderAndWrapsAroundOnGoing) {
  // Module 2 starts with the word, which a search from the beginning never sees.
  const std::vector<std::string> texts = {"x Alpha Alpha", "Beta", "Alpha x", " beta alpha"};
  const ModuleTextOf textOf = [&](int module) { return texts.at(static_cast<std::size_t>(module - 1)); };
  const TextSearch alpha("alpha", false);
  using Hit = std::pair<int, std::size_t>;
  const auto pairOf = [](const std::optional<SearchHit>& hit) {
    return hit ? Hit{hit->module, hit->offset} : Hit{0, 0};
  };

  EXPECT_EQ(pairOf(findFirstInProject(alpha, 4, textOf)), Hit(1, 2));
  EXPECT_EQ(pairOf(findFirstInProject(TextSearch("beta", false), 4, textOf)), Hit(4, 1));
  EXPECT_FALSE(findFirstInProject(TextSearch("gamma", false), 4, textOf));

  // Walking on from each hit: module 1 twice, module 3's first character is
  // never a hit, module 4, then around to module 1 again.
  std::vector<Hit> walk;
  SearchHit at{1, 2};
  for (int step = 0; step < 4; ++step) {
    const auto next = findNextInProject(alpha, 4, at.module, at.offset + 1, textOf);
    ASSERT_TRUE(next);
    walk.push_back(pairOf(next));
    at = *next;
  }
  EXPECT_EQ(walk, (std::vector<Hit>{{1, 8}, {4, 6}, {1, 2}, {1, 8}}));
  // The only hit lies before the caret in the current module: found after going round.
  EXPECT_EQ(pairOf(findNextInProject(TextSearch("beta", false), 4, 4, 3, textOf)), Hit(4, 1));
  EXPECT_FALSE(findNextInProject(TextSearch("gamma", false), 4, 2, 1, textOf));
  EXPECT_FALSE(findNextInProject(alpha, 0, 1, 1, textOf));
}

}  // namespace
}  // namespace cq
