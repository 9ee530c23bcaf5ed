#include "sources/document_host.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "sources/host_tree.h"
#include "sources/module_file.h"
#include "sources/source_file.h"
#include "text/text_replace.h"
#include "support/fake_host.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

namespace fs = std::filesystem;

std::string threeLineModule(std::string_view name) {
  return "Attribute VB_Name = \"" + std::string(name) + "\"\r\nSub A()\r\n  x = 1\r\nEnd Sub\r\n";
}

std::vector<std::string> componentNames(const HostProject& project) {
  std::vector<std::string> names;
  for (long i = 1; i <= project.componentCount(); ++i) names.push_back(project.component(i).name());
  return names;
}

TEST(DocumentHost, AttachFailsWithoutDocumentsAndReadsAgainFromDisk) {
  test::TempFolder temp;
  temp.writeFile("Code/m.bas", threeLineModule("Modul1"));
  DocumentHost host;
  EXPECT_FALSE(host.attach());
  EXPECT_TRUE(host.open(temp.path() / "Code"));
  EXPECT_FALSE(host.open(temp.path() / "Code/"));  // the same folder
  EXPECT_FALSE(host.open(temp.path() / "Code" / "."));
  ASSERT_TRUE(host.attach());
  EXPECT_THROW(host.project(2), Failed);
  // Attaching again keeps what was read; after forgetRead() it reads the disk anew.
  temp.writeFile("Code/m.bas", threeLineModule("Modul1") + "Sub B()\r\nEnd Sub\r\n");
  for (const long expected : {3L, 5L}) {
    ASSERT_TRUE(host.attach());
    ASSERT_EQ(host.projectCount(), 1);
    EXPECT_EQ(host.project(1).component(1).countOfLines(), expected);
    host.forgetRead();
  }
}

TEST(DocumentHost, FolderOfModuleFiles) {
  test::TempFolder temp;
  const std::pair<std::string, std::string> files[] = {
      {"b.bas", threeLineModule("Modul_B")},
      {"A.cls", "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n" + threeLineModule("Kunde")},
      {"ThisWorkbook.cls", "Attribute VB_Name = \"ThisWorkbook\"\nAttribute VB_Base = \"0{00020819-0000}\"\n"
                           "Private Sub Workbook_Open()\n  x = 1\nEnd Sub\n"},
      {"sub/c.FRM", "VERSION 5.00\r\nBegin {C62A69F0-16DC} Form1\r\nEnd\r\n" + threeLineModule("Form1")},
      {"sub.bas", threeLineModule("Unterstrich")},
      {"e.bas", "' no header at all\r\nSub E()\r\nEnd Sub\r\n"},
      {"Z.bas", "\xEF\xBB\xBF" "Sub Z()\n  s = \"\xE2\x82\xAC \xE4\xB8\xAD\"\nEnd Sub\n"},
      {"z.bas", "Sub z()\r\n  s = \"\xE4\"\r\nEnd Sub\r\n"},
      {"notes.txt", "not a module"}};
  for (const auto& [name, text] : files) temp.writeFile("Mappe/" + name, text);
  DocumentHost host;
  host.open(temp.path() / "Mappe");
  ASSERT_TRUE(host.attach());
  EXPECT_TRUE(host.loadErrors().empty());
  const LoadedProject& project = host.loadedProject(1);
  EXPECT_EQ(project.name() + "|" + project.fileName(), "Mappe|" + (temp.path() / "Mappe").string());
  // Relative paths compared ignoring case: "." sorts before "/", "Z" before "z".
  // A name taken already (ignoring case) gets a number, so each file stays readable.
  EXPECT_EQ(componentNames(project), (std::vector<std::string>{"Kunde", "Modul_B", "e", "Unterstrich", "Form1",
                                                                "ThisWorkbook", "Z", "z (2)"}));
  EXPECT_EQ(project.component("kunde").type(), kClassModule);  // names ignore case
  EXPECT_EQ(project.component("Form1").type(), kUserForm);
  EXPECT_THROW(project.component("Fehlt"), Failed);
  EXPECT_EQ(project.component("Kunde").lines(1, 3), "Sub A()\r\n  x = 1\r\nEnd Sub");
  EXPECT_EQ(project.component("ThisWorkbook").lines(1, 1), "Private Sub Workbook_Open()");
  EXPECT_EQ(project.component("e").countOfLines(), 3);
  EXPECT_EQ(project.component("Z").lines(2, 1), "  s = \"€ 中\"");  // UTF-8 keeps every character
  EXPECT_EQ(project.component("z (2)").lines(2, 1), "  s = \"ä\"");   // Windows-1252
  EXPECT_EQ(project.replacedCharacters(), 0u);
  HostTree tree;
  ASSERT_TRUE(fillHostTree(host, tree));
  ASSERT_EQ(tree.nodes.size(), 9u);
  EXPECT_EQ(tree.nodes[0].text, "Mappe [Mappe]");
  EXPECT_EQ(tree.nodes[6].key + tree.nodes[6].image + tree.nodes[5].image, "A1\\ThisWorkbookM5M1");

  // A module file opened by itself, as a file manager hands it over, is a project of one module.
  DocumentHost single;
  single.open(temp.path() / "Mappe" / "A.cls");
  single.open(temp.path() / "Mappe" / "sub" / "c.FRM");
  ASSERT_TRUE(single.attach());
  EXPECT_TRUE(single.loadErrors().empty());
  EXPECT_EQ(single.loadedProject(1).name(), "A");
  EXPECT_EQ(componentNames(single.loadedProject(1)), std::vector<std::string>{"Kunde"});
  EXPECT_EQ(single.loadedProject(2).component("Form1").type(), kUserForm);
}

TEST(DocumentHost, ManyModulesOfOneNameEachGetTheirOwnNumber) {
  LoadedProject project("/daten/Mappe.xlsm", "Mappe");
  const auto add = [&](const std::string& name) { project.addComponent({name, kStandardModule, ModuleCode("x")}); };
  add("Modul (3)");  // a literal numbered name is skipped when numbering
  for (int i = 0; i < 3000; ++i) add(i % 2 == 0 ? "Modul" : "MODUL");
  add("modul (2)");  // taken by then: numbered again
  const std::vector<LoadedComponent>& all = project.components();
  ASSERT_EQ(all.size(), 3002u);
  EXPECT_EQ(all[1].name(), "Modul");
  EXPECT_EQ(all[2].name(), "MODUL (2)");
  EXPECT_EQ(all[3].name(), "Modul (4)");
  EXPECT_EQ(all[3000].name(), "MODUL (3001)");
  EXPECT_EQ(all[3001].name(), "modul (2) (2)");
  EXPECT_EQ(&project.component("modul (1500)"), &all[1499]);
  EXPECT_EQ(&project.component("MODUL (3)"), &all[0]);
  EXPECT_THROW(project.component("Modul (3002)"), Failed);
}

TEST(DocumentHost, ProjectFilesAndBadDocumentsAreListedWithTheirReason) {
  test::TempFolder temp;
  temp.writeFile("proj/Form1.frm", "VERSION 5.00\r\nBegin VB.Form Form1\r\nEnd\r\n" + threeLineModule("Form1"));
  temp.writeFile("proj/modul1.BAS", threeLineModule("Modul1"));
  temp.writeFile("shared/Kunde.cls", "Sub K()\r\nEnd Sub\r\n");
  temp.writeFile("proj/ctl/Knopf.ctl", "VERSION 5.00\r\nBegin VB.UserControl K\r\nEnd\r\n" + threeLineModule("Knopf"));
  const fs::path huge = temp.writeFile("big/Riesig.bas", "");
  fs::resize_file(huge, kMaxSourceFileBytes + 1);  // sparse, costs no disk space
  const fs::path missing = temp.writeFile("proj/Kaputt.vbp", "Form=Form1.frm\r\nModule=Nix; ..\\fehlt\\Nix.bas\r\n");
  DocumentHost host;
  host.open(temp.writeFile(
      "proj/Projekt.vbp",
      "Type=Exe\r\nReference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE\r\nForm=Form1.frm\r\n"
      "Module=Modul1; Modul1.bas\r\nClass=KundeAusDatei; ..\\shared\\Kunde.cls\r\nUserControl=ctl\\Knopf.ctl\r\n"
      "Name=\"Projekt1\"\r\n"));
  host.open(missing);
  host.open(temp.writeFile("proj/Ordner.vbp", "Module=Geteilt; ..\\shared\r\n"));  // a folder as module
  host.open(temp.path() / "gibt-es-nicht.vbp");
  host.open(temp.writeFile("liesmich.txt", "hello"));
  host.open(temp.path() / "big");
  ASSERT_TRUE(host.attach());
  ASSERT_EQ(host.projectCount(), 6);
  const LoadedProject& project = host.loadedProject(1);
  EXPECT_EQ(project.loadError() + project.name(), "Projekt");
  EXPECT_EQ(componentNames(project), (std::vector<std::string>{"Form1", "Modul1", "KundeAusDatei", "Knopf"}));
  EXPECT_EQ(project.component(3).type(), kClassModule);
  EXPECT_EQ(project.component(4).type(), kDesignerComponent);
  const std::vector<DocumentLoadError> errors = host.loadErrors();
  ASSERT_EQ(errors.size(), 5u);
  EXPECT_EQ(errors[0].document, missing);
  EXPECT_TRUE(errors[0].message.starts_with("Das Projekt konnte nicht gelesen werden.")) << errors[0].message;
  EXPECT_EQ(errors[1].document.filename(), "Ordner.vbp");
  const std::pair<std::size_t, const char*> reasons[] = {{0, "..\\fehlt\\Nix.bas"}, {0, "Kaputt.vbp"},
                                                         {2, "wurde nicht gefunden"}, {3, "liesmich.txt"},
                                                         {4, "Riesig.bas\" ist zu groß"}};
  for (const auto& [index, part] : reasons) {
    EXPECT_NE(errors[index].message.find(part), std::string::npos) << errors[index].message;
  }
  EXPECT_EQ(host.loadedProject(2).name() + std::to_string(host.loadedProject(2).componentCount()), "Kaputt0");
  EXPECT_EQ(host.loadedProject(6).name(), "big");
  // Unreadable documents stay in the tree with their reason and cannot be ticked.
  HostTree tree;
  ASSERT_TRUE(fillHostTree(host, tree));
  ASSERT_EQ(tree.nodes.size(), 10u);
  EXPECT_EQ(tree.nodes[0].text, "Projekt [Projekt.vbp]");
  EXPECT_EQ(tree.nodes[3].key, "A1\\KundeAusDatei");  // two lines, but code: listed
  EXPECT_EQ(tree.nodes[4].key + tree.nodes[4].image, "A1\\KnopfXXX");
  EXPECT_EQ(tree.nodes[5].key + " " + tree.nodes[5].text, "A2\\ Kaputt.vbp: " + errors[0].message);
  EXPECT_FALSE(tree.nodes[5].checkable);
  EXPECT_EQ(tree.nodes[0].image + " " + tree.nodes[5].image, "Fahne Warnung");  // an error is no project
  setTicked(tree, 5, true);
  EXPECT_FALSE(anyTicked(tree));
  EXPECT_EQ(tree.nodes.back().key, "A6\\");
}

TEST(DocumentHost, EveryCorpusFolderListsWithoutError) {
  const fs::path corpus = CQ_CORPUS_DIR;
  if (!fs::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  long modulesListed = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(corpus)) {
    if (!entry.is_directory()) continue;
    DocumentHost host;
    host.open(entry.path());
    HostTree tree;
    ASSERT_TRUE(fillHostTree(host, tree)) << entry.path();
    EXPECT_TRUE(host.loadErrors().empty()) << entry.path() << ": " << host.loadErrors().front().message;
    for (const LoadedComponent& component : host.loadedProject(1).components()) {
      const std::string code = component.lines(1, component.countOfLines());
      EXPECT_EQ(code.find("\nAttribute VB_"), std::string::npos) << component.name();
      EXPECT_EQ(countOccurrences(code, "\n"), countOccurrences(code, "\r\n")) << component.name();
    }
    for (const HostTreeNode& node : tree.nodes) modulesListed += node.parent != kNoParent;
  }
  EXPECT_GT(modulesListed, 100);
}

using test::FakeHost;
using test::FakeProject;

LoadedComponent component(const std::string& name, int type, const std::string& code) {
  return LoadedComponent(name, type, ModuleCode(code));
}

LoadedComponent component(const std::string& name, int type, long lines) {
  std::string code;
  for (long i = 0; i < lines; ++i) code += "' line\r\n";
  return component(name, type, code);
}

std::string keys(const HostTree& tree) {
  std::string result;
  for (const HostTreeNode& node : tree.nodes) result += node.key + " ";
  return result;
}

std::string ticks(const HostTree& tree) {
  std::string result;
  for (const HostTreeNode& node : tree.nodes) result += node.checked ? 'x' : '.';
  return result;
}

TEST(HostTree, TypeCodesAndDisplayNames) {
  const std::tuple<int, const char*, const char*> cases[] = {
      {kDocumentModule, "FORM_Kunden", "1 Kunden M1"},       {kDocumentModule, "report_Umsatz", "6 Umsatz M6"},
      {kDocumentModule, "ThisWorkbook", "5 ThisWorkbook M5"}, {kDocumentModule, "Form_", "1  M1"},
      {kDocumentModule, "Form", "5 Form M5"},                 {kStandardModule, "Form_X", "2 Form_X M2"},
      {kClassModule, "Report_X", "3 Report_X M3"},            {kUserForm, "UserForm1", "1 UserForm1 M1"},
      {11, "Designer1", "32 Designer1 XXX"},                  {0, "X", "32 X XXX"}};
  for (const auto& [type, name, expected] : cases) {
    const ModuleKind k = moduleKindOf(type, name);
    EXPECT_EQ(std::to_string(moduleTypeCode(k.type)) + " " + k.displayName + " " + imageKeyOfModuleType(k.type), expected);
  }
}

// Empty modules are those of nothing but Option lines, attribute lines and
// blank lines; a module of one constant is no empty module.
TEST(HostTree, FillingSkipsLockedProjectsAndEmptyModulesAndSaysWhenNothingIsLeft) {
  FakeHost host;
  FakeProject& first = host.add("/daten/Kunden.accdb", "Kunden");
  first.addComponent(component("Form_Kunden", kDocumentModule, 1));
  first.addComponent(component("Optionen", kStandardModule, "Option Explicit\r\n\r\n  option compare text\r\n\t\r\n"));
  first.addComponent(component("Report_Umsatz", kDocumentModule, 10));
  host.add("/daten/Geheim.accdb", "Geheim").locked = true;
  host.projects.back()->addComponent(component("Modul1", kStandardModule, 5));
  FakeProject& third = host.add("/daten/Neu.accdb", "Neu");
  third.saved = false;
  third.addComponent(component("Modul1", kStandardModule, 3));
  third.addComponent(component("Konstanten", kStandardModule, "Option Explicit\r\nPublic Const APP_VERSION = \"5.1\"\r\n"));
  third.addComponent(component("Attribute", kClassModule, "Attribute VB_Exposed = False\r\n"));
  FakeProject& empty = host.add("/daten/Leer.accdb", "Leer");
  empty.addComponent(component("Leer", kStandardModule, ""));
  empty.addComponent(component("Kurz", kStandardModule, "Option Explicit"));
  HostTree tree;
  tree.tag = "Kunden";
  ASSERT_TRUE(fillHostTree(host, tree));
  EXPECT_EQ(keys(tree), "A1\\ A1\\Form_Kunden A1\\Report_Umsatz A3\\ A3\\Modul1 A3\\Konstanten A4\\ ");
  // A project with no module that holds code stays, with the reason, and cannot be ticked.
  EXPECT_EQ(tree.nodes[6].text + "|" + tree.nodes[6].image, "Leer.accdb: enthält kein Modul mit Code|Warnung");
  EXPECT_FALSE(tree.nodes[6].checkable);
  EXPECT_EQ(tree.nodes[0].text + "|" + tree.nodes[0].image, "Kunden [Kunden.accdb]|Fahne");
  EXPECT_EQ(tree.nodes[2].text + "|" + tree.nodes[2].image, "Umsatz|M6");
  EXPECT_EQ(tree.nodes[0].children, (std::vector<std::size_t>{1, 2}));
  EXPECT_EQ(tree.nodes[3].text, "Neu [Nicht gespeichert]");
  EXPECT_EQ(tree.nodes[4].parent, 3u);
  EXPECT_EQ(tree.tag, "Kunden");  // refilling keeps the name of the project last read
  host.running = false;  // refilling starts from scratch; a host not running leaves it empty
  const Outcome<HostTreeFill> notRunning = fillHostTree(host, tree);
  ASSERT_TRUE(notRunning);
  EXPECT_FALSE(notRunning->attached);
  EXPECT_TRUE(tree.nodes.empty());
  // A failure during the walk keeps the nodes added so far, the failing project's too, and says why.
  host.running = true;
  third.failing = true;
  const Outcome<HostTreeFill> failed = fillHostTree(host, tree);
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.failure().text(), "Zugriff verweigert");
  EXPECT_EQ(keys(tree), "A1\\ A1\\Form_Kunden A1\\Report_Umsatz A3\\ ");
}

TEST(HostTree, TickingKeepsToOneProject) {
  FakeHost host;
  for (int i = 1; i <= 11; ++i) {
    const std::string number = std::to_string(i);
    FakeProject& project = host.add("/p/Mappe" + number + ".xlsm", "P" + number);
    if (i == 1 || i == 2 || i == 11) {
      project.addComponent(component("M", kStandardModule, 3));
      project.addComponent(component("N", kClassModule, 3));
    } else {
      project.locked = true;  // not listed
    }
  }
  HostTree tree;
  ASSERT_TRUE(fillHostTree(host, tree));
  ASSERT_EQ(keys(tree), "A1\\ A1\\M A1\\N A2\\ A2\\M A2\\N A11\\ A11\\M A11\\N ");
  // Each step: node to tick, then the ticks expected; A1\ must not count A11\ as its own.
  const std::tuple<std::size_t, bool, const char*> steps[] = {
      {1, true, ".x......."}, {8, true, "........x"}, {7, true, ".......xx"}, {2, true, "..x......"},
      {3, true, "...xxx..."}, {3, false, "........."}, {4, true, "....x...."}, {99, true, "....x...."}};
  for (const auto& [node, ticked, expected] : steps) {
    setTicked(tree, node, ticked);
    EXPECT_EQ(ticks(tree), expected) << node;
  }
  EXPECT_TRUE(anyTicked(tree));
  setTicked(tree, 4, false);
  EXPECT_FALSE(anyTicked(tree));
}

}  // namespace
}  // namespace cq
