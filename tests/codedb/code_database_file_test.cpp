// Creating, opening and closing the code database file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "codedb/code_database.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

namespace fs = std::filesystem;

const fs::path kTemplate = CQ_TEMPLATE_PATH;

void writeFile(const fs::path& file, const std::string& content) {
  std::ofstream(file, std::ios::binary) << content;
}

std::string failureOf(auto&& action) {
  try {
    action();
  } catch (const DatabaseError& error) {
    return error.what();
  }
  return "(no failure)";
}

TEST(CodeDatabaseFile, MissingTemplateNamesItsPathInFourLines) {
  test::TempFolder folder;
  const fs::path missing = folder.path() / "nowhere" / kTemplateFileName;
  EXPECT_EQ(failureOf([&] { createDatabaseFromTemplate(missing, folder.path()); }),
            "Die notwendige Datenbank\n" + missing.string() +
                "\nexistiert nicht !!!\nBitte kopieren Sie diese wieder an diese Stelle");
  EXPECT_FALSE(fs::exists(folder.path() / kDatabaseFileName));
}

TEST(CodeDatabaseFile, CopyIntoMissingFolderFailsNamingTheTarget) {
  test::TempFolder folder;
  const fs::path target = folder.path() / "gone";
  const std::string message =
      failureOf([&] { createDatabaseFromTemplate(kTemplate, target); });
  EXPECT_NE(message.find("kann nicht angelegt werden"), std::string::npos) << message;
  EXPECT_NE(message.find((target / kDatabaseFileName).string()), std::string::npos) << message;
}

TEST(CodeDatabaseFile, CreateReplacesAnEarlierDatabaseWithAnEmptyOne) {
  test::TempFolder folder;
  createDatabaseFromTemplate(kTemplate, folder.path());
  {
    auto database = CodeDatabase::open(folder.path());
    database->scanSink().insertRoutine({kSub, kPublic, 1, "Alt", 1, 1});
    database->scanSink().insertModule({1, "AltModul", 2, 10});
  }
  createDatabaseFromTemplate(kTemplate, folder.path());
  auto database = CodeDatabase::open(folder.path());
  EXPECT_TRUE(database->moduleList().empty());
  EXPECT_TRUE(database->routineList().empty());
}

TEST(CodeDatabaseFile, ReadOnlyTemplateGivesAWritableDatabase) {
  test::TempFolder folder;
  const fs::path readOnlyTemplate = folder.path() / kTemplateFileName;
  fs::copy_file(kTemplate, readOnlyTemplate);
  fs::permissions(readOnlyTemplate, fs::perms::owner_read | fs::perms::group_read);
  const fs::path work = folder.path() / "work";
  fs::create_directory(work);

  createDatabaseFromTemplate(readOnlyTemplate, work);
  auto database = CodeDatabase::open(work);
  EXPECT_NO_THROW(database->scanSink().insertModule({1, "Modul1", 2, 3}));
  EXPECT_EQ(database->moduleList().size(), 1u);
}

TEST(CodeDatabaseFile, ClosingIsHarmlessTwiceAndWithoutOpening) {
  test::TempFolder folder;
  createDatabaseFromTemplate(kTemplate, folder.path());
  std::unique_ptr<CodeDatabase> database;
  database.reset();  // never opened
  database = CodeDatabase::open(folder.path());
  database.reset();
  database.reset();
  // The file is free again: it can be replaced and reopened.
  createDatabaseFromTemplate(kTemplate, folder.path());
  EXPECT_NO_THROW(database = CodeDatabase::open(folder.path()));
}

TEST(CodeDatabaseFile, OpenRefusesWhatIsNoCodeDatabase) {
  test::TempFolder folder;
  // No file at all.
  std::string message = failureOf([&] { CodeDatabase::open(folder.path()); });
  EXPECT_NE(message.find("kann nicht ge\xF6" "ffnet werden"), std::string::npos) << message;
  EXPECT_FALSE(fs::exists(folder.path() / kDatabaseFileName)) << "open must not create a file";

  // A text file under the database's name.
  writeFile(folder.path() / kDatabaseFileName, std::string(2048, 'x'));
  message = failureOf([&] { CodeDatabase::open(folder.path()); });
  EXPECT_NE(message.find("ist keine Code Quorix Datenbank"), std::string::npos) << message;

  // An SQLite file with other tables.
  fs::remove(folder.path() / kDatabaseFileName);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open((folder.path() / kDatabaseFileName).c_str(), &other), SQLITE_OK);
  sqlite3_exec(other, "CREATE TABLE td_mod(mod_num INTEGER); CREATE TABLE kunden(name TEXT);",
               nullptr, nullptr, nullptr);
  sqlite3_close(other);
  message = failureOf([&] { CodeDatabase::open(folder.path()); });
  EXPECT_NE(message.find("ist keine Code Quorix Datenbank"), std::string::npos) << message;
}

}  // namespace
}  // namespace cq
