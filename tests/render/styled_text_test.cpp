#include "render/styled_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "text/markers.h"
#include "text/text_decoding.h"
#include "text/utf8.h"
#include "render/html.h"
#include "render/render_options.h"
#include "render/rtf.h"
#include "render/sample_marked_module.h"
#include "support/rtf_reader.h"

namespace cq {
namespace {

using test::ShownChar;
using test::readRtfBody;

// Decodes the marked text and checks it shows exactly what the RTF of the same text shows.
StyledText expectDecodesAsRtfShows(const std::string& marked, bool boldLines) {
  const StyledText styled = decodeMarkedText(marked, boldLines);
  std::vector<ShownChar> shown;
  for (const char c : styled.text) shown.push_back({c, kPlainColour, false});
  std::size_t previousEnd = 0;
  for (const StyleRun& run : styled.runs) {
    EXPECT_GE(run.start, previousEnd);
    EXPECT_GT(run.length, 0u);
    EXPECT_TRUE(run.colour != kPlainColour || run.bold);
    if (run.start + run.length > shown.size()) {
      ADD_FAILURE() << "run beyond the text";
      break;
    }
    for (std::size_t k = run.start; k < run.start + run.length; ++k) shown[k] = {shown[k].c, run.colour, run.bold};
    previousEnd = run.start + run.length;
  }
  RenderOptions options;
  options.boldRoutineLines = boldLines;
  EXPECT_TRUE(readRtfBody(markedToRtf(marked, options)) == shown)
      << "marked text of " << marked.size() << " bytes, bold lines " << boldLines;
  // Rendering the decoded text again (a copy from a view) shows the same.
  EXPECT_TRUE(readRtfBody(styledToRtf(styled, 1252)) == shown) << "styled text of " << styled.text.size() << " bytes";
  if (boldLines) {
    EXPECT_EQ(plainTextOfMarked(marked), styled.text);
  }
  return styled;
}

TEST(StyledText, SampleModuleDecodesAsTheRtfShowsIt) {
  const std::string marked = test::sampleMarkedModule();
  const std::string text = expectDecodesAsRtfShows(marked, true).text;
  EXPECT_EQ(text.find(markers::kChar), std::string::npos);
  EXPECT_EQ(text.rfind("\r\nOption Explicit\r\n\r\n' Größe & Breite: {Maße} in C:\\Temp\r\n", 0), 0u);
  EXPECT_EQ(expectDecodesAsRtfShows(marked, false).text, text);
}

// A marker inside another, once read, must not join the remaining bytes into a new one.
TEST(StyledText, ReplacedMarkersNeverFormNewOnes) {
  const std::string end(markers::kEnd), boldStart(markers::kBold), comment(markers::kComment);
  const struct { std::string marked; bool boldLines; std::string text; } cases[] = {
      {"|Ÿ" + end + "k|x", true, "|Ÿk|x"},             // the rest spells a comment marker
      {"|y" + boldStart + "Ÿ|x", true, "|yŸ|x"},        // opens bold text
      {"|y" + boldStart + "Ÿ|x", false, "x"},              // dropped: the joined bytes close a bold line
      {comment + "nŸ|a", true, "|Ÿka"},                // overlapping: the one replaced first wins
      {"", true, ""}};
  for (const auto& c : cases) EXPECT_EQ(expectDecodesAsRtfShows(c.marked, c.boldLines).text, c.text) << c.text;
}

TEST(StyledText, RandomMarkerSoupDecodesAsTheRtfShowsIt) {
  std::vector<std::string> pieces = {"|", "Ÿ", "n", "k", "f", "s", "x", "y", "|n", "|y", "\\", "{", "}",
      "\t", "\r\n", "\r", "a", " ", "Sub", "ä"};
  for (auto m : {markers::kEnd, markers::kComment, markers::kKeyword, markers::kString, markers::kBold,
                 markers::kBoldEnd, markers::kSpace})
    pieces.emplace_back(m);
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 40);
  for (int round = 0; round < 3000 && !HasFailure(); ++round) {
    std::string marked;
    for (int n = length(random); n > 0; --n) marked += pieces[pick(random)];
    expectDecodesAsRtfShows(marked, round % 2 == 0);
  }
}

TEST(StyledText, HtmlOfAStretchClosesEveryRun) {
  StyledText styled;
  styled.text = "Sub x\r\n' a<b\r\ny";
  styled.runs = {{0, 3, kKeywordColour, true}, {3, 2, kPlainColour, true}, {7, 5, kCommentColour, false}};
  EXPECT_EQ(styledToHtml(styled, RenderOptions{}),
            "<pre><span style=\"font-family:MS Sans Serif,Arial; font-size:10pt\"; >"
            "<b><span style=\"color:#000080\"; >Sub</span> x</b>\r\n"
            "<span style=\"color:#008000\"; >' a&lt;b</span>\r\ny</span></pre>");
}

}  // namespace
}  // namespace cq
