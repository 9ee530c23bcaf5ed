#include "render/rtf.h"

#include <gtest/gtest.h>

#include "render/markers.h"
#include "render/sample_marked_module.h"
#include "support/golden.h"

namespace cq {
namespace {

using test::boldLine;
using test::comment;
using test::keyword;

TEST(RtfRendering, SampleModuleMatchesGolden) {
  const RenderOptions options;
  EXPECT_TRUE(test::matchesGolden("module.rtf", wrapRtfDocument(markedToRtf(test::sampleMarkedModule(), options), options)));
}

TEST(RtfRendering, ColourEntriesSplitRedFromTheLowByte) {
  EXPECT_EQ(rtfColourEntry(8388608), "\\red0\\green0\\blue128;");
  EXPECT_EQ(rtfColourEntry(32768), "\\red0\\green128\\blue0;");
  EXPECT_EQ(rtfColourEntry(128), "\\red128\\green0\\blue0;");
  EXPECT_EQ(rtfColourEntry(0x123456), "\\red86\\green52\\blue18;");
  EXPECT_EQ(rtfColourEntry(0xFFFFFF), "\\red255\\green255\\blue255;");
  EXPECT_EQ(rtfColourEntry(0), "\\red0\\green0\\blue0;");
}

TEST(RtfRendering, HeaderCarriesFontColoursTabsAndSize) {
  RenderOptions options;
  EXPECT_EQ(wrapRtfDocument("X", options),
            "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}\r\n"
            "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss MS Sans Serif;}{\\f3\\fswiss MS Sans Serif;}"
            "{\\f4\\fswiss\\fprq2 System;}}\r\n"
            "{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue128;\\red0\\green128\\blue0;\\red128\\green0\\blue0;}\r\n"
            "\\deflang1031\\pard\\li105"
            "\\tx283\\tx566\\tx849\\tx1132\\tx1415\\tx1698\\tx1981\\tx2264\\tx2547\\tx2830"
            "\\plain\\f3\\fs20 X}");

  options.fontName = "Courier New";
  options.fontSize = 12;
  options.tabWidthMm = 3;  // 170.1 twips per stop, cut to 170
  options.keywordColour = 0xFF;
  const std::string doc = wrapRtfDocument("", options);
  EXPECT_NE(doc.find("{\\f2\\fswiss MS Sans Serif;}{\\f3\\fswiss Courier New;}{\\f4"), std::string::npos);
  EXPECT_NE(doc.find("{\\f0\\fswiss MS Sans Serif;}"), std::string::npos);  // only the code font changes
  EXPECT_NE(doc.find("\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;"), std::string::npos);
  EXPECT_NE(doc.find("\\li105\\tx170\\tx340\\tx510\\tx680\\tx850\\tx1020\\tx1190\\tx1360\\tx1530\\tx1700\\plain"
                     "\\f3\\fs24 }"),
            std::string::npos);

  options.tabWidthMm = 20;
  EXPECT_NE(wrapRtfDocument("", options).find("\\tx1134\\tx2268\\tx3402"), std::string::npos);
}

TEST(RtfRendering, BodyEscapesBeforeInsertingControlWords) {
  const RenderOptions options;
  // Backslashes are doubled first, so the braces' escapes are not doubled again.
  EXPECT_EQ(markedToRtf("a\\b{c}d", options), "a\\\\b\\{c\\}d");
  EXPECT_EQ(markedToRtf("\\{", options), "\\\\\\{");
  EXPECT_EQ(markedToRtf(keyword("Dim") + " x" + comment("' k"), options), "\\cf1 Dim\\cf0  x\\cf2 ' k\\cf0 ");
  EXPECT_EQ(markedToRtf(std::string(markers::kString) + "\"s\"" + std::string(markers::kEnd), options),
            "\\cf3 \"s\"\\cf0 ");
  EXPECT_EQ(markedToRtf("\ta\r\n\tb\r\n", options), "\\tab a\r\n\\par \\tab b\r\n\\par ");
  // Umlauts and other bytes beyond ASCII pass through.
  EXPECT_EQ(markedToRtf("\xE4\xDF\xA7", options), "\xE4\xDF\xA7");
  EXPECT_EQ(markedToRtf("", options), "");
}

TEST(RtfRendering, BoldLinesFollowTheSetting) {
  RenderOptions options;
  const std::string line = boldLine(keyword("Sub") + " A()") + "\r\n";
  EXPECT_EQ(markedToRtf(line, options), "\\b \\cf1 Sub\\cf0  A()\\b0 \r\n\\par ");

  options.boldRoutineLines = false;
  const std::string rtf = markedToRtf(line, options);
  EXPECT_EQ(rtf, "\\cf1 Sub\\cf0  A()\r\n\\par ");
  EXPECT_EQ(rtf.find(markers::kChar), std::string::npos);
}

TEST(RtfRendering, MarkersOverlappingEachOtherResolveInReplacementOrder) {
  const RenderOptions options;
  // An end marker inside what would otherwise read as a comment marker wins: it is replaced first.
  const std::string text = "|\x9F" + std::string(markers::kEnd) + "k|";
  EXPECT_EQ(markedToRtf(text, options), "|\x9F\\cf0 k|");
}

}  // namespace
}  // namespace cq
