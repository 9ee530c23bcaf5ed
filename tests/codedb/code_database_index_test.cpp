// The lookups' queries on a hand-filled code database: where several rows
// match, the lowest module number, then the lowest routine number decides,
// whatever order the rows were written in.
#include "codedb/code_database_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/call_search.h"
#include "codedb/sqlite_statement.h"
#include "support/temp_folder.h"
#include "text/failure.h"

namespace cq {
namespace {

class CodeDatabaseIndexQueries : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(createDatabaseFromTemplate(CQ_TEMPLATE_PATH, folder.path()));
    database = CodeDatabase::open(folder.path()).value();
    // Written out of order on purpose: module 3 before 2, higher numbers first.
    add(3, {kSub, kPublic, 1, "Zeige", 30, 3}, 1, 5);
    add(3, {kSub, kPublic, 1, "Doppelt", 31, 3}, 7, 9);
    add(2, {kSub, kPublic, 1, "Zeige", 21, 2}, 4, 8);
    add(2, {kSub, kPrivate, 1, "Eigen", 22, 2}, 10, 30);
    add(2, {kFunction, kPrivate, 1, "Innen", 20, 2}, 12, 14);  // lies inside Eigen's range
    add(2, {kSub, kPublic, 1, "doppelt", 23, 2}, 32, 33);      // same name as in module 3, other case
    add(2, {kPropertyGet, kPublic, 1, "Wert", 24, 2}, 35, 37);
    add(2, {kDeclaredFunction, kPublic, 1, "GetTickCount", 19, 2}, 2, 2);
    add(2, {kSub, kFriend, 1, "O'Brien", 25, 2}, 40, 41);
    add(2, {kPropertySet, kPublic, 1, "Ziel", 26, 2}, 42, 44);
    add(2, {kPropertyLet, kPublic, 1, "Menge", 27, 2}, 45, 45);
    add(1, {kSub, kPrivate, 1, "Eigen", 11, 1}, 3, 4);
    add(1, {kSub, kPublic, 1, "Einmal", 12, 1}, 6, 7);
    database->scanSink().insertModule({3, "Drei", 3, 10});
    database->scanSink().insertModule({2, "Zwei", 2, 46});
    database->scanSink().insertModule({1, "Eins", 2, 8});
  }

  void add(int module, RoutineRow row, std::int64_t start, std::int64_t end) {
    row.module = module;
    database->scanSink().insertRoutine(row);
    database->scanSink().setRoutineStart(row.number, start);
    database->scanSink().setRoutineEnd(row.number, end);
  }

  static std::string describe(const std::optional<RoutineFacts>& r) {
    if (!r) return "-";
    return "M" + std::to_string(r->module) + " R" + std::to_string(r->number) + " " + r->name + " " +
           std::to_string(r->type) + " " + std::to_string(r->visibility) + " " + std::to_string(r->start);
  }

  test::TempFolder folder;
  std::unique_ptr<CodeDatabase> database;
};

TEST_F(CodeDatabaseIndexQueries, FirstRowIsTheLowestModuleThenRoutineNumber) {
  CodeDatabaseIndex index(*database);
  EXPECT_EQ(index.moduleCount(), 3);
  std::vector<std::string> modules;
  for (const ModuleFacts& m : index.modules()) modules.push_back(std::to_string(m.number) + " " + m.name);
  EXPECT_EQ(modules, (std::vector<std::string>{"1 Eins", "2 Zwei", "3 Drei"}));

  EXPECT_EQ(describe(index.nonPrivateRoutineNamed("Zeige")), "M2 R21 Zeige 1 1 4");
  EXPECT_EQ(describe(index.nonPrivateRoutineNamed("DOPPELT")), "M2 R23 doppelt 1 1 32") << "names ignore case";
  EXPECT_EQ(describe(index.nonPrivateRoutineNamed("Eigen")), "-") << "Private ones never";
  EXPECT_EQ(describe(index.nonPrivateRoutineNamed("O'Brien")), "M2 R25 O'Brien 1 3 40");
  EXPECT_EQ(describe(index.routineNamed("Eigen", 2)), "M2 R22 Eigen 1 2 10");
  EXPECT_EQ(describe(index.routineNamed("Wert", 2)), "M2 R24 Wert 4 1 35");
  EXPECT_EQ(describe(index.routineNamed("Zeige", 1)), "-");
  EXPECT_EQ(describe(index.routineAtLine(13, 2)), "M2 R20 Innen 2 2 12") << "the lower number of two ranges";
  EXPECT_EQ(describe(index.routineAtLine(20, 2)), "M2 R22 Eigen 1 2 10");
  EXPECT_EQ(describe(index.routineAtLine(6, 2)), "M2 R21 Zeige 1 1 4");
  EXPECT_EQ(describe(index.routineAtLine(9, 2)), "-");
}

TEST_F(CodeDatabaseIndexQueries, CandidatesArePrivateFriendAndUniquePublicSubsAndFunctions) {
  std::vector<std::string> candidates;
  for (const RoutineFacts& r : CodeDatabaseIndex(*database).uncalledCandidates()) candidates.push_back(describe(r));
  // Not: Zeige and Doppelt/doppelt (public twice), Wert (a property).
  EXPECT_EQ(candidates,
            (std::vector<std::string>{"M1 R11 Eigen 1 2 3", "M1 R12 Einmal 1 1 6", "M2 R19 GetTickCount 12 1 2",
                                      "M2 R20 Innen 2 2 12", "M2 R22 Eigen 1 2 10", "M2 R25 O'Brien 1 3 40"}));
}

TEST_F(CodeDatabaseIndexQueries, EngineFailuresBecomeTheEnginesFailureType) {
  CodeDatabaseIndex index(*database);
  executeSql(database->handle(), "DROP TABLE td_mod");
  try {
    (void)index.modules();
    FAIL() << "no failure";
  } catch (const Failed& failed) {
    EXPECT_EQ(failed.failure().message, "Die Code-Datenbank kann nicht gelesen werden.");
    EXPECT_NE(failed.failure().cause.find("td_mod"), std::string::npos) << failed.failure().cause;
  }
  EXPECT_THROW((void)index.nonPrivateRoutineNamed("Zeige"), Failed) << "joins the module table";
  EXPECT_EQ(describe(index.routineNamed("Zeige", 3)), "M3 R30 Zeige 1 1 1");
}

TEST_F(CodeDatabaseIndexQueries, EveryKindOfPropertyIsRefusedByTheCallList) {
  CodeDatabaseIndex index(*database);
  const MarkedTextOf noText = [](int) { return std::string(); };
  for (const char* property : {"Wert", "Ziel", "Menge"}) {  // Get, Set, Let
    const Outcome<CallList> list = findCallers(index, noText, property, 2);
    ASSERT_TRUE(list) << list.failure().text();
    EXPECT_EQ(list->lookup, CallList::Lookup::kProperty) << property;
  }
  const Outcome<CallList> sub = findCallers(index, noText, "Zeige", 2);
  ASSERT_TRUE(sub);
  EXPECT_EQ(sub->lookup, CallList::Lookup::kSearched);
}

}  // namespace
}  // namespace cq
