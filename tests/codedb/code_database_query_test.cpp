// The browsing queries on a small hand-filled code database.
#include <gtest/gtest.h>

#include "codedb/code_database.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

using Range = std::pair<std::int64_t, std::int64_t>;

class CodeDatabaseQueries : public ::testing::Test {
 protected:
  void SetUp() override {
    createDatabaseFromTemplate(CQ_TEMPLATE_PATH, folder.path());
    database = CodeDatabase::open(folder.path());
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
  const auto modules = database->moduleList();
  ASSERT_EQ(modules.size(), 3u);
  EXPECT_EQ(modules[0].name, "alpha");
  EXPECT_EQ(modules[0].number, 2);
  EXPECT_EQ(modules[1].name, "Zeta");
  EXPECT_EQ(modules[2].name, "Klasse");
  EXPECT_EQ(modules[2].type, 3);

  const auto module = database->moduleByNumber(3);
  ASSERT_TRUE(module);
  EXPECT_EQ(module->name, "Klasse");
  EXPECT_EQ(module->type, 3);
  EXPECT_EQ(module->number, 3);
  EXPECT_FALSE(database->moduleByNumber(9));
}

TEST_F(CodeDatabaseQueries, RoutineListGivesKeysByModuleThenName) {
  std::vector<std::string> listed;
  for (const RoutineListEntry& routine : database->routineList()) {
    listed.push_back(routine.moduleKey + " " + routine.routineKey + " " + routine.name + " " +
                     routine.imageKey);
  }
  // The routine without an end line is listed too.
  const std::vector<std::string> expected{
      "M1 R1 GetTickCount R12O2", "M1 R5 helfer R2O2", "M1 R3 Name R4O1", "M1 R4 Name R3O1",
      "M1 R6 Offen R1O1",        "M1 R2 Start R1O1",  "M2 R7 Init R1O3",
  };
  // Both accessors of Name sort equal; the engine decides their order.
  ASSERT_EQ(listed.size(), expected.size());
  EXPECT_EQ(listed[0], expected[0]);
  EXPECT_EQ(listed[1], expected[1]);
  EXPECT_TRUE((listed[2] == expected[2] && listed[3] == expected[3]) ||
              (listed[2] == expected[3] && listed[3] == expected[2]));
  EXPECT_EQ(std::vector(listed.begin() + 4, listed.end()),
            std::vector(expected.begin() + 4, expected.end()));
}

TEST_F(CodeDatabaseQueries, RoutineAtLineFindsOnlyLinesInsideARange) {
  const auto start = database->routineAtLine(7, 1);
  ASSERT_TRUE(start);
  EXPECT_EQ(start->name, "Start");
  EXPECT_EQ(start->number, 2);
  EXPECT_EQ(start->type, kSub);
  EXPECT_EQ(start->visibility, kPublic);
  EXPECT_EQ(start->start, 7);
  EXPECT_EQ(start->end, 12);
  EXPECT_EQ(database->routineAtLine(12, 1)->name, "Start");

  const auto declaration = database->routineAtLine(5, 1);
  ASSERT_TRUE(declaration);
  EXPECT_EQ(declaration->name, "GetTickCount");
  EXPECT_EQ(declaration->end, 5);

  EXPECT_FALSE(database->routineAtLine(2, 1)) << "declarations section";
  EXPECT_FALSE(database->routineAtLine(13, 1)) << "between two routines";
  EXPECT_FALSE(database->routineAtLine(28, 1)) << "routine without end line";
  EXPECT_FALSE(database->routineAtLine(8, 2)) << "other module";
  EXPECT_EQ(database->routineAtLine(2, 2)->name, "Init");
}

TEST_F(CodeDatabaseQueries, RoutineByNameTellsPrivateOtherPropertyAndMissing) {
  RoutineByName found = database->routineByName("HELFER", 1);
  EXPECT_EQ(found.status, RoutineByNameStatus::kPrivate);
  EXPECT_EQ(found.code(), 1);
  EXPECT_EQ(found.number, 5);

  found = database->routineByName("Start", 1);
  EXPECT_EQ(found.status, RoutineByNameStatus::kOther);
  EXPECT_EQ(found.code(), 2);
  EXPECT_EQ(found.number, 2);

  found = database->routineByName("Name", 1);
  EXPECT_EQ(found.status, RoutineByNameStatus::kProperty);
  EXPECT_EQ(found.code(), 0);

  found = database->routineByName("Init", 1);
  EXPECT_EQ(found.status, RoutineByNameStatus::kNotFound) << "lives in module 2";
  EXPECT_EQ(found.code(), 0);
  EXPECT_EQ(found.number, 0);
}

TEST_F(CodeDatabaseQueries, RoutineStartIsFoundByRoutineNumber) {
  EXPECT_EQ(database->routineStart(2), 7);
  EXPECT_EQ(database->routineStart(6), 27) << "a missing end does not hide the start";
  EXPECT_EQ(database->routineStart(7), 1);
  EXPECT_FALSE(database->routineStart(99)) << "number no longer in the table";
  EXPECT_FALSE(database->routineStart(-1));

  // A routine whose start line was never recorded has no start to go to.
  RoutineRow unstarted{kSub, kPublic, 1, "Ohne", 8, 2};
  database->scanSink().insertRoutine(unstarted);
  EXPECT_FALSE(database->routineStart(8));
}

TEST_F(CodeDatabaseQueries, ZoomRangeIsTheRoutineElseTheDeclarations) {
  EXPECT_EQ(database->zoomRange(9, 1), Range(7, 12));
  EXPECT_EQ(database->zoomRange(5, 1), Range(5, 5));
  EXPECT_EQ(database->zoomRange(2, 1), Range(1, 4)) << "declarations before line 5";
  EXPECT_EQ(database->zoomRange(13, 1), Range(1, 4)) << "between routines";
  EXPECT_EQ(database->zoomRange(3, 2), Range(1, 3));
  EXPECT_EQ(database->zoomRange(5, 2), Range(1, 0)) << "module starts with a routine";
  EXPECT_FALSE(database->zoomRange(1, 3)) << "module without routines";
  EXPECT_FALSE(database->zoomRange(1, 42)) << "unknown module";
}

}  // namespace
}  // namespace cq
