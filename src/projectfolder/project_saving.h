#pragma once
// Saving the working folder as a project folder, and the check made before a
// folder is opened as a project. The dialogs belong to the window: it asks for
// the parent folder and the name, asks overwriteQuestion() when the target
// exists, closes the code database, calls saveProject() and then opens the
// database in the working folder again.
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

// Copies the working folder's files (not its subfolders) into `target`, which is
// then the new working folder (the value); the old working folder is rid of its
// temporary files. An existing target is emptied first (its subfolders stay),
// but only with `overwriteAgreed`. Refused when the target is the working folder
// itself. When a file cannot be copied, the working folder stays the working
// folder with all its files, the target keeps what was copied, and the failure
// names the file and the reason. The code database must be closed by the caller.
Outcome<std::filesystem::path> saveProject(const std::filesystem::path& workingFolder,
                                           const std::filesystem::path& target, bool overwriteAgreed);

// Fails with "Kein Gültiges Projekt" when `folder` holds no code database.
Outcome<void> checkProjectFolder(const std::filesystem::path& folder);

}  // namespace cq
