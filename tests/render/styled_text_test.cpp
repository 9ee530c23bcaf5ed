#include "render/styled_text.h"

#include <gtest/gtest.h>

#include <cctype>
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

namespace cq {
namespace {

struct ShownChar {
  char c;
  int colour;
  bool bold;
  bool operator==(const ShownChar&) const = default;
};

// What a rich-text reader shows for an RTF body: characters with colour index and weight.
std::vector<ShownChar> readRtfBody(std::string_view rtf) {
  std::vector<ShownChar> shown;
  int colour = 0;
  bool bold = false;
  for (std::size_t i = 0; i < rtf.size();) {
    if (rtf[i] == '{' || rtf[i] == '}') {
      ADD_FAILURE() << "unescaped brace at " << i;
      return shown;
    }
    const bool escaped = rtf[i] == '\\' && i + 1 < rtf.size() &&
                         std::string_view("\\{}").find(rtf[i + 1]) != std::string_view::npos;
    if (static_cast<unsigned char>(rtf[i]) >= 0x80) {  // a Windows-1252 byte: the UTF-8 of its character
      for (const char c : windows1252ToUtf8(rtf.substr(i, 1))) shown.push_back({c, colour, bold});
      ++i;
      continue;
    }
    if (rtf[i] != '\\' || escaped) {
      shown.push_back({rtf[i + (escaped ? 1 : 0)], colour, bold});
      i += escaped ? 2 : 1;
      continue;
    }
    std::size_t j = i + 1;
    while (j < rtf.size() && std::islower(static_cast<unsigned char>(rtf[j]))) ++j;
    const std::string word(rtf.substr(i + 1, j - i - 1));
    const std::size_t digits = j;
    while (j < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[j]))) ++j;
    const std::string number(rtf.substr(digits, j - digits));
    if (j < rtf.size() && rtf[j] == ' ') ++j;
    if (word == "u") {  // \uN? where the digits may carry a sign
      std::size_t end = i + 2;
      const int unit = std::stoi(std::string(rtf.substr(end, rtf.find('?', end) - end)));
      std::string character;
      utf8::append(character, static_cast<char16_t>(unit));
      for (const char c : character) shown.push_back({c, colour, bold});
      i = rtf.find('?', end) + 1;
      continue;
    }
    if (word == "cf") colour = std::stoi(number);
    else if (word == "b") bold = number != "0";
    else if (word == "tab") shown.push_back({'\t', colour, bold});
    else if (word != "par") {
      ADD_FAILURE() << "unexpected control word \\" << word << number;
      return shown;
    }
    i = j;
  }
  return shown;
}

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
