#include "sources/project_reader.h"

#include <gtest/gtest.h>

#include "codedb/code_database.h"
#include "sources/host_tree.h"
#include "sources/source_file.h"
#include "support/fake_host.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

using test::FakeHost;

LoadedComponent module(const std::string& name, int type, const std::string& code) {
  return LoadedComponent(name, type, ModuleCode(code));
}

const std::string kTwoRoutines = "Option Explicit\r\nSub Eins()\r\nEnd Sub\r\nFunction Zwei() As Long\r\nEnd Function";

ProjectReadRequest requestFor(const test::TempFolder& folder) {
  ProjectReadRequest request;
  request.templateFile = CQ_TEMPLATE_PATH;
  request.folder = folder.path();
  return request;
}

// The modules of the project folder's database as "number name type" lines.
std::string storedModules(const std::filesystem::path& folder) {
  std::string modules;
  for (const auto& m : CodeDatabase::open(folder).value()->moduleList().value()) {
    modules += std::to_string(m.number) + " " + m.name + " " + std::to_string(moduleTypeCode(m.type)) + "|";
  }
  return modules;
}

struct Fixture {
  FakeHost host;
  HostTree tree;
  Fixture() {
    host.add("/daten/Erste.xlsm", "Erste").addComponent(module("Anderes", kStandardModule, kTwoRoutines));
    auto& second = host.add("/daten/Zweite.accdb", "Zweite");
    second.addComponent(module("Form_Kunden", kDocumentModule, kTwoRoutines));
    second.addComponent(module("Werkzeuge", kStandardModule, kTwoRoutines + "\r\nSub Kaputt : End Sub\r\nEnd Sub"));
    second.addComponent(module("Report_Umsatz", kDocumentModule, kTwoRoutines));
    EXPECT_TRUE(fillHostTree(host, tree));
    setTicked(tree, 2, true);  // the project node of Zweite
  }
};

TEST(ProjectReader, ReadsTickedModulesInTreeOrderWithDisplayNamesAndTypes) {
  const test::TempFolder folder;
  Fixture f;
  const Outcome<ProjectRead> outcome = readTickedModules(f.host, f.tree, requestFor(folder));
  ASSERT_TRUE(outcome) << outcome.failure().text();
  const ProjectRead& read = outcome.value();
  EXPECT_EQ(read.modules, 3);
  EXPECT_EQ(read.routines, 6);
  EXPECT_EQ(f.tree.tag, "Zweite");
  // "Sub Kaputt : End Sub" has no "(", and the "End Sub" after it is taken as a header.
  ASSERT_EQ(read.warnings.size(), 2u);
  EXPECT_EQ(read.warnings[0].module, "Werkzeuge");
  for (int n = 1; n <= 3; ++n) EXPECT_TRUE(std::filesystem::exists(moduleFilePath(folder.path(), n)));
  // Listed by type, then name: the form (1), the standard module (2), the report (6).
  EXPECT_EQ(storedModules(folder.path()), "1 Kunden 1|2 Werkzeuge 2|3 Umsatz 6|");
  EXPECT_EQ(CodeDatabase::open(folder.path()).value()->routineList().value().size(), 6u);
}

TEST(ProjectReader, AFailedReadKeepsWhatWasWrittenAndSaysWhy) {
  Fixture f;
  f.host.projects[1]->vanished = "Report_Umsatz";
  const test::TempFolder folder;
  const Outcome<ProjectRead> read = readTickedModules(f.host, f.tree, requestFor(folder));
  ASSERT_FALSE(read);
  EXPECT_EQ(read.failure().message, kReadFailedMessage);
  EXPECT_NE(read.failure().cause.find("Report_Umsatz"), std::string::npos);
  EXPECT_EQ(storedModules(folder.path()), "1 Kunden 1|2 Werkzeuge 2|");
  ProjectReadRequest noTemplate = requestFor(folder);
  noTemplate.templateFile = folder.path() / "fehlt.mdb";
  const Outcome<ProjectRead> missing = readTickedModules(f.host, f.tree, noTemplate);
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.failure().message.rfind("Die notwendige Datenbank", 0), 0u) << missing.failure().message;
  f.host.running = false;
  const Outcome<ProjectRead> notRunning = readTickedModules(f.host, f.tree, requestFor(folder));
  ASSERT_TRUE(notRunning);
  EXPECT_FALSE(notRunning->attached);
}

TEST(ProjectReader, RoutineBodiesAreIndentedOnlyWhenReIndentingToo) {
  FakeHost host;
  host.add("/daten/Eins.xlsm", "Eins").addComponent(module("Modul", kStandardModule, "Sub Eins()\r\nx = 1\r\nEnd Sub"));
  HostTree tree;
  ASSERT_TRUE(fillHostTree(host, tree));
  setTicked(tree, 0, true);
  const auto bodyLineOfRead = [&](bool einr, bool rer) {
    const test::TempFolder folder;
    ProjectReadRequest request = requestFor(folder);
    request.markup.reindent = einr;
    request.markup.indentRoutineBodies = rer;
    const Outcome<ProjectRead> read = readTickedModules(host, tree, request);
    EXPECT_TRUE(read) << (read ? std::string() : read.failure().text());
    const std::string text = readSourceFile(moduleFilePath(folder.path(), 1));
    const std::size_t lineStart = text.find("\r\n") + 2;
    return text.substr(lineStart, text.find("\r\n", lineStart) - lineStart);
  };
  EXPECT_EQ(bodyLineOfRead(false, true), "x = 1") << "\"rer\" without \"einr\"";
  EXPECT_EQ(bodyLineOfRead(true, true), "\tx = 1");
}

TEST(ProjectReader, ReadsTickedModuleFilesByTheirKeys) {
  const test::TempFolder project;
  project.writeFile("Form1.frm", "VERSION 5.00\r\nBegin VB.Form Form1\r\nEnd\r\nAttribute VB_Name = \"Form1\"\r\n"
                                 "Private Sub Form_Load()\r\nEnd Sub\r\n");
  project.writeFile("Modul.bas", "Attribute VB_Name = \"Modul\"\r\nSub A()\r\nEnd Sub\r\n");
  project.writeFile("Teil.cls", "Sub B()\r\nEnd Sub\r\n");
  HostTree tree;
  const std::size_t root = tree.addNode("A1\\", "Projekt1", "Fahne");
  tree.addNode("A1\\Form1.frm:1", "Form1", "M1", root);
  tree.addNode("A1\\ Modul.bas :2", "Modul", "M2", root);
  tree.addNode("A1\\Teil.cls:0", "Teil", "XXX", root);
  setTicked(tree, root, true);
  const test::TempFolder folder;
  const Outcome<ProjectRead> read = readTickedModuleFiles(tree, project.path(), requestFor(folder));
  ASSERT_TRUE(read) << read.failure().text();
  EXPECT_EQ(storedModules(folder.path()), "1 Form1 1|2 Modul 2|3 Teil 32|");
  EXPECT_EQ(readSourceFile(moduleFilePath(folder.path(), 1)).find("Begin"), std::string::npos);  // the header is cut
  tree.addNode("A1\\Fehlt.bas:2", "Fehlt", "M2", root);
  setTicked(tree, root, true);
  const test::TempFolder again;
  const Outcome<ProjectRead> failed = readTickedModuleFiles(tree, project.path(), requestFor(again));
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.failure().message, kVbReadFailedMessage);
  EXPECT_NE(failed.failure().cause.find("Fehlt.bas"), std::string::npos) << failed.failure().cause;
  EXPECT_EQ(storedModules(again.path()), "1 Form1 1|2 Modul 2|3 Teil 32|") << "what was read stays";
}

// Keys identify nodes; the component is found by its index, whatever its name holds.
TEST(ProjectReader, ModulesAreFoundByIndexWhateverTheirNames) {
  FakeHost host;
  auto& project = host.add("/daten/Namen.xlsm", "Namen");
  project.addComponent(module("Teil\\Eins", kStandardModule, kTwoRoutines));
  project.addComponent(module("Eins", kClassModule, "Sub Anders()\r\nEnd Sub\r\n'"));
  project.addComponent(module("Zeile\nUmbruch\t", kStandardModule, kTwoRoutines));
  HostTree tree;
  ASSERT_TRUE(fillHostTree(host, tree));
  setTicked(tree, 0, true);
  const test::TempFolder folder;
  const Outcome<ProjectRead> read = readTickedModules(host, tree, requestFor(folder));
  ASSERT_TRUE(read) << read.failure().text();
  EXPECT_EQ(storedModules(folder.path()), "1 Teil\\Eins 2|3 Zeile\nUmbruch\t 2|2 Eins 3|");
  EXPECT_EQ(read->routines, 5);
}

// A full disk (here /dev/full behind the module file) and a module too large for
// its file stop the read with the cause first; no cut-off file stays.
TEST(ProjectReader, FailuresToStoreSayTheirCauseFirstAndLeaveNoCutOffFile) {
  Fixture f;
  const test::TempFolder folder;
  std::filesystem::create_symlink("/dev/full", moduleFilePath(folder.path(), 2));
  const Outcome<ProjectRead> full = readTickedModules(f.host, f.tree, requestFor(folder));
  ASSERT_FALSE(full);
  EXPECT_EQ(full.failure().text().rfind("Kein Speicherplatz mehr auf dem Datenträger\r\n\r\n", 0), 0u);
  EXPECT_EQ(full.failure().cause, "Kein Speicherplatz mehr auf dem Datenträger");
  EXPECT_NE(full.failure().message.find("M2.txt konnte nicht geschrieben werden"), std::string::npos)
      << full.failure().message;
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(moduleFilePath(folder.path(), 2))));
  EXPECT_TRUE(std::filesystem::exists(moduleFilePath(folder.path(), 1)));

  std::string huge;
  while (huge.size() <= kMaxSourceFileBytes) huge += "x = 1\r\n";
  FakeHost host;
  host.add("/daten/Gross.xlsm", "Gross").addComponent(module("Riesig", kStandardModule, huge));
  HostTree tree;
  ASSERT_TRUE(fillHostTree(host, tree));
  setTicked(tree, 0, true);
  const test::TempFolder large;
  const Outcome<ProjectRead> tooLarge = readTickedModules(host, tree, requestFor(large));
  ASSERT_FALSE(tooLarge);
  EXPECT_EQ(tooLarge.failure().text(), "Das Modul Riesig ist zu groß: seine Moduldatei hätte mehr als 64 MB.");
  EXPECT_FALSE(std::filesystem::exists(moduleFilePath(large.path(), 1)));
}

}  // namespace
}  // namespace cq
