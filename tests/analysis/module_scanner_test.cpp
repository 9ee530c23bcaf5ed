// The module scanner over several modules of one read: line ranges in the code
// database, and the end of the routine numbers.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>

#include "codedb/code_database.h"
#include "render/markup.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

// Reads one module through the scanner, as a project read does.
void readModule(std::string_view code, int number, std::int64_t& counter, ScanSink& sink) {
  ModuleScan scan;
  scan.moduleNumber = number;
  scan.moduleType = 2;
  scan.moduleName = "Modul" + std::to_string(number);
  scan.routineCounter = &counter;
  scan.sink = &sink;
  markUpModule(code, {}, scan);
}

TEST(ModuleScanner, DeclarationsEndOnTheirLastLineInTheModuleBeingRead) {
  test::TempFolder folder;
  ASSERT_TRUE(createDatabaseFromTemplate(CQ_TEMPLATE_PATH, folder.path()));
  const auto database = CodeDatabase::open(folder.path()).value();
  std::int64_t counter = 0;
  readModule("Private Declare Function GetTickCount Lib \"kernel32\" () As Long\r\nSub A()\r\nEnd Sub", 1, counter,
             database->scanSink());
  readModule("Option Explicit\r\n"
             "Private Declare Sub Sleep Lib \"kernel32\" _\r\n"
             "    (ByVal ms As Long)\r\n"
             "' between\r\n"
             "Public Declare PtrSafe Sub Beep Lib \"kernel32\" _\r\n"
             "    (ByVal frequency As Long, _\r\n"
             "     ByVal duration As Long)\r\n"
             "Sub B()\r\n"
             "End Sub",
             2, counter, database->scanSink());

  const auto at = [&](std::int64_t line, int module) {
    const auto routine = database->routineAtLine(line, module).value();
    return routine ? std::tuple(routine->name, routine->type, routine->start, routine->end)
                   : std::tuple(std::string("-"), 0, std::int64_t{0}, std::int64_t{0});
  };
  EXPECT_EQ(at(1, 1), std::tuple("GetTickCount", kDeclaredFunction, 1, 1));
  EXPECT_EQ(at(2, 1), std::tuple("A", kSub, 2, 3));
  // The declared Subs of the second module end on the last line of their declaration.
  EXPECT_EQ(at(3, 2), std::tuple("Sleep", kDeclaredSub, 2, 3));
  EXPECT_EQ(at(4, 2), std::tuple("-", 0, 0, 0));
  EXPECT_EQ(at(5, 2), std::tuple("Beep", kDeclaredSub, 5, 7));
  EXPECT_EQ(at(7, 2), std::tuple("Beep", kDeclaredSub, 5, 7));
  EXPECT_EQ(at(9, 2), std::tuple("B", kSub, 8, 9));
  EXPECT_EQ(counter, 5);
}

TEST(ModuleScanner, RoutineNumbersEndWithEightDigits) {
  test::RecordingSink sink;
  std::int64_t counter = 99999998;
  readModule("Sub Last()\r\nEnd Sub", 1, counter, sink);
  ASSERT_EQ(sink.routines.size(), 1u);
  EXPECT_EQ(std::tuple(sink.routines[0].row.number, sink.routines[0].start, sink.routines[0].end),
            std::tuple(99999999, 1, 2));

  // One routine more fails the read (the reader reports it as a failed read) and
  // writes no row; the rows written before stay.
  try {
    readModule("Sub A()\r\nEnd Sub", 2, counter, sink);
    ADD_FAILURE() << "routine number 100000000 was accepted";
  } catch (const Failed& e) {
    EXPECT_EQ(std::string(e.what()),
              "Zu viele Routinen in einem Projekt: mehr als 99999999 Routinen können nicht nummeriert werden.");
  }
  EXPECT_EQ(sink.routines.size(), 1u);
}

}  // namespace
}  // namespace cq
