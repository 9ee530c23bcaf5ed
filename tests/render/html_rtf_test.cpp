// The HTML and RTF renderings of marked-up text.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "render/html.h"
#include "text/markers.h"
#include "text/text_decoding.h"
#include "render/rtf.h"
#include "render/sample_marked_module.h"
#include "text/text_replace.h"
#include "support/golden.h"

namespace cq {
namespace {

using test::boldLine;
using test::comment;
using test::keyword;

const std::string kOpenPre = "<pre><span style=\"font-family:MS Sans Serif,Arial; font-size:10pt\"; >";
const std::string kClosePre = "</span></pre>";

RenderOptions withBoldLines(bool bold) {
  RenderOptions options;
  options.boldRoutineLines = bold;
  return options;
}

TEST(Rendering, SampleModuleMatchesGoldens) {
  const RenderOptions options;
  const std::string marked = test::sampleMarkedModule();
  EXPECT_TRUE(test::matchesGolden("module.html", markedToHtml(marked, options)));
  EXPECT_TRUE(test::matchesGolden("module.rtf", wrapRtfDocument(markedToRtf(marked, options), options)));
}

TEST(Rendering, ColoursSplitRedFromTheLowByte) {
  const struct {
    std::int32_t colour;
    const char *html, *rtf;
  } cases[] = {{8388608, "#000080", "\\red0\\green0\\blue128;"},
               {32768, "#008000", "\\red0\\green128\\blue0;"},
               {128, "#800000", "\\red128\\green0\\blue0;"},
               {0x123456, "#563412", "\\red86\\green52\\blue18;"},
               {0xFFFFFF, "#FFFFFF", "\\red255\\green255\\blue255;"},
               {0, "#000000", "\\red0\\green0\\blue0;"}};
  for (const auto& c : cases) {
    EXPECT_EQ(htmlColour(c.colour), c.html);
    EXPECT_EQ(rtfColourEntry(c.colour), c.rtf);
  }
  EXPECT_EQ(htmlColour(0xABCDEF), "#EFCDAB") << "upper-case hex digits";
}

TEST(Rendering, FontNamesAreEscapedWhereTheyStand) {
  RenderOptions options;
  options.fontName = "A\"B<C>&\\{ö}";
  // In the HTML the name stands inside a quoted style attribute.
  EXPECT_EQ(markedToHtml("x", options), "<pre><span style=\"font-family:A&#34;B&lt;C&gt;&#38;\\{&ouml;},Arial; "
                                        "font-size:10pt\"; >x</span></pre>");
  // In the RTF font table backslashes and braces are escaped and bytes beyond ASCII written as hex.
  EXPECT_NE(wrapRtfDocument("", options).find("{\\f3\\fswiss A\"B<C>&\\\\\\{\\'f6\\};}{\\f4"), std::string::npos)
      << wrapRtfDocument("", options);
  options.fontName = "Ä€ÿ";
  EXPECT_NE(wrapRtfDocument("", options).find("\\fswiss \\'c4\\'80\\'ff;}"), std::string::npos);
  options.fontName = "ＭＳ ゴシック";  // characters Windows-1252 does not hold
  EXPECT_NE(wrapRtfDocument("", options).find("\\fswiss \\u-211?\\u-205? \\u12468?\\u12471?\\u12483?\\u12463?;}"),
            std::string::npos)
      << wrapRtfDocument("", options);
  // A semicolon would end the font's entry early.
  options.fontName = "Mono;Sans";
  EXPECT_NE(wrapRtfDocument("", options).find("\\fswiss Mono\\'3bSans;}"), std::string::npos);
}

TEST(HtmlRendering, OnePassEscapeEqualsTheReplacementsInTableOrder) {
  const std::vector<std::pair<std::string, std::string>> table = {
      {"&", "&#38;"},   {"<", "&lt;"},     {">", "&gt;"},     {"ä", "&auml;"}, {"ö", "&ouml;"},
      {"ü", "&uuml;"}, {"Ä", "&Auml;"}, {"Ö", "&Ouml;"}, {"Ü", "&Uuml;"}, {"ß", "&szlig;"},
      {"\"", "&#34;"},  {":", "&#58;"},    {")", "&#41;"},    {"(", "&#40;"},    {"+", "&#43;"}};
  std::string everyByte;
  for (int round = 0; round < 2; ++round)
    for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
  everyByte += "&&#38;&lt;::((";
  std::string sequential = everyByte;
  for (const auto& [from, to] : table) sequential = replaceAll(sequential, from, to);
  EXPECT_EQ(escapeHtml(everyByte), sequential);
}

TEST(HtmlRendering, RunsBecomeColourSpansInsideOnePreBlock) {
  EXPECT_EQ(markedToHtml(boldLine(keyword("Sub") + " x"), {}),
            kOpenPre + "<b><span style=\"color:#000080\"; >Sub</span> x</b>" + kClosePre);
  RenderOptions options;
  options.fontName = "Courier New";
  options.fontSize = 9;
  options.commentColour = 0x0000FF;
  EXPECT_EQ(markedToHtml(comment("'x"), options),
            "<pre><span style=\"font-family:Courier New,Arial; font-size:9pt\"; >"
            "<span style=\"color:#FF0000\"; >'x</span></span></pre>");
}

// The fragment built by replacing one marker kind after another over the whole text.
std::string fragmentByReplacingInTurn(std::string_view marked, const RenderOptions& options) {
  const auto span = [](std::int32_t colour) { return "<span style=\"color:" + htmlColour(colour) + "\"; >"; };
  std::string text = escapeHtml(marked);
  text = replaceAll(text, markers::kEnd, "</span>");
  text = replaceAll(text, markers::kComment, span(options.commentColour));
  text = replaceAll(text, markers::kKeyword, span(options.keywordColour));
  text = replaceAll(text, markers::kString, span(options.stringColour));
  text = replaceAll(text, markers::kBold, options.boldRoutineLines ? "<b>" : "");
  text = replaceAll(text, markers::kBoldEnd, options.boldRoutineLines ? "</b>" : "");
  std::string fragment = markedToHtml("", options);
  return fragment.insert(fragment.size() - kClosePre.size(), text);
}

// Random texts of code, markers, pieces of markers and line ends; the second
// half also holds stray marker characters and broken markers.
std::vector<std::string> markerSoup() {
  std::vector<std::string> pieces = {"|", "n", "k", "y", "x", "&", "<", "ä", "\t", "\r\n", "\r", "\n",
                                     "\\", "{", "}", "Sub", " "};
  for (auto m : {markers::kEnd, markers::kComment, markers::kKeyword, markers::kString, markers::kBold,
                 markers::kBoldEnd})
    pieces.emplace_back(m);
  std::vector<std::string> texts;
  std::mt19937 random(7);
  for (const bool malformed : {false, true}) {
    if (malformed) pieces.insert(pieces.end(), {"Ÿ", "|n", "|y", "Ÿ|", "Ÿ|?"});
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    for (int round = 0; round < 2000; ++round) {
      std::string marked;
      for (int n = round % 37; n > 0; --n) marked += pieces[pick(random)];
      texts.push_back(std::move(marked));
    }
  }
  return texts;
}

TEST(HtmlRendering, MarkersResolveAsWhenReplacedInTurn) {
  int round = 0;
  for (const std::string& marked : markerSoup()) {
    const RenderOptions options = withBoldLines(++round % 3 != 0);
    ASSERT_EQ(markedToHtml(marked, options), fragmentByReplacingInTurn(marked, options)) << round;
  }
  // Overlaps: the end marker is replaced before the comment marker it shares a "|" with,
  // and a removed bold marker can join its neighbours into a bold end marker.
  const RenderOptions notBold = withBoldLines(false);
  EXPECT_EQ(markedToHtml(std::string(markers::kComment) + "nŸ|", notBold),
            kOpenPre + "|Ÿk</span>" + kClosePre);
  EXPECT_EQ(markedToHtml("|y" + std::string(markers::kBold) + "Ÿ|", notBold), kOpenPre + kClosePre);
}

TEST(HtmlRendering, CreditLineAndPreviewPage) {
  EXPECT_EQ(htmlCreditLine("Access", kProgramWebAddress),
            "<span style=\" font-weight:bold;\"> Code eingef&uuml;gt mit: </span> "
            "<a style =\"color:#ffff00; background-color:#000080; font-weight:bold;\" "
            "href=\"https://codequorix.example.org/\" target=\"blank\">Access Code Quorix</a>");
  EXPECT_EQ(htmlPreviewPage("Access", "<pre>€ café</pre>"),
            "<HTML><HEAD><meta charset=\"utf-8\"><TITLE>Access Code Quorix</TITLE></HEAD><BODY>"
            "<pre>\xE2\x82\xAC caf\xC3\xA9</pre></Body></HTML>");
}

TEST(RtfRendering, HeaderCarriesFontColoursTabsAndSize) {
  RenderOptions options;
  options.fontName = "Courier New";
  options.fontSize = 12;
  options.tabWidthMm = 3;  // 170.1 twips per stop, cut to 170
  options.keywordColour = 0xFF;
  const std::string doc = wrapRtfDocument("X", options);
  // Only the code font changes.
  EXPECT_NE(doc.find("{\\f0\\fswiss MS Sans Serif;}\r\n{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss MS Sans Serif;}"
                     "{\\f3\\fswiss Courier New;}{\\f4"),
            std::string::npos);
  EXPECT_NE(doc.find("\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;"), std::string::npos);
  EXPECT_NE(doc.find("\\li105\\tx170\\tx340\\tx510\\tx680\\tx850\\tx1020\\tx1190\\tx1360\\tx1530\\tx1700\\plain"
                     "\\f3\\fs24 X}"),
            std::string::npos);
  options.tabWidthMm = 20;
  EXPECT_NE(wrapRtfDocument("", options).find("\\tx1134\\tx2268\\tx3402"), std::string::npos);
}

TEST(RtfRendering, BodyEscapesBeforeInsertingControlWords) {
  const RenderOptions options;
  // Backslashes are doubled first, so the braces' escapes are not doubled again.
  EXPECT_EQ(markedToRtf("a\\b{c}d\\{", options), "a\\\\b\\{c\\}d\\\\\\{");
  EXPECT_EQ(markedToRtf(keyword("Dim") + " x" + comment("' k") + test::literal("\"s\""), options),
            "\\cf1 Dim\\cf0  x\\cf2 ' k\\cf0 \\cf3 \"s\"\\cf0 ");
  // A Western document holds its letters as Windows-1252 bytes, anything else as \uN?.
  EXPECT_EQ(markedToRtf("\ta\r\n\tb\r\näß", options), "\\tab a\r\n\\par \\tab b\r\n\\par \xE4\xDF");
  EXPECT_EQ(markedToRtf("€ Цв 日 😀", options), "\x80 \\u1062?\\u1074? \\u26085? \\u-10179?\\u-8704?");
  // The two-byte characters at the edges of U+0080 to U+00FF, and one cut off.
  EXPECT_EQ(markedToRtf("\u00A0\u00BF\u00C0\u00FF \u0081\u0080 \xC3", options), "\xA0\xBF\xC0\xFF \x81\\u128? \\u-3?");
  // An end marker inside what would otherwise read as a comment marker wins: it is replaced first.
  EXPECT_EQ(markedToRtf("|Ÿ" + std::string(markers::kEnd) + "k|", options), "|\x9F\\cf0 k|");
  // Another code page: every character beyond ASCII as \uN?, the code page named in the header.
  RenderOptions cyrillic = options;
  cyrillic.codePage = 1251;
  EXPECT_EQ(markedToRtf("ä Цв", cyrillic), "\\u228? \\u1062?\\u1074?");
  EXPECT_EQ(wrapRtfDocument("x", cyrillic).rfind("{\\rtf1\\ansi\\ansicpg1251\\deff0\\deftab720{", 0), 0u);
  EXPECT_EQ(wrapRtfDocument("x", options).rfind("{\\rtf1\\ansi\\deff0\\deftab720{", 0), 0u);
  // UTF-8 projects are written as Western ones: no reader knows 65001 as ANSI code page.
  RenderOptions utf8 = options;
  utf8.codePage = 65001;
  EXPECT_EQ(markedToRtf("ä Цв", utf8), markedToRtf("ä Цв", options));
  EXPECT_EQ(wrapRtfDocument("x", utf8), wrapRtfDocument("x", options));

  const std::string line = boldLine(keyword("Sub") + " A()") + "\r\n";
  EXPECT_EQ(markedToRtf(line, options), "\\b \\cf1 Sub\\cf0  A()\\b0 \r\n\\par ");
  EXPECT_EQ(markedToRtf(line, withBoldLines(false)), "\\cf1 Sub\\cf0  A()\r\n\\par ");
}

// The body built by the whole-text replacements in their order: escapes, colour
// markers, tabs, bold markers, line breaks.
std::string bodyByReplacingInTurn(std::string_view marked, const RenderOptions& options) {
  const std::string bold = options.boldRoutineLines ? "\\b " : "", boldEnd = options.boldRoutineLines ? "\\b0 " : "";
  const std::pair<std::string_view, std::string_view> replacements[] = {
      {"\\", "\\\\"},
      {"{", "\\{"},
      {"}", "\\}"},
      {markers::kEnd, "\\cf0 "},
      {markers::kComment, "\\cf2 "},
      {markers::kKeyword, "\\cf1 "},
      {markers::kString, "\\cf3 "},
      {"\t", "\\tab "},
      {markers::kBold, bold},
      {markers::kBoldEnd, boldEnd},
      {"\r\n", "\r\n\\par "}};
  std::string text(marked);
  for (const auto& [from, to] : replacements) text = replaceAll(text, from, to);
  // Last, the characters beyond ASCII as a Western document holds them (the soup has no others).
  return utf8ToWindows1252(text).value();
}

TEST(RtfRendering, MarkersResolveAsWhenReplacedInTurn) {
  int round = 0;
  for (const std::string& marked : markerSoup()) {
    const RenderOptions options = withBoldLines(++round % 3 != 0);
    ASSERT_EQ(markedToRtf(marked, options), bodyByReplacingInTurn(marked, options)) << round;
  }
  // Line breaks are found after the bold markers are gone, so one that stood between CR and LF joins them.
  const std::string split = "a\r" + std::string(markers::kBold) + "\nb";
  EXPECT_EQ(markedToRtf(split, withBoldLines(false)), "a\r\n\\par b");
  EXPECT_EQ(markedToRtf(split, withBoldLines(true)), "a\r\\b \nb");
}

}  // namespace
}  // namespace cq
