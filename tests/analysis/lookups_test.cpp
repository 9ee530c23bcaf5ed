// The call search, the references of the uncalled-routine report and go to
// definition: what counts as a place naming a routine, which modules are
// searched, and which routine a name leads to.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/call_search.h"
#include "analysis/definition_lookup.h"
#include "analysis/reference_finder.h"
#include "codedb/code_database_index.h"
#include "codedb/sqlite_statement.h"
#include "projectfolder/module_texts.h"
#include "render/markup.h"
#include "support/module_markup.h"
#include "support/navigation_project.h"
#include "support/sample_project.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

// Code as its module file holds it: marked up and scanned (routine lines bold).
std::string moduleFileOf(std::string_view code) {
  NullScanSink sink;
  return test::markUpAsModuleFile(code, sink);
}

TEST(CallLines, CountWholeNamesOutsideRunsWithTheirLines) {
  const std::string code =
      "Sub Foo()\r\n"                    // 1 header: a bold line
      "    Foo 1\r\n"                    // 2
      "    FooBar\r\n"                   // 3
      "    x.Foo(2)\r\n"                 // 4
      "    y = Foo1 + _Foo + Foo_\r\n"   // 5 none of them
      "    ' Foo im Kommentar\r\n"       // 6
      "    s = \"Foo\" & foo\r\n"        // 7 neither the literal nor the other case
      "    Call Foo: Foo\r\n"            // 8 twice
      "End Sub\r\n"                      // 9
      "Sub Lang(ByVal a As Long, _\r\n"  // 10 a header continued over two lines
      "         ByVal b As Long)\r\n"    // 11
      "    Größ"
      "er = Größ"
      "e: Foo\r\n"  // 12
      "End Sub\r\n";
  const std::string marked = moduleFileOf(code);
  EXPECT_EQ(callLines(marked, "Foo"), (std::vector<std::int64_t>{2, 4, 8, 8, 12}));
  EXPECT_EQ(callLines(marked,
                      "Größ"
                      "e"),
            (std::vector<std::int64_t>{12}));
  EXPECT_EQ(callLines(marked, "FooBar"), (std::vector<std::int64_t>{3}));
  EXPECT_TRUE(callLines(marked, "Lang").empty()) << "named in its own header only";
  EXPECT_TRUE(callLines(marked, "Kommentar").empty());
  EXPECT_TRUE(callLines(marked, "").empty());
  // A run that never closes reaches to the end of the text.
  EXPECT_EQ(callLines("Foo\r\n|Ÿ"
                      "k|' Foo\r\nFoo",
                      "Foo"),
            (std::vector<std::int64_t>{1}));
}

TEST(CallLines, TheBodyOfAOneLineRoutineCallsButNotItsHeaderOrEnd) {
  const std::string code =
      "Private Sub X(): SetHoveredControl Me: End Sub\r\n"                // 1
      "Sub Y(Optional s = \"a:b\") : Call Z(\"Q\"): Q: End Sub ' Z\r\n"  // 2
      "Function F(): F = G: End Function\r\n"                              // 3
      "Sub Leer(): End Sub\r\n"                                            // 4
      "Declare Sub Ext Lib \"k:x\" ()\r\n"                                  // 5 no body
      "Sub SetHoveredControl(c)\r\n"                                        // 6
      "End Sub\r\n";
  const std::string marked = moduleFileOf(code);
  EXPECT_EQ(callLines(marked, "SetHoveredControl"), (std::vector<std::int64_t>{1}));
  EXPECT_EQ(callLines(marked, "Z"), (std::vector<std::int64_t>{2})) << "the call, not the comment";
  EXPECT_EQ(callLines(marked, "Q"), (std::vector<std::int64_t>{2}));
  EXPECT_EQ(callLines(marked, "G"), (std::vector<std::int64_t>{3}));
  EXPECT_EQ(callLines(marked, "F"), (std::vector<std::int64_t>{3})) << "the result, not the header";
  for (const char* name : {"X", "Y", "Leer", "Ext", "a", "b", "k", "x", "End"})
    EXPECT_TRUE(callLines(marked, name).empty()) << name;
}

TEST(References, NameBoundariesFollowTheReportsRules) {
  const std::string code =
      "Sub Test()\r\n"
      "    FooBar\r\n"  // FooBar only
      "    y = Foo1 + Foo_ + Ä"
      "Foo\r\n"            // none: a letter or digit after, a German letter before
      "    x.Foo\r\n"      // Foo
      "    z = a1Foo\r\n"  // Foo: a digit before does not join the words
      "    ' Foo\r\n"
      "    s = \"FooBar\"\r\n"
      "    Café = xCafé + Cafés\r\n"  // a name with a letter outside the identifier characters
      "End Sub\r\n";
  const std::string marked = moduleFileOf(code);
  const auto at = [&](std::string_view text) { return marked.find(text); };
  const std::vector<Reference> expected = {
      {at("FooBar"), "FooBar"}, {at("x.Foo") + 2, "Foo"}, {at("a1Foo") + 2, "Foo"}, {at("Café ="), "Café"}};
  EXPECT_EQ(findReferences(marked, {"Foo", "FooBar", "", "Foo", "Café", "Test"}), expected);
}

// The navigation project, read once for every test below.
class ProjectLookups : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    work_ = std::make_unique<test::TempFolder>();
    test::writeNavigationModules(work_->path() / "quellen");
    ASSERT_TRUE(test::readModuleFolder(work_->path() / "quellen", project()));
  }
  static void TearDownTestSuite() { work_.reset(); }
  static std::filesystem::path project() { return work_->path() / "projekt"; }

  void SetUp() override {
    database_ = CodeDatabase::open(project()).value();
    index_ = std::make_unique<CodeDatabaseIndex>(*database_);
  }

  // The call list as "key name" lines, module nodes flush left, routines indented.
  // Passing modules by their bytes changes nothing.
  std::vector<std::string> callers(std::string_view name, int module) {
    const std::vector<std::string> lines = callLines(name, module, {});
    EXPECT_EQ(callLines(name, module, moduleFilesMayHold(project())), lines) << name;
    return lines;
  }

  std::vector<std::string> callLines(std::string_view name, int module, const MayHoldText& mayHold) {
    const Outcome<CallList> list = findCallers(*index_, moduleFilesOf(project()), name, module, mayHold);
    if (!list) return {"failure: " + list.failure().text()};
    if (list->lookup != CallList::Lookup::kSearched) return {std::string(list->message())};
    std::vector<std::string> lines;
    for (const CallListNode& node : list->nodes)
      lines.push_back((node.isModule() ? "" : "  ") + node.key() + " " + node.name + " " + node.image());
    return lines;
  }

  std::string definition(std::string_view name, int module) {
    const auto target = findDefinition(*index_, name, module);
    if (!target) return "failure: " + target.failure().text();
    if (!target.value()) return "-";
    const DefinitionTarget& found = *target.value();
    return "M" + std::to_string(found.module) + " " + std::to_string(found.line) + " " + found.moduleName;
  }

  static std::unique_ptr<test::TempFolder> work_;
  std::unique_ptr<CodeDatabase> database_;
  std::unique_ptr<CodeIndex> index_;
};

std::unique_ptr<test::TempFolder> ProjectLookups::work_;

using Lines = std::vector<std::string>;

TEST_F(ProjectLookups, CallListNamesEachCallerOnceUnderItsModule) {
  // Foo: three calls in Helfer count once, FooBar's own header and x.Foo's
  // neighbour FooBar do not hide Foo, the literal and the comment do not count.
  EXPECT_EQ(callers("Foo", 1),
            (Lines{"M1 Andere M2", "  R1 Helfer R1O2", "  R3 FooBar R1O1", "M3 Haupt M2", "  R9 Start R1O1"}));
  // A routine that calls itself is in its own list; its header is not.
  EXPECT_EQ(callers("Rechne", 3), (Lines{"M3 Haupt M2", "  R9 Start R1O1", "  R13 Rechne R2O1"}));
  // A Private routine is searched for in its own module only.
  EXPECT_EQ(callers("Helfer", 3), (Lines{"M3 Haupt M2", "  R9 Start R1O1"}));
  EXPECT_EQ(callers("Helfer", 1), (Lines{"M1 Andere M2", "  R3 FooBar R1O1"}));
  // A Friend routine is called from another module.
  EXPECT_EQ(callers("Melde", 4), (Lines{"M3 Haupt M2", "  R9 Start R1O1"}));
  // Named only inside a literal: no list at all.
  EXPECT_TRUE(callers("Knopfdruck", 1).empty());
  EXPECT_TRUE(callers("Ungenutzt", 4).empty()) << "a variable of that name in another module";
}

TEST_F(ProjectLookups, CallListRefusesUnknownRoutinesAndProperties) {
  EXPECT_EQ(callers("Nirgends", 1), Lines{"Infos zu Routine nicht gefunden"});
  EXPECT_EQ(callers("Foo", 3), Lines{"Infos zu Routine nicht gefunden"}) << "looked up in the current module";
  EXPECT_EQ(callers("Wert", 4), Lines{"Property wird von der Routinensuche nicht unterstützt"});
  // The name is looked up ignoring case; the search is for the name as declared.
  EXPECT_EQ(callers("rechne", 3), callers("Rechne", 3));
}

TEST_F(ProjectLookups, DefinitionPrefersTheCurrentModuleAndNeverPrivateOnesElsewhere) {
  EXPECT_EQ(definition("Helfer", 1), "M1 3 ");
  EXPECT_EQ(definition("Helfer", 3), "M3 17 ");
  EXPECT_EQ(definition("Helfer", 2), "-") << "Private in two other modules";
  EXPECT_EQ(definition("Foo", 3), "M1 7 Andere");
  EXPECT_EQ(definition("Melde", 3), "M4 9 Klasse") << "Friend";
  EXPECT_EQ(definition("Wert", 1), "M4 27 Klasse") << "a property is a routine to go to";
  // The same public name in modules 4 and 5: the lower module number decides.
  EXPECT_EQ(definition("Zeige", 1), "M4 21 Klasse");
  EXPECT_EQ(definition("Zeige", 5), "M5 11 ");
  EXPECT_EQ(definition("mName", 3), "-") << "variables are no routines";
  EXPECT_EQ(definition("", 3), "-");
  EXPECT_EQ(definition("x' OR 1=1 --", 3), "-");
}

TEST(ProjectLookupFailures, AreReportedNotThrown) {
  test::TempFolder work;
  test::writeNavigationModules(work.path() / "quellen");
  const auto project = work.path() / "projekt";
  ASSERT_TRUE(test::readModuleFolder(work.path() / "quellen", project));
  auto database = CodeDatabase::open(project).value();
  CodeDatabaseIndex index(*database);

  // A module file gone missing ends the call list with the reader's message.
  std::filesystem::remove(project / "M3.txt");
  for (const MayHoldText& mayHold : {MayHoldText(), moduleFilesMayHold(project)}) {
    const Outcome<CallList> list = findCallers(index, moduleFilesOf(project), "Foo", 1, mayHold);
    ASSERT_FALSE(list.ok());
    EXPECT_NE(list.failure().text().find("M3.txt"), std::string::npos) << list.failure().text();
  }

  executeSql(database->handle(), "DROP TABLE td_rout");
  const auto target = findDefinition(index, "Foo", 1);
  ASSERT_FALSE(target.ok());
  EXPECT_EQ(target.failure().message, "Die Code-Datenbank kann nicht gelesen werden.");
  EXPECT_FALSE(findCallers(index, moduleFilesOf(project), "Foo", 1).ok());
}

}  // namespace
}  // namespace cq
