// Workbooks of the East Asian, Cyrillic, Greek, Hebrew and Central European code
// pages from the document to the project folder and its tree, and back out as
// module files: every name and line arrives as the Unicode text it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "codedb/code_database.h"
#include "projectfolder/module_export.h"
#include "sources/module_file_encoding.h"
#include "sources/document_host.h"
#include "sources/document_loader.h"
#include "sources/host_tree.h"
#include "sources/vba/code_page.h"
#include "support/code_page_projects.h"
#include "support/sample_project.h"
#include "support/temp_folder.h"
#include "text/unicode_case.h"

namespace cq {
namespace {

namespace fs = std::filesystem;
using test::CodePageProject;
using Names = std::vector<std::string>;

class CodePageDocument : public ::testing::TestWithParam<CodePageProject> {
 protected:
  const CodePageProject& sample() const { return GetParam(); }
  fs::path workbook() const { return test::writeCodePageWorkbook(sample(), work_); }
  fs::path folder(const std::string& name) const { return work_.path() / name; }

  // What the document should give: name, type and code lines of each module
  // (a folder lists its files by name, so the modules may come in either order).
  void expectSampleModules(const LoadedProject& project) const {
    ASSERT_EQ(project.components().size(), 2u) << project.loadError();
    const auto expectModule = [&](const std::string& name, int type, const std::vector<std::string>& lines) {
      const auto found = std::find_if(project.components().begin(), project.components().end(),
                                      [&](const LoadedComponent& each) { return each.name() == name; });
      ASSERT_NE(found, project.components().end()) << name;
      EXPECT_EQ(found->type(), type) << name;
      EXPECT_EQ(found->lines(1, found->countOfLines()) + "\r\n", test::joinedLines(lines)) << name;
    };
    expectModule(sample().standardModule, kStandardModule, test::standardModuleLines(sample()));
    expectModule(sample().classModule, kClassModule, test::classModuleLines(sample()));
    EXPECT_EQ(project.replacedCharacters(), 0u);
  }

 private:
  test::TempFolder work_;
};

TEST_P(CodePageDocument, ReadsEveryNameAndLineAndRecordsTheCodePage) {
  const LoadedProject project = loadDocument(workbook());
  EXPECT_EQ(project.loadError(), "");
  EXPECT_EQ(project.codePage(), sample().codePage);
  EXPECT_EQ(project.name(), sample().project);
  expectSampleModules(project);

  const Outcome<ProjectRead> read = test::readDocumentIntoFolder(workbook(), folder("projekt"));
  ASSERT_TRUE(read) << read.failure().text();
  EXPECT_EQ(read->modules, 2);
  EXPECT_EQ(read->routines, 6);
  EXPECT_EQ(read->replacedCharacters, 0u);
  EXPECT_EQ(read->codePage, sample().codePage);
  EXPECT_TRUE(read->warnings.empty());
  const auto database = CodeDatabase::open(folder("projekt")).value();
  EXPECT_EQ(database->codePage().value(), sample().codePage);
}

TEST_P(CodePageDocument, TreeRowsHoldTheNamesInTheOrderThatIgnoresCaseInEveryScript) {
  DocumentHost host;
  host.open(workbook());
  HostTree hostTree;
  ASSERT_TRUE(fillHostTree(host, hostTree));
  ASSERT_EQ(hostTree.nodes.size(), 3u);
  EXPECT_EQ(hostTree.nodes[0].text.rfind(sample().project + " [", 0), 0u) << hostTree.nodes[0].text;
  EXPECT_EQ(hostTree.nodes[1].text, sample().standardModule);
  EXPECT_EQ(hostTree.nodes[2].text, sample().classModule);

  ASSERT_TRUE(test::readDocumentIntoFolder(workbook(), folder("projekt")));
  const auto database = CodeDatabase::open(folder("projekt")).value();
  const std::vector<ModuleListEntry> modules = database->moduleList().value();
  ASSERT_EQ(modules.size(), 2u);
  EXPECT_EQ(modules[0].name, sample().standardModule);
  EXPECT_EQ(modules[0].type, ModuleType::kStandardModule);
  EXPECT_EQ(modules[1].name, sample().classModule);
  EXPECT_EQ(modules[1].type, ModuleType::kClassModule);

  // Routines by module, then by name with the case of every script folded:
  // the unused routine's lower-case initial sorts it first, where the bytes
  // would put it after the capitals.
  Names standard;
  Names ofClass;
  const std::string standardKey = std::string("M").append(std::to_string(modules[0].number));
  for (const RoutineListEntry& row : database->routineList().value())
    (row.moduleKey == standardKey ? standard : ofClass).push_back(row.name);
  const CodePageProject& s = sample();
  Names expected = {s.routine, s.caller, s.unused, s.shared};
  std::sort(expected.begin(), expected.end(),
            [](const std::string& a, const std::string& b) { return compareIgnoringCase(a, b) < 0; });
  EXPECT_EQ(standard, expected);
  if (s.cased) {
    EXPECT_EQ(standard.front(), s.unused);
    EXPECT_FALSE(std::is_sorted(standard.begin(), standard.end())) << "the bytes alone would give this order";
  }
  Names expectedOfClass = {s.method, s.sharedOtherCase};
  std::sort(expectedOfClass.begin(), expectedOfClass.end(),
            [](const std::string& a, const std::string& b) { return compareIgnoringCase(a, b) < 0; });
  EXPECT_EQ(ofClass, expectedOfClass);
}

// The exported files hold the code page's bytes, as the editor writes and
// imports them; their names keep their characters. Read back with the code
// page detected from their text, they give the same modules.
TEST_P(CodePageDocument, ExportedModuleFilesAreInTheCodePageAndReadBackAsTheyWere) {
  const LoadedProject project = loadDocument(workbook());
  const fs::path exported = folder("export");
  const Outcome<ModuleExport> written = exportModuleFiles(project, exported);
  ASSERT_TRUE(written) << written.failure().text();
  EXPECT_EQ(written->written, 2u);

  const fs::path standardFile = exported / (sample().standardModule + ".bas");
  const fs::path classFile = exported / (sample().classModule + ".cls");
  ASSERT_TRUE(fs::exists(standardFile)) << standardFile;
  ASSERT_TRUE(fs::exists(classFile)) << classFile;
  const std::string standardText = "Attribute VB_Name = \"" + sample().standardModule + "\"\r\n" +
                                   test::joinedLines(test::standardModuleLines(sample()));
  const std::string classText = "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n"
                                "Attribute VB_Name = \"" +
                                sample().classModule + "\"\r\n" + test::joinedLines(test::classModuleAttributes()) +
                                test::joinedLines(test::classModuleLines(sample()));
  EXPECT_EQ(test::fileBytes(standardFile), textToCodePage(standardText, sample().codePage).value());
  EXPECT_EQ(test::fileBytes(classFile), textToCodePage(classText, sample().codePage).value());

  const LoadedProject detected = loadDocument(exported, kDetectCodePage);
  EXPECT_EQ(detected.loadError(), "");
  EXPECT_EQ(detected.codePage(), sample().codePage) << "detected from the module files";
  expectSampleModules(detected);
}

// Detection must not take Western text for another code page: folders of
// German, French, Spanish, Swedish and Portuguese module files stay Windows-1252.
TEST(ModuleFileCodePage, WesternFoldersStayWindows1252) {
  const std::vector<std::string> codes = {
      "' Größe der Übersicht ändern, bevor der Bericht gedruckt wird\r\nSub PrüfeMaße()\r\n"
      "    MsgBox \"Maß für die Straße übernehmen?\"\r\nEnd Sub\r\n",
      "' Créer la facture du trimestre écoulé et vérifier les données reçues\r\nSub CréerFacture()\r\n"
      "    MsgBox \"Opération terminée à l'échéance prévue\"\r\nEnd Sub\r\n",
      "' Cálculo del año fiscal: la señal indica si el pedido está pagado\r\nSub CalcularAño()\r\n"
      "    MsgBox \"¿Desea continuar con la operación?\"\r\nEnd Sub\r\n",
      "' Beräkna årets försäljning för varje kund och spara på servern\r\nSub BeräknaÅr()\r\n"
      "    MsgBox \"Försäljningen är sparad – 100 €\"\r\nEnd Sub\r\n",
      "' Atenção: a função calcula o preço médio das ações não vendidas\r\nSub CalcularPreço()\r\n"
      "    MsgBox \"Operação concluída “com êxito”\"\r\nEnd Sub\r\n",
      "' Zähler\r\n"};
  for (const std::string& code : codes) {
    const test::TempFolder folder;
    folder.writeFile("Modul.bas", textToCodePage("Attribute VB_Name = \"Modul\"\r\n" + code, 1252).value());
    const LoadedProject project = loadDocument(folder.path(), kDetectCodePage);
    EXPECT_EQ(project.codePage(), 1252) << code;
    ASSERT_EQ(project.components().size(), 1u);
    const LoadedComponent& module = project.components()[0];
    EXPECT_EQ(module.lines(1, module.countOfLines()) + "\r\n", code);
  }
}

TEST(ModuleFileCodePage, Utf8FilesAreUtf8UnlessWindows1252MerelyFormsValidSequences) {
  const std::string utf8 = "' Prüfung über alle Einträge\r\n";
  const std::string western = *textToCodePage("' Größe\r\n", 1252);
  const std::string bomLiteral = *textToCodePage("x = \"ï»¿\"\r\n", 1252);  // valid UTF-8: a BOM inside
  const std::string controls = "' \xC2\x85 \xC2\x9F\r\n";                  // valid UTF-8: C1 controls
  const std::string withBom = std::string(kUtf8Bom) + "' Цвет\r\n";
  EXPECT_EQ(detectModuleFilesCodePage({utf8}), kUtf8CodePage);
  EXPECT_EQ(detectModuleFilesCodePage({utf8, utf8, "' ascii\r\n", withBom}), kUtf8CodePage);
  EXPECT_EQ(detectModuleFilesCodePage({utf8, western}), 1252) << "one Windows-1252 file keeps the project in it";
  EXPECT_EQ(detectModuleFilesCodePage({bomLiteral}), 1252);
  EXPECT_EQ(detectModuleFilesCodePage({controls}), 1252);
  EXPECT_EQ(detectModuleFilesCodePage({withBom, "' ascii\r\n"}), 1252) << "a BOM file speaks for itself only";
  // A folder that mixes the files of two editors reads each file in its own
  // encoding; the project keeps the code page of its Windows-1252 files.
  const test::TempFolder folder;
  folder.writeFile("Neu.bas", "Attribute VB_Name = \"Neu\"\r\n" + utf8);
  folder.writeFile("Alt.bas", "Attribute VB_Name = \"Alt\"\r\n" + western + bomLiteral);
  const LoadedProject project = loadDocument(folder.path(), kDetectCodePage);
  EXPECT_EQ(project.codePage(), 1252);
  std::vector<std::string> codes;
  for (const LoadedComponent& module : project.components())
    codes.push_back(module.name() + ":" + module.lines(1, module.countOfLines()) + "\r\n");
  std::sort(codes.begin(), codes.end());
  EXPECT_EQ(codes, (std::vector<std::string>{"Alt:' Größe\r\nx = \"ï»¿\"\r\n", "Neu:" + utf8}));
}

INSTANTIATE_TEST_SUITE_P(CodePages, CodePageDocument, ::testing::ValuesIn(test::codePageProjects()),
                         [](const auto& info) { return info.param.label; });

}  // namespace
}  // namespace cq
