#include "projects/host_tree.h"

#include <gtest/gtest.h>

#include <memory>

#include "projects/loaded_project.h"
#include "support/fake_host.h"

namespace cq {
namespace {

using test::FakeHost;
using test::FakeProject;

LoadedComponent component(const std::string& name, int type, long lines) {
  std::string code;
  for (long i = 0; i < lines; ++i) code += "' line\r\n";
  return LoadedComponent(name, type, ModuleCode(code));
}

std::vector<std::string> keys(const HostTree& tree) {
  std::vector<std::string> result;
  for (const HostTreeNode& node : tree.nodes) result.push_back(node.key);
  return result;
}

std::vector<bool> ticks(const HostTree& tree) {
  std::vector<bool> result;
  for (const HostTreeNode& node : tree.nodes) result.push_back(node.checked);
  return result;
}

TEST(HostTree, TypeCodesAndDisplayNames) {
  const auto kind = [](int type, std::string_view name) {
    const ModuleKind k = moduleKindOf(type, name);
    return std::to_string(k.typeCode) + " " + k.displayName + " " + imageKeyOfTypeCode(k.typeCode);
  };
  EXPECT_EQ(kind(kDocumentModule, "Form_Kunden"), "1 Kunden M1");
  EXPECT_EQ(kind(kDocumentModule, "FORM_Kunden"), "1 Kunden M1");
  EXPECT_EQ(kind(kDocumentModule, "Report_Umsatz"), "6 Umsatz M6");
  EXPECT_EQ(kind(kDocumentModule, "report_Umsatz"), "6 Umsatz M6");
  EXPECT_EQ(kind(kDocumentModule, "ThisWorkbook"), "5 ThisWorkbook M5");
  EXPECT_EQ(kind(kDocumentModule, "Form_"), "1  M1");
  EXPECT_EQ(kind(kDocumentModule, "Form"), "5 Form M5");
  EXPECT_EQ(kind(kStandardModule, "Form_X"), "2 Form_X M2");
  EXPECT_EQ(kind(kClassModule, "Report_X"), "3 Report_X M3");
  EXPECT_EQ(kind(kUserForm, "UserForm1"), "1 UserForm1 M1");
  EXPECT_EQ(kind(11, "Designer1"), "32 Designer1 XXX");
  EXPECT_EQ(kind(0, "X"), "32 X XXX");
}

TEST(HostTree, FillingSkipsLockedProjectsAndShortModules) {
  FakeHost host;
  FakeProject& first = host.add("/daten/Kunden.accdb", "Kunden");
  first.addComponent(component("Form_Kunden", kDocumentModule, 3));
  first.addComponent(component("Optionen", kStandardModule, 2));
  first.addComponent(component("Report_Umsatz", kDocumentModule, 10));
  host.add("/daten/Geheim.accdb", "Geheim").locked = true;
  host.projects.back()->addComponent(component("Modul1", kStandardModule, 5));
  FakeProject& third = host.add("/daten/Neu.accdb", "Neu");
  third.saved = false;
  third.addComponent(component("Modul1", kStandardModule, 3));
  host.add("/daten/Leer.accdb", "Leer").addComponent(component("Kurz", kStandardModule, 2));

  HostTree tree;
  tree.tag = "Kunden";
  const HostTreeFill fill = fillHostTree(host, tree);
  ASSERT_TRUE(fill);
  EXPECT_EQ(keys(tree), (std::vector<std::string>{"A1\\", "A1\\Form_Kunden", "A1\\Report_Umsatz", "A3\\",
                                                   "A3\\Modul1"}));
  EXPECT_EQ(tree.nodes[0].text, "Kunden [Kunden.accdb]");
  EXPECT_EQ(tree.nodes[0].image, "Fahne");
  EXPECT_EQ(tree.nodes[1].text, "Kunden");
  EXPECT_EQ(tree.nodes[1].image, "M1");
  EXPECT_EQ(tree.nodes[2].text, "Umsatz");
  EXPECT_EQ(tree.nodes[2].image, "M6");
  EXPECT_EQ(tree.nodes[2].parent, 0u);
  EXPECT_EQ(tree.nodes[0].children, (std::vector<std::size_t>{1, 2}));
  EXPECT_EQ(tree.nodes[3].text, "Neu [Nicht gespeichert]");
  EXPECT_EQ(tree.nodes[4].parent, 3u);
  EXPECT_EQ(tree.tag, "Kunden");  // refilling keeps the name of the project last read

  // Refilling starts from scratch; a host that is not running leaves it empty.
  host.running = false;
  const HostTreeFill notRunning = fillHostTree(host, tree);
  EXPECT_FALSE(notRunning);
  EXPECT_EQ(notRunning.error, "");
  EXPECT_TRUE(tree.nodes.empty());

  // A failure during the walk keeps the nodes added so far, even the node of the
  // project being read, and says why.
  host.running = true;
  third.failing = true;
  const HostTreeFill failed = fillHostTree(host, tree);
  EXPECT_FALSE(failed);
  EXPECT_EQ(failed.error, "Zugriff verweigert");
  EXPECT_EQ(keys(tree), (std::vector<std::string>{"A1\\", "A1\\Form_Kunden", "A1\\Report_Umsatz", "A3\\"}));
}

TEST(HostTree, TickingKeepsToOneProject) {
  FakeHost host;
  for (int i = 1; i <= 11; ++i) {
    const std::string number = std::to_string(i);
    FakeProject& project = host.add("/p/Mappe" + number + ".xlsm", "P" + number);
    if (i == 1 || i == 2 || i == 11) {
      project.addComponent(component("M", kStandardModule, 3));
      project.addComponent(component("N", kClassModule, 3));
    }
  }
  HostTree tree;
  ASSERT_TRUE(fillHostTree(host, tree));
  ASSERT_EQ(keys(tree), (std::vector<std::string>{"A1\\", "A1\\M", "A1\\N", "A2\\", "A2\\M", "A2\\N", "A11\\",
                                                   "A11\\M", "A11\\N"}));
  EXPECT_FALSE(anyTicked(tree));

  setTicked(tree, 1, true);  // A1\M
  setTicked(tree, 8, true);  // A11\N unticks A1\ ...
  EXPECT_EQ(ticks(tree), (std::vector<bool>{false, false, false, false, false, false, false, false, true}));
  setTicked(tree, 7, true);  // ... and ticking within A11\ keeps A11\N
  EXPECT_EQ(ticks(tree), (std::vector<bool>{false, false, false, false, false, false, false, true, true}));
  setTicked(tree, 2, true);  // A1\ does not count A11\ as its own
  EXPECT_EQ(ticks(tree), (std::vector<bool>{false, false, true, false, false, false, false, false, false}));

  setTicked(tree, 3, true);  // a project node ticks all its modules
  EXPECT_EQ(ticks(tree), (std::vector<bool>{false, false, false, true, true, true, false, false, false}));
  setTicked(tree, 3, false);
  EXPECT_FALSE(anyTicked(tree));

  setTicked(tree, 4, true);
  setTicked(tree, 99, true);  // no such node: nothing changes
  EXPECT_TRUE(anyTicked(tree));
  setTicked(tree, 4, false);
  EXPECT_FALSE(anyTicked(tree));
}

}  // namespace
}  // namespace cq
