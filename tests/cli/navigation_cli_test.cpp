// search, callers, callees, definition and unused of codequorix-cli on a project read
// from generated module files: the exact lines scripts rely on, messages on
// stderr and the exit codes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/navigation_project.h"
#include "support/run_process.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

using test::runCli;

class NavigationCli : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    work_ = std::make_unique<test::TempFolder>();
    test::writeNavigationModules(work_->path() / "quellen");
    const auto read = runCli({"read", (work_->path() / "quellen").string(), project()});
    ASSERT_EQ(read.exitCode, 0) << read.err;
  }
  static void TearDownTestSuite() { work_.reset(); }
  static std::string project() { return (work_->path() / "projekt").string(); }

  // Runs the command on the project; its output, or its exit code and stderr when it failed.
  static std::string run(std::vector<std::string> args) {
    args.insert(args.begin() + 1, project());
    const auto result = runCli(args);
    if (result.exitCode != 0) return "exit " + std::to_string(result.exitCode) + ": " + result.err;
    return result.err.empty() ? result.out : "stderr: " + result.err;
  }

  static std::unique_ptr<test::TempFolder> work_;
};

std::unique_ptr<test::TempFolder> NavigationCli::work_;

TEST_F(NavigationCli, SearchListsEveryHitWithLineAndRoutine) {
  EXPECT_EQ(run({"search", "name"}), "M3\t2\t\nM3\t3\t\nM3\t18\tHelfer\nM3\t19\tHelfer\nM3\t19\tHelfer\n");
  EXPECT_EQ(run({"search", "Name", "--word"}), "M3\t2\t\nM3\t19\tHelfer\n");
  EXPECT_EQ(run({"search", "  FOO  ", "--module", "1"}),
            "M1\t4\tHelfer\nM1\t4\tHelfer\nM1\t4\tHelfer\nM1\t7\tFoo\nM1\t8\tFoo\nM1\t11\tFooBar\nM1\t12\tFooBar\n");
  // Umlauts as UTF-8 on the command line, found in either case.
  EXPECT_EQ(run({"search",
                 "GR\xC3\x96\xC3\x9F"
                 "E"}),
            "M3\t26\tGr\xC3\xB6\xC3\x9F"
            "e\nM5\t5\tWorkbook_Open\n");
  // Every module starts with "Option": a search from the beginning never sees offset 0.
  EXPECT_EQ(run({"search", "option"}), "");
  EXPECT_EQ(run({"search", "ption", "--module", "2"}), "M2\t1\t\nM2\t4\tForm_Load\n");
  EXPECT_EQ(run({"search", "   "}), "") << "a blank search text does nothing";
  EXPECT_EQ(run({"search", "x", "--module", "6"}), "exit 1: Das Modul 6 gibt es nicht.\n");
  EXPECT_EQ(run({"search", "€∞"}), "") << "any character may be searched for";
}

TEST_F(NavigationCli, CallersPrintsTheCallListTreeOrLookupMessages) {
  EXPECT_EQ(run({"callers", "Foo"}), "M1\tAndere\n\tR1\tHelfer\n\tR3\tFooBar\nM3\tHaupt\n\tR9\tStart\n");
  EXPECT_EQ(run({"callers", "Helfer", "--module", "3"}), "M3\tHaupt\n\tR9\tStart\n");
  EXPECT_EQ(run({"callers", "Rechne", "--module", "3"}), "M3\tHaupt\n\tR9\tStart\n\tR13\tRechne\n");
  EXPECT_EQ(run({"callers", "Knopfdruck"}), "") << "named in a literal only";
  // The messages name what was asked for, not the window's cursor.
  EXPECT_EQ(run({"callers", "Foo", "--module", "3"}),
            "exit 1: Keine Routine \"Foo\" gefunden (gesucht von Modul 3 aus).\n");
  EXPECT_EQ(run({"callers", "Wert", "--module", "4"}),
            "exit 1: \"Wert\" ist eine Property: die Aufrufsuche unterst\xC3\xBCtzt keine Properties.\n");
}

TEST_F(NavigationCli, CallTreesGoBothWaysToTheDepthAskedAndMarkCycles) {
  EXPECT_EQ(run({"callers", "Foo", "--depth", "3"}),
            "M1\tAndere\n\tR1\tHelfer\n"
            "\t\tM1\tAndere\n\t\t\tR3\tFooBar\n\t\t\t\tM3\tHaupt\n\t\t\t\t\tR9\tStart\n"
            "\tR3\tFooBar\n\t\tM3\tHaupt\n\t\t\tR9\tStart\n"
            "M3\tHaupt\n\tR9\tStart\n");
  EXPECT_EQ(run({"callers", "Rechne", "--module", "3", "--depth", "2"}),
            "M3\tHaupt\n\tR9\tStart\n\tR13\tRechne\tZyklus\n") << "recursion is not followed";
  // What Start calls: its own module's Private Helfer, not the one of Andere; Ungenutzt is a variable here.
  EXPECT_EQ(run({"callees", "Start", "--module", "3"}),
            "M1\tAndere\n\tR2\tFoo\n\tR3\tFooBar\nM3\tHaupt\n\tR10\tHelfer\n\tR13\tRechne\nM4\tKlasse\n\tR15\tMelde\n");
  EXPECT_EQ(run({"callees", "Start", "--module", "3", "--depth", "2"}),
            "M1\tAndere\n\tR2\tFoo\n\tR3\tFooBar\n\t\tM1\tAndere\n\t\t\tR1\tHelfer\n\t\t\tR2\tFoo\n"
            "M3\tHaupt\n\tR10\tHelfer\n\tR13\tRechne\n\t\tM3\tHaupt\n\t\t\tR13\tRechne\tZyklus\n"
            "M4\tKlasse\n\tR15\tMelde\n");
  EXPECT_EQ(run({"callees", "Auto_Open"}), "");
  EXPECT_EQ(run({"callees", "Wert", "--module", "4"}),
            "exit 1: \"Wert\" ist eine Property: die Aufrufsuche unterst\xC3\xBCtzt keine Properties.\n");
  EXPECT_EQ(run({"callees", "Nirgends"}), "exit 1: Keine Routine \"Nirgends\" gefunden (gesucht von Modul 1 aus).\n");
  const std::string json = run({"callers", "Rechne", "--module", "3", "--depth", "2", "--json"});
  EXPECT_EQ(json,
            "[\n  {\"level\": 1, \"module\": \"M3\", \"routine\": null, \"name\": \"Haupt\", \"cycle\": 0},\n"
            "  {\"level\": 1, \"module\": \"M3\", \"routine\": \"R9\", \"name\": \"Start\", \"cycle\": 0},\n"
            "  {\"level\": 1, \"module\": \"M3\", \"routine\": \"R13\", \"name\": \"Rechne\", \"cycle\": 1}\n]\n");
}

TEST_F(NavigationCli, DefinitionPrintsModuleAndFirstLine) {
  EXPECT_EQ(run({"definition", "Foo", "--module", "3"}), "M1\t7\n");
  EXPECT_EQ(run({"definition", "Helfer", "--module", "3"}), "M3\t17\n");
  EXPECT_EQ(run({"definition", "Zeige"}), "M4\t21\n");
  EXPECT_EQ(run({"definition", "Helfer", "--module", "2"}), "exit 1: Keine Definition von \"Helfer\" gefunden.\n");
}

TEST_F(NavigationCli, UnusedListsGroupModuleRoutineNameLineAndTheHostsCaller) {
  EXPECT_EQ(run({"unused"}),
            "host\tM1\tR4\tAuto_Open\t16\tOffice-Anwendung\n"
            "zeichenkette\tM1\tR5\tKnopfdruck\t19\n"
            "host\tM2\tR6\tForm_Load\t3\tFormularereignis\n"
            "host\tM2\tR7\tcmdOK_Click\t7\tFormularereignis\n"
            "unbenutzt\tM2\tR8\tListe_Fuellen\t11\n"
            "unbenutzt\tM3\tR9\tStart\t5\n"
            "zeichenkette\tM3\tR11\tGr\xC3\xB6\xC3\x9F"
            "e\t26\n"
            "unbenutzt\tM3\tR12\t\xC3\x9C"
            "brig\t29\n"
            "host\tM4\tR14\tClass_Initialize\t5\tKlassenereignis\n"
            "host\tM4\tR16\tmKnopf_Click\t12\tEreignis von mKnopf\n"
            "host\tM4\tR17\tIAusgabe_Zeige\t15\tSchnittstelle IAusgabe\n"
            "unbenutzt\tM4\tR18\tUngenutzt\t18\n"
            "zeichenkette\tM4\tR20\tRechner\t24\n"
            "host\tM5\tR22\tWorkbook_Open\t3\tDokumentereignis\n"
            "unbenutzt\tM5\tR23\tWorkbook_Wunder\t8\n");
}

TEST_F(NavigationCli, WrongUsageAndMissingProjects) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"search", project()},
                                               {"search", project(), "a", "b"},
                                               {"unused", project(), "x"},
                                               {"unused", project(), "--word"},
                                               {"callers", project(), "Foo", "--word"},
                                               {"definition", project()},
                                               {"callers", project(), "Foo", "--module", "0"},
                                               {"callees", project(), "Foo", "--depth", "0"},
                                               {"definition", project(), "Foo", "--depth", "2"}}) {
    const auto result = runCli(args);
    EXPECT_EQ(result.exitCode, 2) << args[0] << " " << args.size();
    EXPECT_NE(result.err.find("Aufruf:"), std::string::npos);
  }
  const test::TempFolder empty;
  for (const char* command : {"search", "callers", "callees", "definition", "unused"}) {
    std::vector<std::string> args = {command, empty.path().string()};
    if (std::string(command) != "unused") args.push_back("Foo");
    const auto result = runCli(args);
    EXPECT_EQ(result.exitCode, 1) << command;
    EXPECT_EQ(result.err.rfind("Kein G\xC3\xBCltiges Projekt: ", 0), 0u) << result.err;
  }
}

}  // namespace
}  // namespace cq
