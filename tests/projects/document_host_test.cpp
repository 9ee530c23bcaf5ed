#include "projects/document_host.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "projects/host_tree.h"
#include "projects/module_file.h"
#include "projects/source_file.h"
#include "render/text_replace.h"
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
  ASSERT_EQ(host.projectCount(), 1);
  EXPECT_EQ(host.project(1).component(1).countOfLines(), 3);
  EXPECT_THROW(host.project(2), HostError);

  // Attaching again keeps what was read; after forgetRead() it reads the disk anew.
  temp.writeFile("Code/m.bas", threeLineModule("Modul1") + "Sub B()\r\nEnd Sub\r\n");
  ASSERT_TRUE(host.attach());
  EXPECT_EQ(host.project(1).component(1).countOfLines(), 3);
  host.forgetRead();
  ASSERT_TRUE(host.attach());
  ASSERT_EQ(host.projectCount(), 1);
  EXPECT_EQ(host.project(1).component(1).countOfLines(), 5);
}

TEST(DocumentHost, FolderOfModuleFiles) {
  test::TempFolder temp;
  const std::pair<std::string, std::string> files[] = {
      {"b.bas", threeLineModule("Modul_B")},
      {"A.cls", "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n" + threeLineModule("Kunde")},
      {"ThisWorkbook.cls", "Attribute VB_Name = \"ThisWorkbook\"\nAttribute VB_Base = \"0{00020819-0000-0000-C000-000000000046}\"\n"
                           "Private Sub Workbook_Open()\n  x = 1\nEnd Sub\n"},
      {"sub/c.FRM", "VERSION 5.00\r\nBegin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} Form1\r\nEnd\r\n" + threeLineModule("Form1")},
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
  EXPECT_EQ(project.name(), "Mappe");
  EXPECT_EQ(project.fileName(), (temp.path() / "Mappe").string());
  // Relative paths compared ignoring case: "." sorts before "/", "Z" before "z".
  // A name taken already (ignoring case) gets a number, so each file stays readable.
  EXPECT_EQ(componentNames(project), (std::vector<std::string>{"Kunde", "Modul_B", "e", "Unterstrich", "Form1",
                                                                "ThisWorkbook", "Z", "z (2)"}));
  for (const auto& [name, type] : {std::pair<const char*, int>{"kunde", kClassModule}, {"Modul_B", kStandardModule},
                                   {"Form1", kUserForm}, {"ThisWorkbook", kDocumentModule}}) {
    EXPECT_EQ(project.component(name).type(), type) << name;
  }
  EXPECT_THROW(project.component("Fehlt"), HostError);
  EXPECT_EQ(project.component("Kunde").lines(1, 3), "Sub A()\r\n  x = 1\r\nEnd Sub");
  EXPECT_EQ(project.component("ThisWorkbook").lines(1, 1), "Private Sub Workbook_Open()");
  EXPECT_EQ(project.component("e").countOfLines(), 3);
  EXPECT_EQ(project.component("Z").lines(2, 1), "  s = \"\x80 ?\"");
  EXPECT_EQ(project.components()[7].lines(2, 1), "  s = \"\xE4\"");
  EXPECT_EQ(&project.component("z"), &project.components()[6]);  // names ignore case
  EXPECT_EQ(&project.component("z (2)"), &project.components()[7]);
  EXPECT_EQ(project.components()[6].replacedCharacters(), 1u);
  EXPECT_EQ(project.replacedCharacters(), 1u);

  HostTree tree;
  ASSERT_TRUE(fillHostTree(host, tree));
  ASSERT_EQ(tree.nodes.size(), 9u);
  EXPECT_EQ(tree.nodes[0].text, "Mappe [Mappe]");
  EXPECT_EQ(tree.nodes[6].key, "A1\\ThisWorkbook");
  EXPECT_EQ(tree.nodes[6].image + tree.nodes[5].image, "M5M1");
}

TEST(DocumentHost, ProjectFilesAndBadDocumentsAreListedWithTheirReason) {
  test::TempFolder temp;
  temp.writeFile("proj/Form1.frm", "VERSION 5.00\r\nBegin VB.Form Form1\r\nEnd\r\n" + threeLineModule("Form1"));
  temp.writeFile("proj/modul1.BAS", threeLineModule("Modul1"));
  temp.writeFile("shared/Kunde.cls", "Sub K()\r\nEnd Sub\r\n");
  temp.writeFile("proj/ctl/Knopf.ctl", "VERSION 5.00\r\nBegin VB.UserControl Knopf\r\nEnd\r\n" + threeLineModule("Knopf"));
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
  EXPECT_EQ(project.loadError(), "");
  EXPECT_EQ(project.name(), "Projekt");
  EXPECT_EQ(componentNames(project), (std::vector<std::string>{"Form1", "Modul1", "KundeAusDatei", "Knopf"}));
  const int types[] = {kUserForm, kStandardModule, kClassModule, kDesignerComponent};
  for (long i = 1; i <= 4; ++i) EXPECT_EQ(project.component(i).type(), types[i - 1]) << i;

  const std::vector<DocumentLoadError> errors = host.loadErrors();
  ASSERT_EQ(errors.size(), 5u);
  EXPECT_EQ(errors[0].document, missing);
  EXPECT_TRUE(errors[0].message.starts_with("Das Projekt konnte nicht gelesen werden.")) << errors[0].message;
  for (const char* part : {"..\\fehlt\\Nix.bas", "Kaputt.vbp"}) EXPECT_NE(errors[0].message.find(part), std::string::npos);
  EXPECT_EQ(host.loadedProject(2).componentCount(), 0);
  EXPECT_EQ(host.loadedProject(2).name(), "Kaputt");
  EXPECT_EQ(errors[1].document.filename(), "Ordner.vbp");
  EXPECT_NE(errors[2].message.find("wurde nicht gefunden"), std::string::npos) << errors[2].message;
  EXPECT_NE(errors[3].message.find("liesmich.txt"), std::string::npos) << errors[3].message;
  EXPECT_NE(errors[4].message.find("Riesig.bas\" ist zu gro\xDF"), std::string::npos) << errors[4].message;
  EXPECT_EQ(host.loadedProject(6).name(), "big");

  // Unreadable documents stay in the tree with their reason and cannot be ticked.
  HostTree tree;
  ASSERT_TRUE(fillHostTree(host, tree));
  ASSERT_EQ(tree.nodes.size(), 9u);
  EXPECT_EQ(tree.nodes[0].text, "Projekt [Projekt.vbp]");
  EXPECT_EQ(tree.nodes[3].key, "A1\\Knopf");  // the two-line class before it is not listed
  EXPECT_EQ(tree.nodes[3].image, "XXX");
  EXPECT_EQ(tree.nodes[4].key, "A2\\");
  EXPECT_EQ(tree.nodes[4].text, "Kaputt.vbp: " + errors[0].message);
  EXPECT_TRUE(tree.nodes[4].children.empty());
  EXPECT_FALSE(tree.nodes[4].checkable);
  setTicked(tree, 4, true);
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
      EXPECT_EQ(countOccurrences(code, "\r\n") + (code.empty() && component.countOfLines() == 0 ? 0 : 1),
                static_cast<std::size_t>(component.countOfLines()))
          << component.name();
      EXPECT_EQ(code.find("\nAttribute VB_"), std::string::npos) << component.name();
      EXPECT_EQ(countOccurrences(code, "\n"), countOccurrences(code, "\r\n")) << component.name();
    }
    for (const HostTreeNode& node : tree.nodes) modulesListed += node.parent != kNoParent;
  }
  EXPECT_GT(modulesListed, 100);
}

}  // namespace
}  // namespace cq
