// A project folder written by earlier versions: its database has user_version 0,
// no code page table and Windows-1252 bytes in its text columns, and its module
// files are Windows-1252. It opens as it always did, giving UTF-8 text.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/call_search.h"
#include "analysis/definition_lookup.h"
#include "analysis/unused_routines.h"
#include "codedb/code_database.h"
#include "codedb/code_database_index.h"
#include "codedb/sqlite_statement.h"
#include "projectfolder/module_texts.h"
#include "projectfolder/project_folder.h"
#include "support/module_markup.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"
#include "text/text_decoding.h"

namespace cq {
namespace {

namespace fs = std::filesystem;

const std::string kCode =
    "Option Explicit\r\n"
    "\r\n"
    "Public Sub Gr\xC3\xB6\xC3\x9F" "e()\r\n"
    "End Sub\r\n"
    "\r\n"
    "Private Sub Pr\xC3\xBC" "fe()\r\n"
    "    Gr\xC3\xB6\xC3\x9F" "e\r\n"
    "End Sub\r\n";

struct EarlierFolder {
  std::string marked;        // the module file's text, UTF-8
  std::int64_t sizeLine = 0;  // where the routine "Größe" starts
};

// Writes the folder as an earlier version did: the template's tables, the rows
// and the module file in Windows-1252.
EarlierFolder writeEarlierProjectFolder(const fs::path& folder) {
  fs::copy_file(CQ_TEMPLATE_PATH, folder / kDatabaseFileName);
  fs::permissions(folder / kDatabaseFileName, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
  test::RecordingSink scanned;
  const std::string marked = test::markUpAsModuleFile(kCode, scanned);
  std::ofstream(folder / "M1.txt", std::ios::binary) << utf8ToWindows1252(marked).value();

  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open_v2((folder / kDatabaseFileName).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  executeSql(db, "PRAGMA user_version = 0");
  executeSql(db, "DROP TABLE td_projekt");
  SqliteStatement(db, "INSERT INTO td_mod VALUES (1, ?, 2, ?)")
      .bind(1, std::string_view("\xDC" "bersicht"))
      .bind(2, scanned.modules.at(0).lineBreaks)
      .execute();
  for (const test::RecordingSink::Routine& routine : scanned.routines) {
    SqliteStatement(db, "INSERT INTO td_rout VALUES (?, ?, ?, ?, ?, 1, ?, ?)")
        .bind(1, routine.row.type)
        .bind(2, routine.row.visibility)
        .bind(3, routine.row.declarationLines)
        .bind(4, utf8ToWindows1252(routine.row.name).value())
        .bind(5, routine.row.number)
        .bind(6, routine.start.value())
        .bind(7, routine.end.value())
        .execute();
  }
  sqlite3_close(db);
  return {marked, scanned.routine("Größe")->start.value()};
}

TEST(EarlierProjectFolder, OpensWithItsNamesAndModuleFilesAsUtf8) {
  const test::TempFolder folder;
  const EarlierFolder written = writeEarlierProjectFolder(folder.path());
  const Outcome<std::unique_ptr<CodeDatabase>> opened = CodeDatabase::open(folder.path());
  ASSERT_TRUE(opened) << opened.failure().text();
  CodeDatabase& database = *opened.value();
  EXPECT_EQ(database.codePage().value(), 1252);
  EXPECT_TRUE(database.documentCallers().value().empty()) << "no table of the document's callers";

  const std::vector<ModuleListEntry> modules = database.moduleList().value();
  ASSERT_EQ(modules.size(), 1u);
  EXPECT_EQ(modules[0].name, "Übersicht");
  std::vector<std::string> routines;
  for (const RoutineListEntry& row : database.routineList().value()) routines.push_back(row.name);
  EXPECT_EQ(routines, (std::vector<std::string>{"Größe", "Prüfe"}));
  EXPECT_EQ(readModuleFile(folder.path(), 1).value(), written.marked);

  // Lookups bind UTF-8 names and compare them with the stored bytes, case folded.
  CodeDatabaseIndex index(database);
  for (const char* name : {"Größe", "GRÖßE", "größe"}) {
    const std::optional<RoutineFacts> found = index.routineNamed(name, 1);
    ASSERT_TRUE(found) << name;
    EXPECT_EQ(found->name, "Größe");
  }
  EXPECT_EQ(index.nonPrivateRoutineNamed("größe")->name, "Größe");
  EXPECT_FALSE(index.routineNamed("Größ", 1)) << "no prefix";
  EXPECT_FALSE(index.routineNamed("Привет", 1)) << "a name the stored code page cannot hold";
  const auto target = findDefinition(index, "Größe", 1);
  ASSERT_TRUE(target && target.value());
  EXPECT_EQ(target.value()->line, written.sizeLine);
  const Outcome<CallList> callers = findCallers(index, moduleFilesOf(folder.path()), "Größe", 1);
  ASSERT_TRUE(callers);
  ASSERT_EQ(callers->nodes.size(), 2u);
  EXPECT_EQ(callers->nodes[0].name, "Übersicht");
  EXPECT_EQ(callers->nodes[1].name, "Prüfe");
  const Outcome<std::vector<UnusedRoutine>> unused = findUnusedRoutines(index, moduleFilesOf(folder.path()));
  ASSERT_TRUE(unused);
  ASSERT_EQ(unused->size(), 1u);
  EXPECT_EQ(unused->front().routine.name, "Prüfe");
}

}  // namespace
}  // namespace cq
