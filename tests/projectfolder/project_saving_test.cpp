// Saving the working folder as a project folder, and the check before opening.
#include "projectfolder/project_saving.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "sources/source_file.h"
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
  EXPECT_EQ(saveTarget("/p/", "\xDC" "bung"), fs::path("/p/\xC3\x9C" "bung/")) << "a Windows-1252 name";
  EXPECT_EQ(overwriteQuestion("/p/Alt/"), "Ein Projekt:\r\n/p/Alt/\r\nexistiert schon\r\n\xDC" "berschreiben ?");
  // Only a folder with the database is a project.
  EXPECT_EQ(projectFolderProblem(folderWith("Projekte/Alt", kProject)), std::nullopt);
  EXPECT_EQ(projectFolderProblem(folderWith("Projekte/Leer", {{"M1.txt", "x"}})), "Kein G\xDCltiges Projekt");
  EXPECT_EQ(projectFolderProblem(projects_ / "fehlt/"), "Kein G\xDCltiges Projekt");
}

TEST_F(ProjectSaving, SavingCopiesTheFilesAndEmptiesOnlyATemporaryFolder) {
  // A host read saved: the instance folder is left empty.
  const fs::path instance = folderWith("TempDateien/T_4711", kProject);
  const fs::path target = saveTarget(projects_, cleanedProjectName("Kunden:Daten?"));
  SaveOutcome outcome = saveProject(instance, target, false);
  ASSERT_TRUE(outcome.saved()) << outcome.error;
  EXPECT_EQ(outcome.workingFolder, target);
  EXPECT_EQ(contentsOf(target), kProject);
  EXPECT_TRUE(fs::is_directory(instance));
  EXPECT_EQ(contentsOf(instance), Contents{});
  // An opened project saved under a new name stays where it was; subfolders are not copied.
  Contents withSubfolder = kProject;
  withSubfolder["Sicherung/M1.txt"] = "alt";
  const fs::path original = folderWith("Projekte/Alt", withSubfolder);
  outcome = saveProject(original, saveTarget(projects_, "Neu"), false);
  ASSERT_TRUE(outcome.saved()) << outcome.error;
  EXPECT_EQ(contentsOf(original), withSubfolder);
  EXPECT_EQ(contentsOf(outcome.workingFolder), kProject);
}

TEST_F(ProjectSaving, OverwritingEmptiesTheTargetButKeepsItsSubfolders) {
  const fs::path working = folderWith("TempDateien/T_1", {{"CodeQuorix.mdb", "neu"}, {"M1.txt", "Sub Neu()"}});
  Contents old = kProject;
  old["M3.txt"] = "Sub Drei()";
  old["Sicherung/M1.txt"] = "alt";
  const fs::path target = folderWith("Projekte/Alt", old);
  const SaveOutcome asked = saveProject(working, target, false);
  EXPECT_FALSE(asked.saved()) << "an existing target needs the user's yes";
  EXPECT_TRUE(asked.error.starts_with("Ein Projekt:\r\n")) << asked.error;
  EXPECT_EQ(asked.workingFolder, working);
  EXPECT_EQ(contentsOf(target), old);
  const SaveOutcome outcome = saveProject(working, target, true);
  ASSERT_TRUE(outcome.saved()) << outcome.error;
  EXPECT_EQ(contentsOf(target),
            (Contents{{"CodeQuorix.mdb", "neu"}, {"M1.txt", "Sub Neu()"}, {"Sicherung/M1.txt", "alt"}}));
}

TEST_F(ProjectSaving, SavingIntoTheWorkingFolderItselfIsRefused) {
  const fs::path working = folderWith("Projekte/Alt", kProject);
  fs::create_directory_symlink(working, root_.path() / "Verweis");
  for (const fs::path& target : {saveTarget(projects_, "Alt"), projects_ / "Alt", root_.path() / "Verweis/"}) {
    const SaveOutcome outcome = saveProject(working, target, true);
    EXPECT_EQ(outcome.error, "Das Projekt liegt schon in diesem Ordner.") << target;
    EXPECT_EQ(outcome.workingFolder, working);
    EXPECT_EQ(contentsOf(working), kProject) << "nothing lost";
  }
}

TEST_F(ProjectSaving, AFailedCopyKeepsTheWorkingFolder) {
  const fs::path instance = folderWith("TempDateien/T_2", kProject);
  // A folder named like a module file survives the emptying and blocks its copy.
  const fs::path target = projects_ / "Alt/";
  fs::create_directories(target / "M2.txt");
  const SaveOutcome outcome = saveProject(instance, target, true);
  ASSERT_FALSE(outcome.saved());
  EXPECT_EQ(outcome.workingFolder, instance);
  EXPECT_NE(outcome.error.find("M2.txt\" konnte nicht nach"), std::string::npos) << outcome.error;
  const std::size_t reason = outcome.error.find("kopiert werden.\r\n") + 17;
  EXPECT_NE(outcome.error.substr(reason, 1), "\r") << "the system's reason follows: " << outcome.error;
  EXPECT_NE(outcome.error.find("nicht vollst\xE4ndig gespeichert"), std::string::npos) << outcome.error;
  EXPECT_EQ(contentsOf(instance), kProject) << "the temporary files stay until a save succeeds";
  EXPECT_EQ(contentsOf(target), (Contents{{"CodeQuorix.mdb", "Datenbank"}, {"M1.txt", "Sub Eins()"}}))
      << "what was copied stays";
}

}  // namespace
}  // namespace cq
