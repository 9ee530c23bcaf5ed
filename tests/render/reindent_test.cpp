// Re-indentation from the block statements: one tab per level, single-line Ifs,
// continuations, comments after Then, and depth that runs negative.
#include "render/reindent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cq {
namespace {

// Joins lines with CR LF and ends the text with CR LF, as the mark-up hands it over.
std::string text(const std::vector<std::string>& lines) {
  std::string joined;
  for (const auto& line : lines) joined += line + "\r\n";
  return joined;
}

TEST(Reindent, BlocksGetOneTabPerLevel) {
  EXPECT_EQ(reindent(text({"Sub A()", "  For i = 1 To 3", "x = i", "    Next i", "Select Case x", "Case 1",
                           "y = 1", "Case Else", "y = 2", "End Select", "With Me", "  .Caption = \"\"",
                           "End With ' fertig", "Do While x", "Loop", "End Sub"})),
            text({"Sub A()", "For i = 1 To 3", "\tx = i", "Next i", "Select Case x", "\tCase 1", "\t\ty = 1",
                  "\tCase Else", "\t\ty = 2", "End Select", "With Me", "\t.Caption = \"\"", "End With ' fertig",
                  "Do While x", "Loop", "End Sub"}));
}

TEST(Reindent, SingleLineIfsAndContinuations) {
  EXPECT_EQ(reindent(text({"If a Then b = 1", "If a Then", "c = 1", "Else", "c = 2", "End If",
                           "If a And _", "   b Then", "d = 1", "End If", "If a Then ' kommentar", "e = 1",
                           "End If", "If a Then x = \"'\" ' kommentar", "f = 1", "x = Foo(1, _", "2, _", "3)",
                           "ElseIf b Then"})),
            text({"If a Then b = 1", "If a Then", "\tc = 1", "Else", "\tc = 2", "End If", "If a And _",
                  "\t\tb Then", "\td = 1", "End If", "If a Then ' kommentar", "\te = 1", "End If",
                  "If a Then x = \"'\" ' kommentar", "f = 1", "x = Foo(1, _", "\t2, _", "\t3)", "ElseIf b Then"}));
  // The continuation of a block If's header lies one deeper than its body; a
  // single-line If continued over two lines changes nothing.
  EXPECT_EQ(reindent(text({"For i = 1 To 2", "If i = 1 Then _", "   x = 1", "Next"})),
            text({"For i = 1 To 2", "\tIf i = 1 Then _", "\t\tx = 1", "Next"}));
}

// "Type" opens a block even as the start of a longer word; For, Do need the blank.
TEST(Reindent, BlankLinesTabsAndWordsThatOnlyStartLikeKeywords) {
  EXPECT_EQ(reindent("\r\n   \r\n\tx = 1\r\nTypeName(x)\r\ny = 1\r\nForm1.Show\r\nDoEvents\r\n"),
            "\r\n\r\nx = 1\r\nTypeName(x)\r\n\ty = 1\r\n\tForm1.Show\r\n\tDoEvents\r\n");
  EXPECT_EQ(reindent(text({"Public Type Punkt", "x As Long", "End Type", "Private Type P2", "y As Long",
                           "End Type", "While x", "Wend"})),
            text({"Public Type Punkt", "\tx As Long", "End Type", "Private Type P2", "\ty As Long", "End Type",
                  "While x", "Wend"}));
}

TEST(Reindent, ClosersWithoutOpenersRunNegativeUntilARoutineEnds) {
  EXPECT_EQ(reindent(text({"End If", "Next", "For i = 1 To 2", "x = 1", "End Sub", "For j = 1 To 2",
                           "y = 1"})),
            text({"End If", "Next", "For i = 1 To 2", "x = 1", "End Sub", "For j = 1 To 2", "\ty = 1"}));
  IndentState state;
  classifyBlockLine("End Select", state);
  EXPECT_EQ(state.depth, -2);
  classifyBlockLine("End Function", state);
  EXPECT_EQ(state.depth, 0);
  classifyBlockLine("Select Case x", state);
  EXPECT_EQ(state.depth, 2);
  EXPECT_EQ(state.offset, 2);
  classifyBlockLine("Else", state);
  EXPECT_EQ(state.offset, 1);
  classifyBlockLine("Else x = 1", state);  // Else with more on the line is no block line
  EXPECT_EQ(state.offset, 0);
}

TEST(Reindent, HostileNestingIsBounded) {
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "For i = 1 To 2\r\n";
  const std::string out = reindent(deep + "x = 1\r\n");
  const std::size_t last = out.rfind("x = 1");
  ASSERT_NE(last, std::string::npos);
  EXPECT_EQ(out.substr(last - 100, 100), std::string(100, '\t'));
  EXPECT_LT(out.size(), deep.size() + 5000u * 101u);
}

}  // namespace
}  // namespace cq
