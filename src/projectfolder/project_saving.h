#pragma once
// Saving the working folder as a project folder, and the check made before a
// folder is opened as a project. The dialogs belong to the window: it asks for
// the parent folder and the name, asks overwriteQuestion() when the target
// exists, closes the code database, calls saveProject() and then opens the
// database in the new working folder again.
#include <filesystem>
#include <string>

#include "text/failure.h"

namespace cq {

// The name without the characters a folder name must not hold (/ \ : * ? < > | ").
std::string cleanedProjectName(std::string name);

// parentFolder + name + "/"; the name is Windows-1252 text and not empty (the
// window ends the command for an empty name).
std::filesystem::path saveTarget(const std::filesystem::path& parentFolder, const std::string& cleanedName);

// The question to ask before an existing target is overwritten (Yes/No).
std::string overwriteQuestion(const std::filesystem::path& target);

// What lies where a project is to be saved.
enum class SaveTarget {
  Missing,      // nothing yet: the folder is created
  EmptyFolder,  // an empty folder: simply used
  Project,      // a project folder: overwritten only after the user's yes
};

// Looks at the target before anything is asked or changed. Refused when the
// target is the working folder itself (emptying it would delete the very files
// to be saved), when it exists but is no folder, and when it holds anything
// without being a project folder (saving would delete what it holds).
Outcome<SaveTarget> checkSaveTarget(const std::filesystem::path& workingFolder,
                                    const std::filesystem::path& target);

// Copies the working folder's files (not its subfolders) into `target` and
// returns the target, the new working folder; the old working folder is then
// rid of its temporary files. An existing project at the target is emptied
// first (its subfolders stay), but only with `overwriteAgreed`. Refused, with
// nothing touched, for every target checkSaveTarget() refuses and when the
// target cannot be created. When a file cannot be copied, the working folder
// stays the working folder with all its files, the target keeps what was
// copied, and the failure names the file and the reason. The code database
// must be closed by the caller.
Outcome<std::filesystem::path> saveProject(const std::filesystem::path& workingFolder,
                                           const std::filesystem::path& target, bool overwriteAgreed);

// Fails with "Kein Gültiges Projekt" when `folder` holds no code database.
Outcome<void> checkProjectFolder(const std::filesystem::path& folder);

}  // namespace cq
