// Saving the working folder as a project folder, and the check before opening.
#include "projectfolder/project_saving.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "sources/source_file.h"
#include "text/path_text.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

namespace fs = std::filesystem;
using Contents = std::map<std::string, std::string>;

// Every file below `folder` by its relative path, with its bytes.
Contents contentsOf(const fs::path& folder) {
  Contents contents;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().lexically_relative(folder).generic_string();
    if (entry.is_regular_file()) contents[name] = readSourceFile(entry.path());
  }
  return contents;
}

const Contents kProject{{"CodeQuorix.mdb", "Datenbank"}, {"M1.txt", "Sub Eins()"}, {"M2.txt", "Sub Zwei()"}};

class ProjectSaving : public ::testing::Test {
 protected:
  fs::path folderWith(const fs::path& relative, const Contents& contents) const {
    for (const auto& [name, bytes] : contents) root_.writeFile(relative / name, bytes);
    fs::create_directories(root_.path() / relative);
    return root_.path() / relative / "";
  }
  test::TempFolder root_;
  const fs::path projects_ = root_.path() / "Projekte/";
};

TEST_F(ProjectSaving, NamesTargetsAndProjectFolders) {
  EXPECT_EQ(cleanedProjectName("a/b\\c:d*e?f<g>h|i\"j"), "abcdefghij");
  EXPECT_EQ(saveTarget("/home/anna/Projekte", "KundenDaten"), fs::path("/home/anna/Projekte/KundenDaten/"));
  EXPECT_EQ(saveTarget("/p/", "Übung"), fs::path("/p/\xC3\x9C" "bung/")) << "a Windows-1252 name";
  EXPECT_EQ(overwriteQuestion("/p/Alt/"), "Ein Projekt:\r\n/p/Alt/\r\nexistiert schon\r\nÜberschreiben ?");
  // Only a folder with the database is a project.
  EXPECT_TRUE(checkProjectFolder(folderWith("Projekte/Alt", kProject)));
  for (const fs::path& folder : {folderWith("Projekte/Leer", {{"M1.txt", "x"}}), projects_ / "fehlt/"}) {
    const Outcome<void> checked = checkProjectFolder(folder);
    ASSERT_FALSE(checked) << folder;
    EXPECT_EQ(checked.failure().text(), "Kein Gültiges Projekt");
  }
}

TEST_F(ProjectSaving, SavingCopiesTheFilesAndEmptiesOnlyATemporaryFolder) {
  // A host read saved: the instance folder is left empty.
  const fs::path instance = folderWith("TempDateien/T_4711", kProject);
  const fs::path target = saveTarget(projects_, cleanedProjectName("Kunden:Daten?"));
  EXPECT_EQ(checkSaveTarget(instance, target).value(), SaveTarget::Missing);
  Outcome<fs::path> outcome = saveProject(instance, target, false);
  ASSERT_TRUE(outcome) << outcome.failure().text();
  EXPECT_EQ(outcome.value(), target);
  EXPECT_EQ(contentsOf(target), kProject);
  EXPECT_TRUE(fs::is_directory(instance));
  EXPECT_EQ(contentsOf(instance), Contents{});
  // An opened project saved under a new name stays where it was; subfolders are not copied.
  Contents withSubfolder = kProject;
  withSubfolder["Sicherung/M1.txt"] = "alt";
  const fs::path original = folderWith("Projekte/Alt", withSubfolder);
  outcome = saveProject(original, saveTarget(projects_, "Neu"), false);
  ASSERT_TRUE(outcome) << outcome.failure().text();
  EXPECT_EQ(contentsOf(original), withSubfolder);
  EXPECT_EQ(contentsOf(outcome.value()), kProject);
  // An empty folder is used as it is, without a question.
  const fs::path empty = folderWith("Projekte/Leer", {});
  EXPECT_EQ(checkSaveTarget(original, empty).value(), SaveTarget::EmptyFolder);
  outcome = saveProject(original, empty, false);
  ASSERT_TRUE(outcome) << outcome.failure().text();
  EXPECT_EQ(contentsOf(empty), kProject);
}

TEST_F(ProjectSaving, OverwritingEmptiesAProjectButKeepsItsSubfolders) {
  const fs::path working = folderWith("TempDateien/T_1", {{"CodeQuorix.mdb", "neu"}, {"M1.txt", "Sub Neu()"}});
  Contents old = kProject;
  old["M3.txt"] = "Sub Drei()";
  old["Sicherung/M1.txt"] = "alt";
  const fs::path target = folderWith("Projekte/Alt", old);
  EXPECT_EQ(checkSaveTarget(working, target).value(), SaveTarget::Project);
  const Outcome<fs::path> asked = saveProject(working, target, false);
  ASSERT_FALSE(asked) << "an existing project needs the user's yes";
  EXPECT_TRUE(asked.failure().text().starts_with("Ein Projekt:\r\n")) << asked.failure().text();
  EXPECT_EQ(contentsOf(target), old);
  const Outcome<fs::path> outcome = saveProject(working, target, true);
  ASSERT_TRUE(outcome) << outcome.failure().text();
  EXPECT_EQ(contentsOf(target),
            (Contents{{"CodeQuorix.mdb", "neu"}, {"M1.txt", "Sub Neu()"}, {"Sicherung/M1.txt", "alt"}}));
}

TEST_F(ProjectSaving, RefusesTargetsWhereFilesWouldBeLostAndKeepsEverything) {
  const fs::path working = folderWith("Projekte/Alt", kProject);
  fs::create_directory_symlink(working, root_.path() / "Verweis");
  // The working folder itself, however it is named.
  for (const fs::path& target : {saveTarget(projects_, "Alt"), projects_ / "Alt", root_.path() / "Verweis/"}) {
    EXPECT_EQ(checkSaveTarget(working, target).failure().text(), "Das Projekt liegt schon in diesem Ordner.");
    const Outcome<fs::path> outcome = saveProject(working, target, true);
    EXPECT_EQ(outcome.failure().text(), "Das Projekt liegt schon in diesem Ordner.") << target;
    EXPECT_EQ(contentsOf(working), kProject) << "nothing lost";
  }
  // A folder that holds files, or only a folder, but no project; a file where the folder would be.
  const Contents letters{{"Brief.txt", "Hallo"}, {"M1.txt", "kein Modul"}};
  const fs::path foreign = folderWith("Ablage/Briefe", letters);
  const fs::path nested = folderWith("Ablage/Geschachtelt/Innen", letters);
  const fs::path file = root_.writeFile("Ablage/Datei", "Inhalt");
  for (const fs::path& target : {foreign, nested.parent_path(), file}) {
    const Outcome<fs::path> outcome = saveProject(working, target, true);
    ASSERT_FALSE(outcome) << target;
    EXPECT_NE(outcome.failure().text().find(pathToText(target)), std::string::npos) << outcome.failure().text();
    EXPECT_FALSE(checkSaveTarget(working, target)) << target;
  }
  EXPECT_NE(saveProject(working, foreign, true).failure().text().find("nicht leer und enthält kein Projekt"),
            std::string::npos);
  EXPECT_EQ(contentsOf(foreign), letters);
  EXPECT_EQ(contentsOf(nested), letters);
  EXPECT_EQ(readSourceFile(file), "Inhalt");
  EXPECT_EQ(contentsOf(working), kProject);
}

TEST_F(ProjectSaving, ATargetThatCannotBeCreatedIsRefusedWithItsReason) {
  const fs::path working = folderWith("TempDateien/T_3", kProject);
  const fs::path file = root_.writeFile("Datei", "x");
  const auto expectRefused = [&](const fs::path& target) {
    EXPECT_EQ(checkSaveTarget(working, target).value(), SaveTarget::Missing) << target;
    const Outcome<fs::path> outcome = saveProject(working, target, false);
    ASSERT_FALSE(outcome) << target;
    EXPECT_EQ(outcome.failure().message, "Der Ordner \"" + pathToText(target) + "\" konnte nicht angelegt werden.");
    EXPECT_FALSE(outcome.failure().cause.empty()) << "the system's reason";
    EXPECT_EQ(contentsOf(working), kProject);
  };
  expectRefused(saveTarget(file, "Neu"));
  // Read-only for everyone, root included; not every machine has such a place.
  const fs::path readOnly = "/sys/codequorix-test";
  std::error_code error;
  if (fs::create_directory(readOnly, error)) {
    fs::remove(readOnly, error);
    GTEST_SKIP() << "no read-only folder here";
  }
  expectRefused(saveTarget(readOnly, "Neu"));
}

TEST_F(ProjectSaving, AFailedCopyKeepsTheWorkingFolder) {
  const fs::path instance = folderWith("TempDateien/T_2", kProject);
  // A folder named like a module file survives the emptying and blocks its copy.
  const fs::path target = folderWith("Projekte/Alt", {{"CodeQuorix.mdb", "alt"}});
  fs::create_directories(target / "M2.txt");
  const Outcome<fs::path> outcome = saveProject(instance, target, true);
  ASSERT_FALSE(outcome);
  const Failure& failure = outcome.failure();
  EXPECT_NE(failure.message.find("M2.txt\" konnte nicht nach"), std::string::npos) << failure.message;
  EXPECT_NE(failure.message.find("nicht vollständig gespeichert"), std::string::npos) << failure.message;
  EXPECT_FALSE(failure.cause.empty()) << "the system's reason";
  EXPECT_EQ(contentsOf(instance), kProject) << "the temporary files stay until a save succeeds";
  EXPECT_EQ(contentsOf(target), (Contents{{"CodeQuorix.mdb", "Datenbank"}, {"M1.txt", "Sub Eins()"}}))
      << "what was copied stays";
}

}  // namespace
}  // namespace cq
