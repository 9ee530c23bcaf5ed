#include "render/styled_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "render/markers.h"
#include "render/render_options.h"
#include "render/rtf.h"
#include "render/sample_marked_module.h"

namespace cq {
namespace {

using test::boldLine;
using test::comment;
using test::keyword;
using test::literal;

struct ShownChar {
  char c;
  int colour;
  bool bold;
  bool operator==(const ShownChar&) const = default;
};

// What a rich-text reader shows for an RTF body: characters with their colour
// index and weight. Raw CR LF are kept (the body puts "\par" behind each), "\par" itself adds nothing.
std::vector<ShownChar> readRtfBody(std::string_view rtf) {
  std::vector<ShownChar> shown;
  int colour = 0;
  bool bold = false;
  for (std::size_t i = 0; i < rtf.size();) {
    const char c = rtf[i];
    if (c == '{' || c == '}') {
      ADD_FAILURE() << "unescaped brace at " << i;
      return shown;
    }
    if (c != '\\') {
      shown.push_back({c, colour, bold});
      ++i;
      continue;
    }
    if (i + 1 < rtf.size() && (rtf[i + 1] == '\\' || rtf[i + 1] == '{' || rtf[i + 1] == '}')) {
      shown.push_back({rtf[i + 1], colour, bold});
      i += 2;
      continue;
    }
    std::size_t j = i + 1;
    while (j < rtf.size() && std::islower(static_cast<unsigned char>(rtf[j]))) ++j;
    const std::string word(rtf.substr(i + 1, j - i - 1));
    const std::size_t digitsStart = j;
    while (j < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[j]))) ++j;
    const std::string digits(rtf.substr(digitsStart, j - digitsStart));
    if (j < rtf.size() && rtf[j] == ' ') ++j;
    if (word == "cf") {
      colour = std::stoi(digits);
    } else if (word == "b") {
      bold = digits != "0";
    } else if (word == "tab") {
      shown.push_back({'\t', colour, bold});
    } else if (word != "par") {
      ADD_FAILURE() << "unexpected control word \\" << word << digits;
      return shown;
    }
    i = j;
  }
  return shown;
}

std::vector<ShownChar> shownByDecoding(const StyledText& styled) {
  std::vector<ShownChar> shown;
  for (const char c : styled.text) shown.push_back({c, kPlainColour, false});
  std::size_t previousEnd = 0;
  for (const StyleRun& run : styled.runs) {
    EXPECT_GE(run.start, previousEnd);
    EXPECT_GT(run.length, 0u);
    EXPECT_TRUE(run.colour != kPlainColour || run.bold);
    EXPECT_LE(run.start + run.length, shown.size());
    if (run.start + run.length > shown.size()) break;
    for (std::size_t k = run.start; k < run.start + run.length; ++k) {
      shown[k].colour = run.colour;
      shown[k].bold = run.bold;
    }
    previousEnd = run.start + run.length;
  }
  return shown;
}

void expectDecodesAsRtfShows(const std::string& marked, bool boldRoutineLines) {
  RenderOptions options;
  options.boldRoutineLines = boldRoutineLines;
  const std::vector<ShownChar> byRtf = readRtfBody(markedToRtf(marked, options));
  const std::vector<ShownChar> byDecoding = shownByDecoding(decodeMarkedText(marked, boldRoutineLines));
  EXPECT_TRUE(byRtf == byDecoding) << "marked text of " << marked.size() << " bytes, bold lines "
                                   << boldRoutineLines;
}

std::size_t runStartingAt(const StyledText& styled, std::size_t position) {
  for (std::size_t i = 0; i < styled.runs.size(); ++i)
    if (styled.runs[i].start == position) return i;
  ADD_FAILURE() << "no run starts at " << position;
  return 0;
}

TEST(StyledText, SampleModuleDecodesToPlainTextAndRuns) {
  const std::string marked = test::sampleMarkedModule();
  const StyledText styled = decodeMarkedText(marked, true);
  EXPECT_EQ(styled.text.find(markers::kChar), std::string::npos);
  EXPECT_EQ(styled.text.rfind("\r\nOption Explicit\r\n\r\n' Gr\xF6\xDF" "e & Breite: {Ma\xDF" "e} in C:\\Temp\r\n", 0),
            0u);
  EXPECT_NE(styled.text.find("\r\n\t\tFl\xE4" "che = s & \"\"\"\"\r\n\tEnd If\r\nEnd Function\r\n"), std::string::npos);
  EXPECT_EQ(plainTextOfMarked(marked), styled.text);

  ASSERT_GE(styled.runs.size(), 2u);
  EXPECT_EQ(styled.runs[0].start, 2u);
  EXPECT_EQ(styled.runs[0].length, 6u);
  EXPECT_EQ(styled.runs[0].colour, kKeywordColour);
  EXPECT_FALSE(styled.runs[0].bold);
  EXPECT_EQ(styled.runs[1].start, 9u);
  EXPECT_EQ(styled.runs[1].colour, kKeywordColour);

  const std::size_t commentStart = styled.text.find("' Gr");
  const StyleRun& commentRun = styled.runs[runStartingAt(styled, commentStart)];
  EXPECT_EQ(commentRun.colour, kCommentColour);
  EXPECT_EQ(commentRun.length, std::string_view("' Gr\xF6\xDF" "e & Breite: {Ma\xDF" "e} in C:\\Temp").size());

  // The routine header is bold throughout, its plain parts included.
  const std::size_t header = styled.text.find("Private Function");
  const std::size_t headerEnd = styled.text.find("\r\n", header);
  std::size_t covered = 0;
  for (const StyleRun& run : styled.runs) {
    if (run.start < header || run.start >= headerEnd) continue;
    EXPECT_TRUE(run.bold);
    covered += run.length;
  }
  EXPECT_EQ(covered, headerEnd - header);
  const StyleRun& name = styled.runs[runStartingAt(styled, header + 16)];
  EXPECT_EQ(name.colour, kPlainColour);
  EXPECT_EQ(name.length, std::string_view(" Fl\xE4" "che(a ").size());

  const std::size_t literalStart = styled.text.find("\":\"");
  const StyleRun& literalRun = styled.runs[runStartingAt(styled, literalStart)];
  EXPECT_EQ(literalRun.colour, kStringColour);
  EXPECT_EQ(literalRun.length, 3u);

  const StyledText notBold = decodeMarkedText(marked, false);
  EXPECT_EQ(notBold.text, styled.text);
  for (const StyleRun& run : notBold.runs) EXPECT_FALSE(run.bold);

  expectDecodesAsRtfShows(marked, true);
  expectDecodesAsRtfShows(marked, false);
}

TEST(StyledText, ReplacedMarkersNeverFormNewOnes) {
  // The end marker sits inside a would-be comment marker; once it is read, the
  // remaining bytes spell a comment marker, which the RTF shows as plain text.
  const std::string hidden = "|\x9F" + std::string(markers::kEnd) + "k|x";
  const StyledText styled = decodeMarkedText(hidden, true);
  EXPECT_EQ(styled.text, "|\x9Fk|x");
  EXPECT_TRUE(styled.runs.empty());
  expectDecodesAsRtfShows(hidden, true);

  // A bold marker inside a would-be bold end marker: with bold lines on it opens
  // bold text; with them off the RTF drops it and the joined bytes close a bold line.
  const std::string inBoldEnd = "|y" + std::string(markers::kBold) + "\x9F|x";
  const StyledText bold = decodeMarkedText(inBoldEnd, true);
  EXPECT_EQ(bold.text, "|y\x9F|x");
  ASSERT_EQ(bold.runs.size(), 1u);
  EXPECT_EQ(bold.runs[0].start, 2u);
  EXPECT_EQ(bold.runs[0].length, 3u);
  EXPECT_TRUE(bold.runs[0].bold);
  EXPECT_EQ(decodeMarkedText(inBoldEnd, false).text, "x");
  expectDecodesAsRtfShows(inBoldEnd, true);
  expectDecodesAsRtfShows(inBoldEnd, false);

  // Overlapping markers: the one replaced first wins, as in the RTF.
  const std::string overlapping = std::string(markers::kComment) + "n\x9F|a";
  EXPECT_EQ(decodeMarkedText(overlapping, true).text, "|\x9Fka");
  expectDecodesAsRtfShows(overlapping, true);

  EXPECT_TRUE(decodeMarkedText("", true).text.empty());
  EXPECT_EQ(plainTextOfMarked(comment("'a") + keyword("Dim") + literal("\"s\"") + boldLine("b")), "'aDim\"s\"b");
}

TEST(StyledText, RandomMarkerSoupDecodesAsTheRtfShowsIt) {
  const std::vector<std::string> pieces = {
      std::string(markers::kEnd),  std::string(markers::kComment), std::string(markers::kKeyword),
      std::string(markers::kString), std::string(markers::kBold),  std::string(markers::kBoldEnd),
      std::string(markers::kSpace), "|", "\x9F", "n", "k", "f", "s", "x", "y", "|n", "|y", "\\", "{", "}",
      "\t", "\r\n", "\r", "a", " ", "Sub", "\xE4"};
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 40);
  for (int round = 0; round < 3000; ++round) {
    std::string marked;
    for (int n = length(random); n > 0; --n) marked += pieces[pick(random)];
    expectDecodesAsRtfShows(marked, round % 2 == 0);
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace cq
