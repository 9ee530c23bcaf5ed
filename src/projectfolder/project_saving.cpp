#include "projectfolder/project_saving.h"

#include <stdexcept>
#include <system_error>

#include "text/path_text.h"
#include "projectfolder/folder_files.h"
#include "projectfolder/project_folder.h"
#include "projectfolder/working_folders.h"

namespace cq {

namespace fs = std::filesystem;

namespace {

bool isSameFolder(const fs::path& a, const fs::path& b) {
  std::error_code error;
  return fs::equivalent(a, b, error);
}

std::string projectExistsText(const fs::path& target) {
  return "Ein Projekt:\r\n" + pathToText(target) + "\r\nexistiert schon";
}

SaveOutcome refused(const fs::path& workingFolder, std::string message) {
  return SaveOutcome{workingFolder, std::move(message)};
}

}  // namespace

std::string cleanedProjectName(std::string name) {
  removeForbiddenNameCharacters(name);
  return name;
}

fs::path saveTarget(const fs::path& parentFolder, const std::string& cleanedName) {
  return parentFolder / textToPath(cleanedName) / "";
}

std::string overwriteQuestion(const fs::path& target) {
  return projectExistsText(target) + "\r\n\xDC" "berschreiben ?";
}

SaveOutcome saveProject(const fs::path& workingFolder, const fs::path& target, bool overwriteAgreed) {
  // Emptying the target would otherwise delete the very files about to be copied.
  if (isSameFolder(workingFolder, target)) return refused(workingFolder, "Das Projekt liegt schon in diesem Ordner.");

  std::error_code error;
  if (fs::exists(target, error)) {
    if (!overwriteAgreed) return refused(workingFolder, projectExistsText(target));
    clearFolder(target);
  }
  fs::create_directories(target, error);
  if (error) {
    return refused(workingFolder, "Der Ordner \"" + pathToText(target) + "\" konnte nicht angelegt werden.\r\n" +
                                      systemErrorText(error));
  }

  try {
    copyFolderFiles(workingFolder, target);
  } catch (const std::runtime_error& failure) {
    return refused(workingFolder, std::string(failure.what()) +
                                      "\r\nDas Projekt wurde nicht vollst\xE4ndig gespeichert; es bleibt im Ordner \"" +
                                      pathToText(workingFolder) + "\".");
  }
  deleteTemporaryFiles(workingFolder);
  return SaveOutcome{target, {}};
}

std::optional<std::string> projectFolderProblem(const fs::path& folder) {
  if (isProjectFolder(folder)) return std::nullopt;
  return "Kein G\xDCltiges Projekt";
}

}  // namespace cq
