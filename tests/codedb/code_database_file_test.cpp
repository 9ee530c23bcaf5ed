// Creating, opening and closing the code database file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "codedb/code_database.h"
#include "support/temp_folder.h"
#include "text/path_text.h"

namespace cq {
namespace {

namespace fs = std::filesystem;

const fs::path kTemplate = CQ_TEMPLATE_PATH;

template <typename T>
std::string failureOf(const Outcome<T>& outcome) {
  return outcome ? "(no failure)" : outcome.failure().text();
}

TEST(CodeDatabaseFile, FailedCreationNamesTheMissingTemplateOrTarget) {
  test::TempFolder folder;
  const fs::path missing = folder.path() / "nowhere" / kTemplateFileName;
  EXPECT_EQ(failureOf(createDatabaseFromTemplate(missing, folder.path())),
            "Die notwendige Datenbank\n" + missing.string() +
                "\nexistiert nicht !!!\nBitte kopieren Sie diese wieder an diese Stelle");
  EXPECT_FALSE(fs::exists(folder.path() / kDatabaseFileName));

  const fs::path target = folder.path() / "gone";
  const std::string message = failureOf(createDatabaseFromTemplate(kTemplate, target));
  EXPECT_NE(message.find("kann nicht angelegt werden"), std::string::npos) << message;
  EXPECT_NE(message.find((target / kDatabaseFileName).string()), std::string::npos) << message;
}

// A full disk (/dev/full behind the database's name) is said first, and the
// copy it cut off does not stay.
TEST(CodeDatabaseFile, AFullDiskIsTheFirstThingSaidAndLeavesNoCopy) {
  test::TempFolder folder;
  fs::create_symlink("/dev/full", folder.path() / kDatabaseFileName);
  const Outcome<void> made = createDatabaseFromTemplate(kTemplate, folder.path());
  ASSERT_FALSE(made);
  EXPECT_EQ(made.failure().text(), "Kein Speicherplatz mehr auf dem Datenträger\r\n\r\nDie Datenbank\n" +
                                       (folder.path() / kDatabaseFileName).string() + "\nkann nicht angelegt werden.");
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder.path() / kDatabaseFileName)));
}

// Closing frees the file: it can be replaced by an empty database and reopened.
TEST(CodeDatabaseFile, CreateReplacesAnEarlierDatabaseWithAnEmptyOne) {
  test::TempFolder folder;
  ASSERT_TRUE(createDatabaseFromTemplate(kTemplate, folder.path()));
  auto database = CodeDatabase::open(folder.path()).value();
  database->scanSink().insertRoutine({kSub, kPublic, 1, "Alt", 1, 1});
  database->scanSink().insertModule({1, "AltModul", 2, 10});
  database.reset();
  ASSERT_TRUE(createDatabaseFromTemplate(kTemplate, folder.path()));
  database = CodeDatabase::open(folder.path()).value();
  EXPECT_TRUE(database->moduleList().value().empty());
  EXPECT_TRUE(database->routineList().value().empty());
}

TEST(CodeDatabaseFile, ReadOnlyTemplateGivesAWritableDatabase) {
  test::TempFolder folder;
  const fs::path readOnlyTemplate = folder.path() / kTemplateFileName;
  fs::copy_file(kTemplate, readOnlyTemplate);
  fs::permissions(readOnlyTemplate, fs::perms::owner_read | fs::perms::group_read);
  fs::create_directory(folder.path() / "work");
  ASSERT_TRUE(createDatabaseFromTemplate(readOnlyTemplate, folder.path() / "work"));
  auto database = CodeDatabase::open(folder.path() / "work").value();
  EXPECT_NO_THROW(database->scanSink().insertModule({1, "Modul1", 2, 3}));
  EXPECT_EQ(database->moduleList().value().size(), 1u);
}

// The messages name the file as Windows-1252 text, also where its path holds umlauts.
TEST(CodeDatabaseFile, OpenRefusesWhatIsNoCodeDatabase) {
  test::TempFolder root;
  const fs::path folder = root.path() / "\xC3\x9C" "bung";  // "Übung" on disk
  fs::create_directory(folder);
  const fs::path file = folder / kDatabaseFileName;
  const std::string fileText = pathToText(file);
  ASSERT_NE(fileText.find("/Übung/"), std::string::npos);
  const auto expectRefused = [&](const std::string& reason, const std::string& cause = {}) {
    const auto opened = CodeDatabase::open(folder);
    ASSERT_FALSE(opened);
    const Failure& failure = opened.failure();
    EXPECT_NE(failure.message.find(reason), std::string::npos) << failure.message;
    EXPECT_NE(failure.message.find(fileText), std::string::npos) << failure.message;
    EXPECT_FALSE(failure.cause.empty());
    if (!cause.empty()) {
      EXPECT_EQ(failure.cause, cause);
    }
  };
  // The system's reason why the file cannot be opened, in German.
  expectRefused("kann nicht geöffnet werden", "Datei oder Ordner nicht gefunden");  // no file at all
  EXPECT_FALSE(fs::exists(file)) << "open must not create a file";
  fs::create_directory(file);
  expectRefused("kann nicht geöffnet werden", "Ist ein Ordner");
  fs::remove(file);

  std::ofstream(file, std::ios::binary) << std::string(2048, 'x');  // a text file under the database's name
  expectRefused("ist keine Code Quorix Datenbank");

  fs::remove(file);  // an SQLite file with other tables
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
  sqlite3_exec(other, "CREATE TABLE td_mod(mod_num INTEGER); CREATE TABLE kunden(name TEXT);", nullptr, nullptr,
               nullptr);
  sqlite3_close(other);
  expectRefused("ist keine Code Quorix Datenbank");
}

}  // namespace
}  // namespace cq
