// The scanner's statements on the code database and the bulk write of a read.
#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

#include "codedb/code_database.h"
#include "codedb/code_database_index.h"
#include "codedb/sqlite_statement.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

struct StoredRoutine {
  int type, visibility, declarationLines;
  std::string name;
  std::int64_t number;
  int module;
  std::optional<std::int64_t> start, end;
  bool operator==(const StoredRoutine&) const = default;
};

std::vector<StoredRoutine> storedRoutines(CodeDatabase& database) {
  SqliteStatement query(database.handle(),
                        "SELECT rou_typ, rou_open, anz_dec_zeilen, rou_name, rou_num, mod_num,"
                        " rou_start, rou_ende FROM td_rout ORDER BY rou_num");
  std::vector<StoredRoutine> rows;
  while (query.step()) {
    const auto number = [&](int column) { return static_cast<int>(query.integer(column)); };
    rows.push_back({number(0), number(1), number(2), query.text(3), query.integer(4), number(5),
                    query.optionalInteger(6), query.optionalInteger(7)});
  }
  return rows;
}

class CodeDatabaseWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(createDatabaseFromTemplate(CQ_TEMPLATE_PATH, folder.path()));
    database = CodeDatabase::open(folder.path()).value();
  }
  void reopen() {
    database.reset();
    database = CodeDatabase::open(folder.path()).value();
  }

  test::TempFolder folder;
  std::unique_ptr<CodeDatabase> database;
};

TEST_F(CodeDatabaseWrite, ScannerStatementsFillRowsAndLineRanges) {
  ScanSink& sink = database->scanSink();
  // Module 1: a three-line declaration, a Sub, a Function whose end stays unknown.
  sink.insertRoutine({kDeclaredFunction, kPrivate, 3, "GetTickCount", 1, 1});
  sink.insertRoutine({kSub, kPublic, 1, "Start", 2, 1});
  sink.insertRoutine({kFunction, kFriend, 2, "Offen", 3, 1});
  // Module 2 has a declaration of its own that module 1's end pass must not touch.
  sink.insertRoutine({kDeclaredSub, kPublic, 1, "Sleep", 4, 2});
  for (const auto& [number, line] : {std::pair{1, 2}, {2, 6}, {3, 11}, {4, 1}}) sink.setRoutineStart(number, line);
  sink.setRoutineEnd(2, 9);
  sink.endDeclarationsOfModule(1);
  sink.insertModule({1, "Modul1", 2, 14});

  const std::vector<StoredRoutine> expected{
      {kDeclaredFunction, kPrivate, 3, "GetTickCount", 1, 1, 2, 4},
      {kSub, kPublic, 1, "Start", 2, 1, 6, 9},
      {kFunction, kFriend, 2, "Offen", 3, 1, 11, std::nullopt},
      {kDeclaredSub, kPublic, 1, "Sleep", 4, 2, 1, std::nullopt},
  };
  EXPECT_EQ(storedRoutines(*database), expected);

  SqliteStatement module(database->handle(), "SELECT mod_num, mod_name, mod_typ, mod_zeilen FROM td_mod");
  ASSERT_TRUE(module.step());
  EXPECT_EQ(std::tuple(module.integer(0), module.text(1), module.integer(2), module.integer(3)),
            std::tuple(1, "Modul1", 2, 14));
  EXPECT_FALSE(module.step());
}

TEST_F(CodeDatabaseWrite, NamesWithQuotesAndHighBytesRoundTrip) {
  // Names that would break a spliced statement, and Windows-1252 "Größe".
  const std::string names[] = {"O'Brien", "x'); DROP TABLE td_rout; --", "Größe"};
  std::int64_t number = 0;
  for (const std::string& name : names) {
    database->scanSink().insertRoutine({kSub, kPublic, 1, name, ++number, 1});
    database->scanSink().setRoutineStart(number, number * 10);
    database->scanSink().setRoutineEnd(number, number * 10 + 5);
  }
  database->scanSink().insertModule({1, "Modul 'A'", 2, 40});
  reopen();

  for (std::int64_t i = 0; i < 3; ++i) {
    const auto named = CodeDatabaseIndex(*database).routineNamed(names[i], 1);
    EXPECT_EQ(named ? named->number : 0, i + 1) << names[i];
    const auto atLine = database->routineAtLine((i + 1) * 10 + 2, 1).value();
    EXPECT_EQ(atLine ? atLine->name : "", names[i]);
  }
  EXPECT_EQ(database->moduleList().value().at(0).name, "Modul 'A'");
}

TEST_F(CodeDatabaseWrite, DocumentCallersRoundTripInTheirOrder) {
  EXPECT_TRUE(database->documentCallers().value().empty());
  const std::vector<DocumentCaller> callers = {{"Zeige", "", "Menüband: onAction"},
                                               {"Knopf_Click", "Tabelle1", "Schaltfläche auf Tabelle1"},
                                               {"O'Brien", "Modul 1", "Zeichnungsobjekt auf \"Blatt\""}};
  database->beginBulkWrite();
  database->addDocumentCallers(callers);
  database->endBulkWrite();
  reopen();
  const std::vector<DocumentCaller> stored = database->documentCallers().value();
  ASSERT_EQ(stored.size(), callers.size());
  for (std::size_t i = 0; i < callers.size(); ++i)
    EXPECT_TRUE(stored[i].routine == callers[i].routine && stored[i].module == callers[i].module &&
                stored[i].caller == callers[i].caller)
        << i;
}

TEST_F(CodeDatabaseWrite, RowsOfAnInterruptedBulkWriteRemain) {
  const auto interruptedRead = [this] {
    database->beginBulkWrite();
    database->scanSink().insertRoutine({kSub, kPublic, 1, "Erste", 1, 1});
    database->scanSink().setRoutineStart(1, 3);
    throw std::runtime_error("read failed");
  };
  EXPECT_THROW(interruptedRead(), std::runtime_error);
  database.reset();  // closing commits

  database = CodeDatabase::open(folder.path()).value();
  EXPECT_EQ(storedRoutines(*database),
            std::vector<StoredRoutine>({{kSub, kPublic, 1, "Erste", 1, 1, 3, std::nullopt}}));

  // An explicit end commits as well, and a second begin/end pair works.
  database->beginBulkWrite();
  database->scanSink().insertModule({1, "Modul1", 2, 5});
  database->endBulkWrite();
  database->endBulkWrite();
  database->beginBulkWrite();
  database->scanSink().insertModule({2, "Modul2", 2, 5});
  database->endBulkWrite();
  reopen();
  EXPECT_EQ(database->moduleList().value().size(), 2u);
}

TEST_F(CodeDatabaseWrite, StatementRejectedByTheEngineFails) {
  executeSql(database->handle(), "DROP TABLE td_mod");
  EXPECT_THROW(database->scanSink().insertModule({1, "Modul1", 2, 5}), Failed);
  const auto modules = database->moduleList();
  ASSERT_FALSE(modules);
  EXPECT_EQ(modules.failure().message, "Datenbankfehler");
  EXPECT_NE(modules.failure().cause.find("td_mod"), std::string::npos) << modules.failure().cause;
  // The routine statements are unaffected and usable after the failure.
  EXPECT_NO_THROW(database->scanSink().insertRoutine({kSub, kPublic, 1, "Weiter", 1, 1}));
  const auto named = CodeDatabaseIndex(*database).routineNamed("weiter", 1);
  EXPECT_EQ(named ? named->name : "", "Weiter");
}

// A full database says so in German; so do the other common causes, the rest in SQLite's words.
TEST_F(CodeDatabaseWrite, CommonCausesAreGerman) {
  executeSql(database->handle(), "PRAGMA max_page_count=1");  // no room for more rows
  try {
    for (std::int64_t number = 1; number <= 1000; ++number)
      database->scanSink().insertRoutine({kSub, kPublic, 1, std::string(500, 'x'), number, 1});
    ADD_FAILURE() << "the database should be full";
  } catch (const Failed& failed) {
    EXPECT_EQ(failed.failure().cause, "Kein Speicherplatz mehr auf dem Datenträger");
  }
  EXPECT_EQ(sqliteCause(nullptr, SQLITE_READONLY), "Die Datenbank ist schreibgeschützt");
  EXPECT_EQ(sqliteCause(nullptr, SQLITE_CANTOPEN), "Die Datenbankdatei kann nicht geöffnet werden");
  EXPECT_EQ(sqliteCause(nullptr, SQLITE_IOERR_WRITE), "Ein- oder Ausgabefehler beim Zugriff auf die Datenbank");
  EXPECT_EQ(sqliteCause(nullptr, SQLITE_CONSTRAINT), "constraint failed");
}

}  // namespace
}  // namespace cq
