// Routines nobody calls: which candidates are searched where, and the groups of
// routines that the host calls by name or that only literals name.
#include "analysis/unused_routines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/document_callers.h"
#include "analysis/host_called_routines.h"
#include "codedb/code_database_index.h"
#include "projectfolder/module_texts.h"
#include "support/navigation_project.h"
#include "support/sample_project.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

constexpr int kForm = 1, kStandard = 2, kClass = 3, kDocument = 5, kReport = 6;

TEST(HostCalledRoutines, EachReasonAppliesWhereTheHostCallsByName) {
  const ModuleHostFacts none;
  // Event procedures: in form, document and report modules only, and only for known events.
  EXPECT_EQ(hostCall("Form_Load", kForm, none).reason, "Ereignisprozedur: Ereignis Load von Form");
  EXPECT_EQ(hostCall("cmd_OK_click", kForm, none).reason, "Ereignisprozedur: Ereignis click von cmd_OK");
  EXPECT_EQ(hostCall("Workbook_Open", kDocument, none).reason, "Ereignisprozedur: Ereignis Open von Workbook");
  EXPECT_EQ(hostCall("Detail_Format", kReport, none).reason, "Ereignisprozedur: Ereignis Format von Detail");
  EXPECT_EQ(hostCall("UserForm_Initialize", kForm, none).reason, "Ereignisprozedur: Ereignis Initialize von UserForm");
  EXPECT_EQ(hostCall("cmdOK_Click", kStandard, none).reason, "") << "no events in a standard module";
  EXPECT_EQ(hostCall("cmdOK_Click", kClass, none).reason, "") << "nor in a class without WithEvents";
  EXPECT_EQ(hostCall("Liste_Fuellen", kForm, none).reason, "") << "no event of that name";
  EXPECT_EQ(hostCall("_Click", kForm, none).reason, "");
  EXPECT_EQ(hostCall("Click", kForm, none).reason, "");
  EXPECT_TRUE(isKnownEventName("dblclick") && isKnownEventName("NoData") && !isKnownEventName("Fuellen"));

  // The class's own events, wherever a class is: not in a standard module.
  EXPECT_EQ(hostCall("Class_Initialize", kClass, none).reason, "Ereignis Initialize der Klasse");
  EXPECT_EQ(hostCall("class_terminate", kForm, none).reason, "Ereignis terminate der Klasse");
  EXPECT_EQ(hostCall("Class_Initialize", kStandard, none).reason, "");

  // WithEvents handlers and interface implementations in any module that declares them.
  ModuleHostFacts facts;
  facts.withEventsVariables = {"mKnopf", "m_App"};
  facts.interfaces = {"IAusgabe"};
  EXPECT_EQ(hostCall("mKnopf_Click", kClass, facts).reason, "Ereignis Click der WithEvents-Variablen mKnopf");
  EXPECT_EQ(hostCall("m_App_WorkbookOpen", kStandard, facts).reason,
            "Ereignis WorkbookOpen der WithEvents-Variablen m_App");
  EXPECT_EQ(hostCall("mKnopfX_Click", kClass, facts).reason, "");
  EXPECT_EQ(hostCall("IAusgabe_Zeige_Alles", kClass, facts).reason,
            "Implementiert Zeige_Alles der Schnittstelle IAusgabe");
  EXPECT_EQ(hostCall("IAusgabe_", kClass, facts).reason, "");

  // The macros an Office host starts by itself, in any module, ignoring case.
  for (const char* name : {"Auto_Open", "auto_close", "Auto_Deactivate", "AutoExec", "AutoOpen", "AutoNew"})
    EXPECT_EQ(hostCall(name, kStandard, none).reason, "Makro, das die Office-Anwendung von selbst startet") << name;
  EXPECT_EQ(hostCall("Auto_Opener", kStandard, none).reason, "");
}

TEST(HostCalledRoutines, ModuleFactsComeFromDeclarationsNotFromCommentsOrLiterals) {
  // Marked as the module files hold them: WithEvents is a keyword run, Implements plain code.
  const std::string marked =
      "|Ÿ"
      "f|Private|nŸ| |Ÿ"
      "f|WithEvents|nŸ| mApp |Ÿ"
      "f|As|nŸ| Application\r\n"
      "|Ÿ"
      "f|Dim|nŸ| |Ÿ"
      "f|WithEvents|nŸ|\tmKnopf |Ÿ"
      "f|As|nŸ| CommandButton\r\n"
      "Implements Bibliothek.IDruck\r\n"
      "  Implements IAusgabe\r\n"
      "|Ÿ"
      "k|' WithEvents mKommentar|nŸ|\r\n"
      "x = Implements\r\n"
      "s = |Ÿ"
      "s|\"Implements IText\"|nŸ|\r\n";
  std::string clean = marked;
  for (const std::string_view run : {"|Ÿ"
                                     "k|' WithEvents mKommentar|nŸ|",
                                     "|Ÿ"
                                     "s|\"Implements IText\"|nŸ|"})
    clean.replace(clean.find(run), run.size(), std::string(run.size(), ' '));
  const ModuleHostFacts facts = moduleHostFacts(marked, clean);
  EXPECT_EQ(facts.withEventsVariables, (std::vector<std::string>{"mApp", "mKnopf"}));
  EXPECT_EQ(facts.interfaces, (std::vector<std::string>{"IDruck", "IAusgabe"}));
}

struct Listed {
  std::string group;
  std::string routine;  // "M<module> R<number> name line"
  std::string reason;
  friend bool operator==(const Listed&, const Listed&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Listed& l) {
    return out << l.group << " | " << l.routine << " | " << l.reason;
  }
};

std::vector<Listed> reportOf(const std::filesystem::path& project) {
  auto database = CodeDatabase::open(project).value();
  CodeDatabaseIndex index(*database);
  const auto unused = findUnusedRoutines(index, moduleFilesOf(project));
  if (!unused) return {{"failure", unused.failure().text(), ""}};
  std::vector<Listed> listed;
  for (const UnusedRoutine& entry : unused.value()) {
    const RoutineFacts& r = entry.routine;
    std::string routine = std::string("M").append(std::to_string(r.module));
    routine.append(" R").append(std::to_string(r.number)).append(" ").append(r.name);
    routine.append(" ").append(std::to_string(r.start));
    listed.push_back({std::string(groupKey(entry.group)), routine, entry.reason});
  }
  return listed;
}

TEST(UnusedRoutines, ReportsEachCandidateWithoutReferenceInItsGroup) {
  test::TempFolder work;
  test::writeNavigationModules(work.path() / "quellen");
  ASSERT_TRUE(test::readModuleFolder(work.path() / "quellen", work.path() / "projekt"));
  // Not listed: Helfer (called in its module, twice), Foo, FooBar, Rechne (called),
  // Melde (Friend, called from another module), Zeige (public in two modules:
  // no candidate), Wert (a property: no candidate).
  const std::vector<Listed> expected = {
      {"host", "M1 R4 Auto_Open 16", "Makro, das die Office-Anwendung von selbst startet"},
      {"zeichenkette", "M1 R5 Knopfdruck 19", ""},
      {"host", "M2 R6 Form_Load 3", "Ereignisprozedur: Ereignis Load von Form"},
      {"host", "M2 R7 cmdOK_Click 7", "Ereignisprozedur: Ereignis Click von cmdOK"},
      {"unbenutzt", "M2 R8 Liste_Fuellen 11", ""},
      {"unbenutzt", "M3 R9 Start 5", ""},
      {"zeichenkette",
       "M3 R11 Größ"
       "e 26",
       ""},
      {"unbenutzt",
       "M3 R12 Ü"
       "brig 29",
       ""},
      {"host", "M4 R14 Class_Initialize 5", "Ereignis Initialize der Klasse"},
      {"host", "M4 R16 mKnopf_Click 12", "Ereignis Click der WithEvents-Variablen mKnopf"},
      {"host", "M4 R17 IAusgabe_Zeige 15", "Implementiert Zeige der Schnittstelle IAusgabe"},
      {"unbenutzt", "M4 R18 Ungenutzt 18", ""},
      {"zeichenkette", "M4 R20 Rechner 24", ""},
      {"host", "M5 R22 Workbook_Open 3", "Ereignisprozedur: Ereignis Open von Workbook"},
      {"unbenutzt", "M5 R23 Workbook_Wunder 8", ""},
  };
  EXPECT_EQ(reportOf(work.path() / "projekt"), expected);
}

TEST(DocumentCallers, MacroReferencesNameARoutineAndMaybeItsModule) {
  const struct {
    const char* reference;
    const char* module;
    const char* routine;
  } cases[] = {
      {"Makro1", "", "Makro1"},
      {" Modul1.Makro1 ", "Modul1", "Makro1"},
      {"[0]!Tabelle1.Knopf_Click", "Tabelle1", "Knopf_Click"},
      {"'Mappe 1!.xlsm'!Makro1", "", "Makro1"},
      {"Mappe1.xlsm!Modul1.Makro1", "Modul1", "Makro1"},
      {"'Makro1 5'", "", "Makro1"},
      {"PROJECT.NEWMACROS.MAKRO1", "NEWMACROS", "MAKRO1"},
      {"'Mappe.xlsm'!'Modul1.Makro1 \"x\"'", "Modul1", "Makro1"},
      {"", "", ""},
  };
  for (const auto& each : cases) {
    const DocumentCaller caller = macroCaller(each.reference, "Schaltfläche");
    EXPECT_EQ(caller.module, each.module) << each.reference;
    EXPECT_EQ(caller.routine, each.routine) << each.reference;
    EXPECT_EQ(caller.caller, "Schaltfläche");
  }
}

TEST(UnusedRoutines, RoutinesTheDocumentBindsAreHostCalledWithTheirCallers) {
  test::TempFolder work;
  test::writeNavigationModules(work.path() / "quellen");
  ASSERT_TRUE(test::readModuleFolder(work.path() / "quellen", work.path() / "projekt"));
  CodeDatabase::open(work.path() / "projekt").value()->addDocumentCallers({
      {"start", "", "Menüband: onAction"},
      {"Start", "haupt", "Menüband: getLabel"},
      {"Start", "", "Menüband: onAction"},
      {"Liste_Fuellen", "Haupt", "Schaltfläche auf Tabelle1"},  // the routine of another module
      {"Workbook_Wunder", "ThisWorkbook", "Zeichnungsobjekt auf Tabelle1"},
      {"Auto_Open", "", "Schaltfläche auf Tabelle2"},
  });
  auto database = CodeDatabase::open(work.path() / "projekt").value();
  CodeDatabaseIndex index(*database);
  std::vector<std::string> listed;
  for (const UnusedRoutine& entry : findUnusedRoutines(index, moduleFilesOf(work.path() / "projekt")).value())
    listed.push_back(std::string(groupKey(entry.group)) + " " + entry.routine.name + " " + entry.caller);
  for (const char* expected : {"host Start Menüband: onAction, Menüband: getLabel", "unbenutzt Liste_Fuellen ",
                               "host Workbook_Wunder Zeichnungsobjekt auf Tabelle1",
                               "host Auto_Open Schaltfläche auf Tabelle2", "host Form_Load Formularereignis",
                               "host mKnopf_Click Ereignis von mKnopf", "host IAusgabe_Zeige Schnittstelle IAusgabe"})
    EXPECT_NE(std::find(listed.begin(), listed.end(), expected), listed.end()) << expected;
}

TEST(UnusedRoutines, TheSampleProjectsHandlersAreHostCalled) {
  test::TempFolder work;
  ASSERT_TRUE(test::readSampleProject(work.path()));
  const std::vector<Listed> expected = {
      {"host", "M2 R8 UserForm_Initialize 5", "Ereignisprozedur: Ereignis Initialize von UserForm"},
      {"host", "M2 R9 cmdBestellen_Click 10", "Ereignisprozedur: Ereignis Click von cmdBestellen"},
      {"host", "M2 R10 mArtikel_PreisGeaendert 18", "Ereignis PreisGeaendert der WithEvents-Variablen mArtikel"},
      {"host", "M2 R11 cmdAbbrechen_Click 22", "Ereignisprozedur: Ereignis Click von cmdAbbrechen"},
      {"unbenutzt", "M3 R13 Buchen 22", ""},
      {"unbenutzt", "M3 R14 Warten 55", ""},
      {"host", "M4 R20 Workbook_Open 3", "Ereignisprozedur: Ereignis Open von Workbook"},
      {"host", "M4 R21 Workbook_BeforeClose 7", "Ereignisprozedur: Ereignis BeforeClose von Workbook"},
  };
  EXPECT_EQ(reportOf(work.path()), expected);
}

}  // namespace
}  // namespace cq
