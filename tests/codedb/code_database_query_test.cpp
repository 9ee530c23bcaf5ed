// The browsing queries on a small hand-filled code database.
#include <gtest/gtest.h>

#include <tuple>

#include "codedb/code_database.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

using Range = std::pair<std::int64_t, std::int64_t>;

class CodeDatabaseQueries : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(createDatabaseFromTemplate(CQ_TEMPLATE_PATH, folder.path()));
    database = CodeDatabase::open(folder.path()).value();
    database->beginBulkWrite();
    // Module 1 "Zeta" (standard module): declarations on lines 1-4, then
    // GetTickCount 5, Start 7-12, Property Name 14-16 and 18-20, Helfer 22-25,
    // and Offen from 27 whose end was never found.
    addRoutine(1, {kDeclaredFunction, kPrivate, 1, "GetTickCount", 1, 1}, 5, std::nullopt);
    addRoutine(1, {kSub, kPublic, 1, "Start", 2, 1}, 7, 12);
    addRoutine(1, {kPropertyGet, kPublic, 1, "Name", 3, 1}, 14, 16);
    addRoutine(1, {kPropertyLet, kPublic, 1, "Name", 4, 1}, 18, 20);
    addRoutine(1, {kFunction, kPrivate, 1, "helfer", 5, 1}, 22, 25);
    addRoutine(1, {kSub, kPublic, 1, "Offen", 6, 1}, 27, std::nullopt);
    database->scanSink().endDeclarationsOfModule(1);
    database->scanSink().insertModule({1, "Zeta", 2, 30});
    // Module 2 "alpha" (standard module) begins with a routine on line 1.
    addRoutine(2, {kSub, kFriend, 1, "Init", 7, 2}, 1, 3);
    database->scanSink().insertModule({2, "alpha", 2, 3});
    // Module 3 "Klasse" (class module) holds no routine.
    database->scanSink().insertModule({3, "Klasse", 3, 8});
    database->endBulkWrite();
  }

  void addRoutine(int module, RoutineRow row, std::int64_t start, std::optional<std::int64_t> end) {
    row.module = module;
    database->scanSink().insertRoutine(row);
    database->scanSink().setRoutineStart(row.number, start);
    if (end) database->scanSink().setRoutineEnd(row.number, *end);
  }

  test::TempFolder folder;
  std::unique_ptr<CodeDatabase> database;
};

TEST_F(CodeDatabaseQueries, ModuleListIsOrderedByTypeThenNameIgnoringCase) {
  std::vector<std::string> listed;
  for (const ModuleListEntry& m : database->moduleList().value())
    listed.push_back(std::to_string(m.number) + " " + m.name + " " + std::to_string(moduleTypeCode(m.type)));
  EXPECT_EQ(listed, (std::vector<std::string>{"2 alpha 2", "1 Zeta 2", "3 Klasse 3"}));

  const auto module = database->moduleByNumber(3).value();
  ASSERT_TRUE(module);
  EXPECT_EQ(std::tuple(module->number, module->name, module->type), std::tuple(3, "Klasse", ModuleType::kClassModule));
  EXPECT_FALSE(database->moduleByNumber(9).value());
}

TEST_F(CodeDatabaseQueries, RoutineListGivesKeysByModuleThenName) {
  std::vector<std::string> listed;
  for (const RoutineListEntry& r : database->routineList().value())
    listed.push_back(r.moduleKey + " " + r.routineKey + " " + r.name + " " + r.imageKey);
  // The routine without an end line is listed too. Both accessors of Name sort
  // equal; the engine decides their order.
  ASSERT_EQ(listed.size(), 7u);
  if (listed[2] == "M1 R4 Name R3O1") std::swap(listed[2], listed[3]);
  EXPECT_EQ(listed, (std::vector<std::string>{"M1 R1 GetTickCount R12O2", "M1 R5 helfer R2O2", "M1 R3 Name R4O1",
                                              "M1 R4 Name R3O1", "M1 R6 Offen R1O1", "M1 R2 Start R1O1",
                                              "M2 R7 Init R1O3"}));
}

TEST_F(CodeDatabaseQueries, RoutineAtLineFindsOnlyLinesInsideARange) {
  const auto facts = [this](std::int64_t line, int module) {
    const auto r = database->routineAtLine(line, module).value();
    return r ? std::tuple(r->name, r->number, r->type, r->visibility, r->start, r->end)
             : std::tuple(std::string("(none)"), std::int64_t{0}, 0, 0, std::int64_t{0}, std::int64_t{0});
  };
  using Facts = decltype(facts(0, 0));
  const Facts start{"Start", 2, kSub, kPublic, 7, 12};
  EXPECT_EQ(facts(7, 1), start);
  EXPECT_EQ(facts(12, 1), start);
  EXPECT_EQ(facts(5, 1), Facts("GetTickCount", 1, kDeclaredFunction, kPrivate, 5, 5));
  EXPECT_EQ(facts(2, 2), Facts("Init", 7, kSub, kFriend, 1, 3));
  EXPECT_FALSE(database->routineAtLine(2, 1).value()) << "declarations section";
  EXPECT_FALSE(database->routineAtLine(13, 1).value()) << "between two routines";
  EXPECT_FALSE(database->routineAtLine(28, 1).value()) << "routine without end line";
  EXPECT_FALSE(database->routineAtLine(8, 2).value()) << "other module";
}

TEST_F(CodeDatabaseQueries, RoutineStartIsFoundByRoutineNumber) {
  EXPECT_EQ(database->routineStart(2).value(), 7);
  EXPECT_EQ(database->routineStart(6).value(), 27) << "a missing end does not hide the start";
  EXPECT_EQ(database->routineStart(7).value(), 1);
  EXPECT_FALSE(database->routineStart(99).value()) << "number no longer in the table";
  EXPECT_FALSE(database->routineStart(-1).value());

  // A routine whose start line was never recorded has no start to go to.
  database->scanSink().insertRoutine({kSub, kPublic, 1, "Ohne", 8, 2});
  EXPECT_FALSE(database->routineStart(8).value());
}

TEST_F(CodeDatabaseQueries, ZoomRangeIsTheRoutineElseTheDeclarations) {
  EXPECT_EQ(database->zoomRange(9, 1).value(), Range(7, 12));
  EXPECT_EQ(database->zoomRange(5, 1).value(), Range(5, 5));
  EXPECT_EQ(database->zoomRange(2, 1).value(), Range(1, 4)) << "declarations before line 5";
  EXPECT_EQ(database->zoomRange(13, 1).value(), Range(1, 4)) << "between routines";
  EXPECT_EQ(database->zoomRange(3, 2).value(), Range(1, 3));
  EXPECT_EQ(database->zoomRange(5, 2).value(), Range(1, 0)) << "module starts with a routine";
  EXPECT_FALSE(database->zoomRange(1, 3).value()) << "module without routines";
  EXPECT_FALSE(database->zoomRange(1, 42).value()) << "unknown module";
}

}  // namespace
}  // namespace cq
