#include "render/project_export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/sample_marked_module.h"
#include "text/text_replace.h"
#include "support/golden.h"

namespace cq {
namespace {

using test::boldLine;
using test::comment;
using test::keyword;

std::vector<ExportModule> sampleProject() {
  return {
      {"Werkzeuge", ModuleType::kStandardModule, test::sampleMarkedModule()},
      {"clsKäse & Co", ModuleType::kClassModule, keyword("Private") + " m " + keyword("As") + " " + keyword("Long") + "\r\n"},
      {"Bericht", ModuleType::kDocumentModule,
       boldLine(keyword("Sub") + " R()") + "\r\n" + comment("' {leer}") + "\r\n" +
           boldLine(keyword("End") + " " + keyword("Sub")) + "\r\n"},
  };
}

TEST(ProjectExport, SampleProjectMatchesGolden) {
  const RenderOptions options;
  EXPECT_TRUE(test::matchesGolden("project.html", projectToHtml(sampleProject(), options)));
  EXPECT_TRUE(test::matchesGolden("project.rtf", projectToRtf(sampleProject(), options)));
}

TEST(ProjectExport, BannerIsFilledByPositionAndNamesEachTypeByItsOwnName) {
  // Placeholder text inside the name stays.
  EXPECT_NE(moduleBanner("xxxxx_yyyyy", "Typ = Userform").find("'  Modul:  xxxxx_yyyyy  Typ = Userform\r\n"),
            std::string::npos);
  EXPECT_EQ(moduleTypeLine(ModuleType::kForm), "Typ = Userform");
  // A sheet or ThisDocument is no report; an Access report is.
  EXPECT_EQ(moduleTypeLine(ModuleType::kDocumentModule), "Typ = Element der Mappe(Sheet, Workbook, ...)");
  EXPECT_EQ(moduleTypeLine(ModuleType::kReport), "Typ = Report");
  for (const ModuleType unknown :
       {moduleTypeOfCode(0), moduleTypeOfCode(4), ModuleType::kOther, moduleTypeOfCode(100), moduleTypeOfCode(-1)})
    EXPECT_EQ(moduleTypeLine(unknown), "");
}

TEST(ProjectExport, ModuleOfUnknownTypeAndEmptyProject) {
  const RenderOptions options;
  std::vector<ExportModule> modules = sampleProject();
  modules[2].type = moduleTypeOfCode(4);
  const std::string html = projectToHtml(modules, options);
  EXPECT_EQ(countOccurrences(html, "</span></pre><pre>"), 2u);
  EXPECT_NE(html.find("'  Modul&#58;  Bericht  \r\n"), std::string::npos);
  EXPECT_NE(projectToRtf(modules, options).find("'  Modul:  Bericht  \r\n"), std::string::npos);
  EXPECT_EQ(projectToHtml({}, options), "");
}

}  // namespace
}  // namespace cq
