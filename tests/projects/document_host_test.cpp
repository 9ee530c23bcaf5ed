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
  EXPECT_FALSE(host.open(temp.path() / "Code" / "." ));
  ASSERT_TRUE(host.attach());
  ASSERT_EQ(host.projectCount(), 1);
  EXPECT_EQ(host.project(1).component(1).countOfLines(), 3);
  EXPECT_THROW(host.project(2), HostError);

  temp.writeFile("Code/m.bas", threeLineModule("Modul1") + "Sub B()\r\nEnd Sub\r\n");
  ASSERT_TRUE(host.attach());
  EXPECT_EQ(host.project(1).component(1).countOfLines(), 5);
}

TEST(DocumentHost, FolderOfModuleFiles) {
  test::TempFolder temp;
  temp.writeFile("Mappe/b.bas", threeLineModule("Modul_B"));
  temp.writeFile("Mappe/A.cls",
                 "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n" + threeLineModule("Kunde"));
  temp.writeFile("Mappe/ThisWorkbook.cls",
                 "Attribute VB_Name = \"ThisWorkbook\"\nAttribute VB_Base = \"0{00020819-0000-0000-C000-000000000046}\"\n"
                 "Private Sub Workbook_Open()\n  x = 1\nEnd Sub\n");
  temp.writeFile("Mappe/sub/c.FRM",
                 "VERSION 5.00\r\nBegin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} Form1\r\nEnd\r\n" +
                     threeLineModule("Form1"));
  temp.writeFile("Mappe/sub.bas", threeLineModule("Unterstrich"));
  temp.writeFile("Mappe/e.bas", "' no header at all\r\nSub E()\r\nEnd Sub\r\n");
  temp.writeFile("Mappe/Z.bas", "\xEF\xBB\xBF" "Sub Z()\n  s = \"\xE2\x82\xAC \xE4\xB8\xAD\"\nEnd Sub\n");
  temp.writeFile("Mappe/z.bas", "Sub z()\r\n  s = \"\xE4\"\r\nEnd Sub\r\n");
  temp.writeFile("Mappe/notes.txt", "not a module");

  DocumentHost host;
  host.open(temp.path() / "Mappe");
  ASSERT_TRUE(host.attach());
  EXPECT_TRUE(host.loadErrors().empty());
  const LoadedProject& project = host.loadedProject(1);
  EXPECT_EQ(project.name(), "Mappe");
  EXPECT_EQ(project.fileName(), (temp.path() / "Mappe").string());
  EXPECT_FALSE(project.protection());
  // Relative paths compared ignoring case: "." sorts before "/", "Z" before "z".
  // A name taken already (ignoring case) gets a number, so each file stays readable.
  EXPECT_EQ(componentNames(project), (std::vector<std::string>{"Kunde", "Modul_B", "e", "Unterstrich", "Form1",
                                                                "ThisWorkbook", "Z", "z (2)"}));
  EXPECT_EQ(project.component("kunde").type(), kClassModule);
  EXPECT_EQ(project.component("Modul_B").type(), kStandardModule);
  EXPECT_EQ(project.component("Form1").type(), kUserForm);
  EXPECT_EQ(project.component("ThisWorkbook").type(), kDocumentModule);
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
  const HostTreeNode& workbook = tree.nodes[6];
  EXPECT_EQ(workbook.key, "A1\\ThisWorkbook");
  EXPECT_EQ(workbook.text, "ThisWorkbook");
  EXPECT_EQ(workbook.image, "M5");
  EXPECT_EQ(tree.nodes[5].image, "M1");
}

TEST(DocumentHost, VisualBasicProjectFile) {
  test::TempFolder temp;
  temp.writeFile("proj/Form1.frm", "VERSION 5.00\r\nBegin VB.Form Form1\r\nEnd\r\n" + threeLineModule("Form1"));
  temp.writeFile("proj/modul1.BAS", threeLineModule("Modul1"));
  temp.writeFile("shared/Kunde.cls", "Sub K()\r\nEnd Sub\r\n");
  temp.writeFile("proj/ctl/Knopf.ctl", "VERSION 5.00\r\nBegin VB.UserControl Knopf\r\nEnd\r\n" +
                                           threeLineModule("Knopf"));
  const fs::path vbp = temp.writeFile("proj/Projekt.vbp",
                                      "Type=Exe\r\n"
                                      "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE\r\n"
                                      "Form=Form1.frm\r\n"
                                      "Module=Modul1; Modul1.bas\r\n"
                                      "Class=KundeAusDatei; ..\\shared\\Kunde.cls\r\n"
                                      "UserControl=ctl\\Knopf.ctl\r\n"
                                      "Name=\"Projekt1\"\r\n");
  const fs::path missing = temp.writeFile("proj/Kaputt.vbp", "Form=Form1.frm\r\nModule=Nix; ..\\fehlt\\Nix.bas\r\n");
  const fs::path folderAsModule = temp.writeFile("proj/Ordner.vbp", "Module=Geteilt; ..\\shared\r\n");

  DocumentHost host;
  host.open(vbp);
  host.open(missing);
  host.open(folderAsModule);
  ASSERT_TRUE(host.attach());
  ASSERT_EQ(host.projectCount(), 3);

  const LoadedProject& project = host.loadedProject(1);
  EXPECT_EQ(project.loadError(), "");
  EXPECT_EQ(project.name(), "Projekt");
  EXPECT_EQ(componentNames(project), (std::vector<std::string>{"Form1", "Modul1", "KundeAusDatei", "Knopf"}));
  EXPECT_EQ(project.component(1).type(), kUserForm);
  EXPECT_EQ(project.component(2).type(), kStandardModule);
  EXPECT_EQ(project.component(3).type(), kClassModule);
  EXPECT_EQ(project.component(4).type(), kDesignerComponent);

  const std::vector<DocumentLoadError> errors = host.loadErrors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].document, missing);
  EXPECT_TRUE(errors[0].message.starts_with("Das Projekt konnte nicht gelesen werden.")) << errors[0].message;
  EXPECT_NE(errors[0].message.find("..\\fehlt\\Nix.bas"), std::string::npos) << errors[0].message;
  EXPECT_NE(errors[0].message.find("Kaputt.vbp"), std::string::npos) << errors[0].message;
  EXPECT_EQ(host.loadedProject(2).componentCount(), 0);
  EXPECT_EQ(host.loadedProject(2).name(), "Kaputt");
  EXPECT_EQ(errors[1].document, folderAsModule);

  // Unreadable documents stay in the tree with their reason and cannot be ticked.
  HostTree tree;
  ASSERT_TRUE(fillHostTree(host, tree));
  ASSERT_EQ(tree.nodes.size(), 6u);
  EXPECT_EQ(tree.nodes[0].text, "Projekt [Projekt.vbp]");
  EXPECT_EQ(tree.nodes[2].key, "A1\\Modul1");
  EXPECT_EQ(tree.nodes[3].text, "Knopf");  // the two-line class before it is not listed
  EXPECT_EQ(tree.nodes[3].image, "XXX");
  const HostTreeNode& kaputt = tree.nodes[4];
  EXPECT_EQ(kaputt.key, "A2\\");
  EXPECT_EQ(kaputt.text, "Kaputt.vbp: " + errors[0].message);
  EXPECT_TRUE(kaputt.children.empty());
  EXPECT_FALSE(kaputt.checkable);
  setTicked(tree, 4, true);
  EXPECT_FALSE(anyTicked(tree));
  EXPECT_EQ(tree.nodes.back().key, "A3\\");
}

TEST(DocumentHost, BadDocumentsAreListedWithTheirReason) {
  test::TempFolder temp;
  const fs::path text = temp.writeFile("liesmich.txt", "hello");
  const fs::path huge = temp.writeFile("big/Riesig.bas", "");
  fs::resize_file(huge, kMaxSourceFileBytes + 1);  // sparse, costs no disk space

  DocumentHost host;
  host.open(temp.path() / "gibt-es-nicht.vbp");
  host.open(text);
  host.open(temp.path() / "big");
  ASSERT_TRUE(host.attach());
  const std::vector<DocumentLoadError> errors = host.loadErrors();
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_NE(errors[0].message.find("wurde nicht gefunden"), std::string::npos) << errors[0].message;
  EXPECT_NE(errors[1].message.find("liesmich.txt"), std::string::npos) << errors[1].message;
  EXPECT_NE(errors[2].message.find("Riesig.bas\" ist zu gro\xDF"), std::string::npos) << errors[2].message;
  EXPECT_EQ(host.loadedProject(3).name(), "big");
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
    const HostTreeFill fill = fillHostTree(host, tree);
    ASSERT_TRUE(fill) << entry.path() << ": " << fill.error;
    EXPECT_TRUE(host.loadErrors().empty()) << entry.path() << ": " << host.loadErrors().front().message;

    const LoadedProject& project = host.loadedProject(1);
    for (const LoadedComponent& component : project.components()) {
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
