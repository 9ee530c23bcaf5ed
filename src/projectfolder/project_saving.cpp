#include "projectfolder/project_saving.h"

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

}  // namespace

std::string cleanedProjectName(std::string name) {
  removeForbiddenNameCharacters(name);
  return name;
}

fs::path saveTarget(const fs::path& parentFolder, const std::string& cleanedName) {
  return parentFolder / textToPath(cleanedName) / "";
}

std::string overwriteQuestion(const fs::path& target) {
  return projectExistsText(target) + "\r\nÜberschreiben ?";
}

Outcome<SaveTarget> checkSaveTarget(const fs::path& workingFolder, const fs::path& target) {
  if (isSameFolder(workingFolder, target)) return Failure{"Das Projekt liegt schon in diesem Ordner.", {}};
  if (auto problem = foreignFolderProblem(target)) return *std::move(problem);
  std::error_code error;
  if (!fs::exists(target, error)) return SaveTarget::Missing;
  return isProjectFolder(target) ? SaveTarget::Project : SaveTarget::EmptyFolder;
}

Outcome<fs::path> saveProject(const fs::path& workingFolder, const fs::path& target, bool overwriteAgreed) {
  const Outcome<SaveTarget> found = checkSaveTarget(workingFolder, target);
  if (!found) return found.failure();
  if (found.value() == SaveTarget::Project) {
    if (!overwriteAgreed) return Failure{projectExistsText(target), {}};
    clearFolder(target);
  }
  std::error_code error;
  fs::create_directories(target, error);
  if (error) {
    return Failure{"Der Ordner \"" + pathToText(target) + "\" konnte nicht angelegt werden.", systemErrorText(error)};
  }

  try {
    copyFolderFiles(workingFolder, target);
  } catch (const Failed& failed) {
    return Failure{failed.failure().message +
                       "\r\nDas Projekt wurde nicht vollständig gespeichert; es bleibt im Ordner \"" +
                       pathToText(workingFolder) + "\".",
                   failed.failure().cause};
  }
  deleteTemporaryFiles(workingFolder);
  return target;
}

Outcome<void> checkProjectFolder(const fs::path& folder) {
  if (isProjectFolder(folder)) return {};
  return Failure{"Kein Gültiges Projekt"};
}

}  // namespace cq
