// The line difference against a plain longest-common-subsequence count, its
// unified hunks, the cut into routines and the comparison of two projects.
#include <gtest/gtest.h>

#include <random>

#include "compare/line_diff.h"
#include "compare/project_comparison.h"
#include "compare/routine_pieces.h"

namespace cq {
namespace {

std::size_t longestCommonSubsequence(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b) {
  std::vector<std::vector<std::size_t>> table(a.size() + 1, std::vector<std::size_t>(b.size() + 1, 0));
  for (std::size_t i = 1; i <= a.size(); ++i)
    for (std::size_t j = 1; j <= b.size(); ++j)
      table[i][j] = a[i - 1] == b[j - 1] ? table[i - 1][j - 1] + 1 : std::max(table[i - 1][j], table[i][j - 1]);
  return table[a.size()][b.size()];
}

TEST(LineDiff, EditsAreShortestAndRebuildBothTexts) {
  std::mt19937 random(19);
  const std::vector<std::string_view> alphabet = {"a", "b", "c", "d", "End Sub", ""};
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string_view> older(random() % 14);
    std::vector<std::string_view> newer(random() % 14);
    for (auto& line : older) line = alphabet[random() % alphabet.size()];
    for (auto& line : newer) line = alphabet[random() % alphabet.size()];
    std::vector<std::string_view> rebuiltOld;
    std::vector<std::string_view> rebuiltNew;
    std::size_t changed = 0;
    for (const LineEdit& edit : diffLines(older, newer)) {
      if (edit.kind != LineEditKind::kAdded) rebuiltOld.push_back(older.at(edit.oldLine));
      if (edit.kind != LineEditKind::kRemoved) rebuiltNew.push_back(newer.at(edit.newLine));
      if (edit.kind == LineEditKind::kSame) {
        EXPECT_EQ(older[edit.oldLine], newer[edit.newLine]);
      }
      changed += edit.kind == LineEditKind::kSame ? 0 : 1;
    }
    EXPECT_EQ(rebuiltOld, older);
    EXPECT_EQ(rebuiltNew, newer);
    EXPECT_EQ(changed, older.size() + newer.size() - 2 * longestCommonSubsequence(older, newer)) << round;
  }
}

TEST(LineDiff, HunksShowContextMergeCloseChangesAndCountFromTheGivenLine) {
  const auto older = splitLines("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n13\r\n14\r\n15\r\n16\r\n");
  auto newer = older;
  newer[1] = "zwei";
  newer[7] = "acht";  // five unchanged lines between: one hunk
  newer.erase(newer.begin() + 15);  // eight unchanged lines before: a hunk of its own
  EXPECT_EQ(unifiedHunks(older, newer, diffLines(older, newer), 11, 21),
            "@@ -11,11 +21,11 @@\n 1\n-2\n+zwei\n 3\n 4\n 5\n 6\n 7\n-8\n+acht\n 9\n 10\n 11\n"
            "@@ -23,4 +33,3 @@\n 13\n 14\n 15\n-16\n");
  const std::vector<std::string_view> none;
  EXPECT_EQ(unifiedHunks(none, {"neu"}, diffLines(none, {"neu"})), "@@ -0,0 +1,1 @@\n+neu\n");
  EXPECT_EQ(unifiedHunks(older, older, diffLines(older, older)), "");
  EXPECT_EQ(splitLines("a\nb\rc\r\n\r\n"), (std::vector<std::string_view>{"a", "b", "c", ""}));
}

TEST(RoutinePieces, CutsDeclarationsAndRoutinesByTheScannerRules) {
  const std::string code =
      "Option Explicit\r\nPrivate Declare PtrSafe Function Tick Lib \"k\" () As Long\r\n\r\n"
      "' Rechnet.\r\nPublic Function Rechne(ByVal a As Long, _\r\n    ByVal b As Long) As Long\r\n"
      "  If a = 0 Then Exit Function\r\n  Rechne = a + b\r\nEnd Function\r\n\r\n"
      "Private Sub Kurz(): End Sub\r\n"
      "Property Get Wert() As Long\r\n  Wert = 1 ' End Property im Kommentar\r\nEnd Property\r\n"
      "Property Let Wert(v As Long)\r\nEnd Property\r\n"
      "Sub Sub_Name()\r\n  Debug.Print \"End Sub\"\r\nEnd Sub\r\nSub Sub_Name()\r\nEnd Sub\r\n\r\n";
  const std::vector<std::string_view> lines = splitLines(code);
  const std::vector<CodePiece> pieces = routinePieces(lines);
  std::vector<std::tuple<std::string, std::string, std::size_t, std::size_t>> seen;
  for (const CodePiece& piece : pieces) seen.emplace_back(piece.title, piece.key, piece.firstLine, piece.lineCount);
  const std::vector<std::tuple<std::string, std::string, std::size_t, std::size_t>> expected = {
      {"(Deklarationen)", "(deklarationen)", 0, 2}, {"Function Rechne", "function rechne", 3, 6},
      {"Sub Kurz", "sub kurz", 10, 1},             {"Property Get Wert", "property get wert", 11, 3},
      {"Property Let Wert", "property let wert", 14, 2}, {"Sub Sub_Name", "sub sub_name", 16, 3},
      {"Sub Sub_Name", "sub sub_name#2", 19, 2}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(routinePieces({}).size(), 1u);
}

ComparedModule module(std::string name, ModuleType type, std::string code, std::string attributes = {}) {
  return {std::move(name), type, std::move(attributes), std::move(code)};
}

const std::string kRoutines =
    "Option Explicit\r\n\r\nSub Eins()\r\n  x = 1\r\nEnd Sub\r\n\r\nSub Zwei()\r\n  x = 2\r\nEnd Sub\r\n\r\n"
    "Function Drei()\r\n  Drei = 3\r\nEnd Function\r\nSub Fuenf()\r\nEnd Sub\r\n";

TEST(ProjectComparison, FindsRenamesMovesWhitespaceAndRoutineChanges) {
  const ComparedProject older{"Alt", true, 0,
                              {module("Modul1", ModuleType::kStandardModule, kRoutines),
                               module("Hilfe", ModuleType::kStandardModule, "Sub H()\r\n  h = 1\r\n  h = 2\r\nEnd Sub\r\n"),
                               module("Weg", ModuleType::kClassModule, "Public Wert As Long\r\n"),
                               module("Gleich", ModuleType::kClassModule, "Dim a\r\n", "Attribute VB_Exposed = False\r\n")}};
  // Zwei moves behind Drei, Eins gains a line, Drei changes only blanks; Hilfe
  // is renamed with one line changed; Weg goes, Neu comes.
  const std::string moved =
      "Option Explicit\r\n\r\nSub Eins()\r\n  x = 1\r\n  y = 1\r\nEnd Sub\r\n\r\nFunction Drei()\r\n    Drei  =  3\r\n\r\n"
      "End Function\r\nSub Fuenf()\r\nEnd Sub\r\n\r\nSub Zwei()\r\n  x = 2\r\nEnd Sub\r\n\r\nSub Vier()\r\nEnd Sub\r\n";
  const ComparedProject newer{"Neu", true, 0,
                              {module("Modul1", ModuleType::kStandardModule, moved),
                               module("Gleich", ModuleType::kClassModule, "Dim a\r\n", "Attribute VB_Exposed = True\r\n"),
                               module("Hilfen", ModuleType::kStandardModule, "Sub H()\r\n  h = 1\r\n  h = 3\r\nEnd Sub\r\n"),
                               module("Neu", ModuleType::kClassModule, "Sub N()\r\nEnd Sub\r\n")}};
  const ProjectComparison comparison = compareProjects(older, newer);
  ASSERT_EQ(comparison.modules.size(), 5u);
  const ModuleChange& changed = comparison.modules[0];
  EXPECT_EQ(changed.change, Change::kChanged);
  std::vector<std::tuple<Change, std::string, bool>> pieces;
  for (const PieceChange& piece : changed.pieces) pieces.emplace_back(piece.change, piece.title, piece.whitespaceOnly);
  EXPECT_EQ(pieces, (std::vector<std::tuple<Change, std::string, bool>>{{Change::kChanged, "Sub Eins", false},
                                                                       {Change::kChanged, "Function Drei", true},
                                                                       {Change::kMoved, "Sub Zwei", false},
                                                                       {Change::kAdded, "Sub Vier", false}}));
  EXPECT_EQ(changed.pieces[0].hunks, "@@ -3,3 +3,4 @@\n Sub Eins()\n   x = 1\n+  y = 1\n End Sub\n");
  EXPECT_EQ(changed.pieces[3].newCode, "Sub Vier()\r\nEnd Sub\r\n");

  const ModuleChange& attributes = comparison.modules[1];
  ASSERT_EQ(attributes.pieces.size(), 1u);
  EXPECT_EQ(attributes.pieces[0].title, kAttributesTitle);
  EXPECT_EQ(attributes.pieces[0].hunks, "@@ -1,1 +1,1 @@\n-Attribute VB_Exposed = False\n+Attribute VB_Exposed = True\n");

  EXPECT_EQ(comparison.modules[2].change, Change::kRenamed);
  EXPECT_EQ(comparison.modules[2].oldName, "Hilfe");
  ASSERT_EQ(comparison.modules[2].pieces.size(), 1u);
  EXPECT_EQ(comparison.modules[3].change, Change::kAdded);
  EXPECT_EQ(comparison.modules[3].newName, "Neu");  // a class too, but too little alike to be Weg renamed
  EXPECT_EQ(comparison.modules[4].change, Change::kRemoved);
  EXPECT_EQ(comparison.modules[4].oldName, "Weg");

  // Without attribute lines on one side (a project folder) they do not count;
  // names match ignoring case, and only a whitespace change marks the module so.
  ComparedProject folder = newer;
  folder.keepsAttributes = false;
  folder.modules[1].name = "GLEICH";
  folder.modules[1].attributes.clear();
  const ProjectComparison withFolder = compareProjects(older, folder);
  EXPECT_EQ(withFolder.modules.size(), 5u);
  EXPECT_EQ(withFolder.modules[1].change, Change::kRenamed);
  EXPECT_TRUE(withFolder.modules[1].pieces.empty());
  EXPECT_TRUE(compareProjects(older, older).equal());
  ComparedProject blanks = older;
  blanks.modules[1].code = "Sub H()\r\n  h = 1\r\n\r\n  h  = 2\r\nEnd Sub\r\n";
  const ProjectComparison whitespace = compareProjects(older, blanks);
  ASSERT_EQ(whitespace.modules.size(), 1u);
  EXPECT_TRUE(whitespace.modules[0].whitespaceOnly);
}

}  // namespace
}  // namespace cq
