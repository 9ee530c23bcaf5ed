#pragma once
// Saving the working folder as a project folder, and the check made before a
// folder is opened as a project. The dialogs belong to the window: it asks for
// the parent folder and the name, asks overwriteQuestion() when the target
// exists, closes the code database, calls saveProject() and then opens the
// database in the outcome's working folder again.
#include <filesystem>
#include <optional>
#include <string>

namespace cq {

// The name without the characters a folder name must not hold (/ \ : * ? < > | ").
std::string cleanedProjectName(std::string name);

// parentFolder + name + "/"; the name is Windows-1252 text and not empty (the
// window ends the command for an empty name).
std::filesystem::path saveTarget(const std::filesystem::path& parentFolder, const std::string& cleanedName);

// The question to ask before an existing target is overwritten (Yes/No).
std::string overwriteQuestion(const std::filesystem::path& target);

struct SaveOutcome {
  std::filesystem::path workingFolder;  // the target once saved, else the working folder as it was
  std::string error;                    // German message (Windows-1252) when the project was not saved
  bool saved() const { return error.empty(); }
};

// Copies the working folder's files (not its subfolders) into `target` and makes
// the target the working folder; the old working folder is then rid of its
// temporary files. An existing target is emptied first (its subfolders stay),
// but only with `overwriteAgreed`. Refused when the target is the working folder
// itself. When a file cannot be copied, the working folder stays the working
// folder with all its files, the target keeps what was copied, and the error
// names the file and the reason. The code database must be closed by the caller.
SaveOutcome saveProject(const std::filesystem::path& workingFolder, const std::filesystem::path& target,
                        bool overwriteAgreed);

// "Kein Gültiges Projekt" when `folder` holds no code database, else nothing.
std::optional<std::string> projectFolderProblem(const std::filesystem::path& folder);

}  // namespace cq
