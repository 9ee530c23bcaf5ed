#include "render/project_export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/html.h"
#include "render/markers.h"
#include "render/rtf.h"
#include "render/sample_marked_module.h"
#include "render/text_replace.h"
#include "support/golden.h"

namespace cq {
namespace {

using test::boldLine;
using test::comment;
using test::keyword;

const std::string kStars = "' **************************************************************";

std::vector<ExportModule> sampleProject() {
  return {
      {"Werkzeuge", 2, test::sampleMarkedModule()},
      {"clsK\xE4se & Co", 3, keyword("Private") + " m " + keyword("As") + " " + keyword("Long") + "\r\n"},
      {"Bericht", 5, boldLine(keyword("Sub") + " R()") + "\r\n" + comment("' {leer}") + "\r\n" +
                         boldLine(keyword("End") + " " + keyword("Sub")) + "\r\n"},
  };
}

TEST(ProjectExport, SampleProjectMatchesGolden) {
  const RenderOptions options;
  EXPECT_TRUE(test::matchesGolden("project.html", projectToHtml(sampleProject(), options)));
  EXPECT_TRUE(test::matchesGolden("project.rtf", projectToRtf(sampleProject(), options)));
}

TEST(ProjectExport, BannerIsOneCommentRunInOneBoldLine) {
  const std::string banner = moduleBanner("Modul1", "Typ = Klassenmodul");
  EXPECT_EQ(banner, std::string(markers::kBold) + std::string(markers::kComment) + kStars + "\r\n" +
                        "'  Modul:  Modul1  Typ = Klassenmodul\r\n" + kStars + std::string(markers::kEnd) +
                        std::string(markers::kBoldEnd));
  // Filled by position: placeholder text inside the name stays.
  EXPECT_NE(moduleBanner("xxxxx_yyyyy", "Typ = Userform").find("'  Modul:  xxxxx_yyyyy  Typ = Userform\r\n"),
            std::string::npos);
  EXPECT_NE(moduleBanner("Leer", "").find("'  Modul:  Leer  \r\n"), std::string::npos);
}

TEST(ProjectExport, TypeLinesDifferOnlyForType5) {
  for (const int type : {1, 2, 3}) EXPECT_EQ(htmlTypeLine(type), rtfTypeLine(type));
  EXPECT_EQ(htmlTypeLine(1), "Typ = Userform");
  EXPECT_EQ(htmlTypeLine(2), "Typ = Allgemeines Modul");
  EXPECT_EQ(htmlTypeLine(3), "Typ = Klassenmodul");
  EXPECT_EQ(htmlTypeLine(5), "Typ = Report");
  EXPECT_EQ(rtfTypeLine(5), "Typ = Element der Mappe(Sheet, Workbook, ...)");
  for (const int unknown : {0, 4, 6, 100, -1}) {
    EXPECT_EQ(htmlTypeLine(unknown), "");
    EXPECT_EQ(rtfTypeLine(unknown), "");
  }
}

TEST(ProjectExport, HtmlGivesOnePreBlockPerModuleOpenedByItsBanner) {
  const RenderOptions options;
  std::vector<ExportModule> modules = sampleProject();
  modules[2].type = 4;  // no type line for this code
  const std::string html = projectToHtml(modules, options);
  EXPECT_EQ(countOccurrences(html, "<pre>"), 3u);
  EXPECT_EQ(countOccurrences(html, "</pre>"), 3u);
  EXPECT_EQ(countOccurrences(html, "</span></pre><pre>"), 2u);  // blocks follow without separator

  const std::string blockStart = "<pre><span style=\"font-family=MS Sans Serif,Arial; font-size=10pt\"; >\r\n\r\n"
                                 "<b><span style=\"color:#008000\"; >' ***";
  EXPECT_EQ(countOccurrences(html, blockStart), 3u);
  EXPECT_EQ(html.rfind(blockStart, 0), 0u);
  EXPECT_NE(html.find("'  Modul&#58;  Werkzeuge  Typ = Allgemeines Modul\r\n"), std::string::npos);
  EXPECT_NE(html.find("'  Modul&#58;  clsK&auml;se &#38; Co  Typ = Klassenmodul\r\n"), std::string::npos);
  EXPECT_NE(html.find("'  Modul&#58;  Bericht  \r\n"), std::string::npos);

  EXPECT_EQ(projectToHtml({}, options), "");
}

TEST(ProjectExport, RtfIsOneDocumentWithOneBannerPerModule) {
  const RenderOptions options;
  const std::string rtf = projectToRtf(sampleProject(), options);
  EXPECT_EQ(countOccurrences(rtf, "{\\rtf1"), 1u);
  EXPECT_EQ(rtf.back(), '}');
  // Two empty paragraphs, then the banner in bold comment colour.
  EXPECT_EQ(countOccurrences(rtf, "\r\n\\par \r\n\\par \\b \\cf2 ' ***"), 3u);
  EXPECT_NE(rtf.find("'  Modul:  Bericht  Typ = Element der Mappe(Sheet, Workbook, ...)\r\n"), std::string::npos);
  EXPECT_EQ(rtf.find("Typ = Report"), std::string::npos);
}

}  // namespace
}  // namespace cq
