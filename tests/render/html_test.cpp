#include "render/html.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "render/markers.h"
#include "render/sample_marked_module.h"
#include "render/text_replace.h"
#include "support/golden.h"

namespace cq {
namespace {

using test::boldLine;
using test::comment;
using test::keyword;
using test::literal;

const std::string kOpenPre = "<pre><span style=\"font-family=MS Sans Serif,Arial; font-size=10pt\"; >";
const std::string kClosePre = "</span></pre>";

TEST(HtmlRendering, SampleModuleMatchesGolden) {
  EXPECT_TRUE(test::matchesGolden("module.html", markedToHtml(test::sampleMarkedModule(), RenderOptions{})));
}

TEST(HtmlRendering, ColourStringsAreUpperCaseRedGreenBlue) {
  EXPECT_EQ(htmlColour(32768), "#008000");
  EXPECT_EQ(htmlColour(8388608), "#000080");
  EXPECT_EQ(htmlColour(128), "#800000");
  EXPECT_EQ(htmlColour(0xABCDEF), "#EFCDAB");
  EXPECT_EQ(htmlColour(0), "#000000");
}

TEST(HtmlRendering, EscapeReplacesEachCharacterOnce) {
  EXPECT_EQ(escapeHtml("a & <b>"), "a &#38; &lt;b&gt;");
  EXPECT_EQ(escapeHtml("&lt;"), "&#38;lt;");
  EXPECT_EQ(escapeHtml("\xE4\xF6\xFC\xC4\xD6\xDC\xDF"), "&auml;&ouml;&uuml;&Auml;&Ouml;&Uuml;&szlig;");
  EXPECT_EQ(escapeHtml("\"x\": f(1+2)"), "&#34;x&#34;&#58; f&#40;1&#43;2&#41;");
  EXPECT_EQ(escapeHtml("\t \r\n'\xA7\x9F|"), "\t \r\n'\xA7\x9F|");
  EXPECT_EQ(escapeHtml(""), "");
}

TEST(HtmlRendering, OnePassEscapeEqualsTheReplacementsInTableOrder) {
  const std::vector<std::pair<std::string, std::string>> table = {
      {"&", "&#38;"},   {"<", "&lt;"},     {">", "&gt;"},     {"\xE4", "&auml;"}, {"\xF6", "&ouml;"},
      {"\xFC", "&uuml;"}, {"\xC4", "&Auml;"}, {"\xD6", "&Ouml;"}, {"\xDC", "&Uuml;"}, {"\xDF", "&szlig;"},
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
  RenderOptions options;
  EXPECT_EQ(markedToHtml(keyword("Dim") + " x", options),
            kOpenPre + "<span style=\"color:#000080\"; >Dim</span> x" + kClosePre);
  EXPECT_EQ(markedToHtml(literal("\"a<b\"") + comment("' c:"), options),
            kOpenPre + "<span style=\"color:#800000\"; >&#34;a&lt;b&#34;</span>" +
                "<span style=\"color:#008000\"; >' c&#58;</span>" + kClosePre);
  EXPECT_EQ(markedToHtml(boldLine(keyword("End") + " " + keyword("Sub")), options),
            kOpenPre + "<b><span style=\"color:#000080\"; >End</span> <span style=\"color:#000080\"; >Sub</span></b>" +
                kClosePre);

  options.fontName = "Courier New";
  options.fontSize = 9;
  options.commentColour = 0x0000FF;
  EXPECT_EQ(markedToHtml(comment("'x"), options),
            "<pre><span style=\"font-family=Courier New,Arial; font-size=9pt\"; >"
            "<span style=\"color:#FF0000\"; >'x</span></span></pre>");
  EXPECT_EQ(markedToHtml("", options), "<pre><span style=\"font-family=Courier New,Arial; font-size=9pt\"; ></span></pre>");
}

TEST(HtmlRendering, BoldOffLeavesNoBoldTagOrMarker) {
  RenderOptions options;
  options.boldRoutineLines = false;
  const std::string html = markedToHtml(test::sampleMarkedModule(), options);
  EXPECT_EQ(html.find("<b>"), std::string::npos);
  EXPECT_EQ(html.find("</b>"), std::string::npos);
  EXPECT_EQ(html.find(markers::kChar), std::string::npos);
  EXPECT_NE(html.find("<span style=\"color:#000080\"; >Private</span>"), std::string::npos);
}

// The fragment's text built by replacing one marker kind after another over the whole text.
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

TEST(HtmlRendering, MarkersResolveAsWhenReplacedInTurn) {
  const std::vector<std::string> wellFormed = {
      std::string(markers::kEnd), std::string(markers::kComment), std::string(markers::kKeyword),
      std::string(markers::kString), std::string(markers::kBold), std::string(markers::kBoldEnd),
      "|", "n", "k", "y", "x", "&", "<", "\xE4", "\t", "\r\n", "Sub", " "};
  const std::vector<std::string> malformed = [&] {
    std::vector<std::string> pieces = wellFormed;
    for (const char* piece : {"\x9F", "|n", "|y", "\x9F|", "\x9F|?"}) pieces.push_back(piece);
    return pieces;
  }();

  std::mt19937 random(7);
  for (const std::vector<std::string>* pieces : {&wellFormed, &malformed}) {
    std::uniform_int_distribution<std::size_t> pick(0, pieces->size() - 1);
    for (int round = 0; round < 2000; ++round) {
      std::string marked;
      for (int n = round % 37; n > 0; --n) marked += (*pieces)[pick(random)];
      RenderOptions options;
      options.boldRoutineLines = round % 3 != 0;
      EXPECT_EQ(markedToHtml(marked, options), fragmentByReplacingInTurn(marked, options));
      if (HasFailure()) return;
    }
  }

  // Overlaps: the end marker is replaced before the comment marker it shares a "|" with,
  // and a removed bold marker can join its neighbours into a bold end marker.
  RenderOptions notBold;
  notBold.boldRoutineLines = false;
  EXPECT_EQ(markedToHtml(std::string(markers::kComment) + "n\x9F|", notBold),
            markedToHtml("", notBold).insert(kOpenPre.size(), "|\x9Fk</span>"));
  EXPECT_EQ(markedToHtml("|y" + std::string(markers::kBold) + "\x9F|", notBold), markedToHtml("", notBold));
}

TEST(HtmlRendering, CreditLineAndPreviewPage) {
  EXPECT_EQ(htmlCreditLine("Access", kProgramWebAddress),
            "<span style=\" font-weight:bold;\"> Code eingef&uuml;gt mit: </span> "
            "<a style =\"color:#ffff00; background-color:#000080; font-weight:bold;\" "
            "href=\"https://codequorix.example.org/\" target=\"blank\">Access Code Quorix</a>");
  EXPECT_EQ(htmlPreviewPage("Access", "<pre>x</pre>"),
            "<HTML><HEAD><TITLE>Access Code Quorix</TITLE></HEAD><BODY><pre>x</pre></Body></HTML>");
}

}  // namespace
}  // namespace cq
