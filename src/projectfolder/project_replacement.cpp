#include "projectfolder/project_replacement.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "projectfolder/atomic_file.h"
#include "projectfolder/folder_lock.h"
#include "projectfolder/project_folder.h"
#include "projectfolder/scratch_paths.h"
#include "projectfolder/staging_folder.h"
#include "text/path_text.h"
#include "text/text_replace.h"

namespace fs = std::filesystem;

namespace cq {

namespace {

bool isModuleFileName(const std::string& name) {
  if (name.size() < 6 || name.front() != 'M' || !name.ends_with(".txt")) return false;
  return std::all_of(name.begin() + 1, name.end() - 4, [](char c) { return c >= '0' && c <= '9'; });
}

Failure notReplaced(const fs::path& file, const std::error_code& error) {
  return Failure{"Die Datei " + pathToText(file) + " konnte nicht ersetzt werden.", systemErrorText(error)};
}

// Moves the new project's files into the existing folder: module files first and
// the database last, each with the permissions of the file it replaces; then
// module files of the previous project that the new one does not have go;
// whatever else the folder holds stays.
Outcome<void> moveProjectFiles(const fs::path& from, const fs::path& to) {
  const auto held = holdScratchPaths();
  std::error_code error;
  std::set<std::string> moduleFiles;
  for (const auto& entry : fs::directory_iterator(from, error)) moduleFiles.insert(entry.path().filename().string());
  // The new folder beside the target means nothing to the user: the target is named.
  if (error)
    return Failure{"Das Projekt konnte nicht nach " + pathToText(to) + " gebracht werden.", systemErrorText(error)};
  moduleFiles.erase(kDatabaseFileName);
  std::vector<std::string> moves(moduleFiles.begin(), moduleFiles.end());
  moves.push_back(kDatabaseFileName);
  for (const std::string& name : moves) {
    takePermissionsOf(to / name, from / name);
    fs::rename(from / name, to / name, error);
    if (error) return notReplaced(to / name, error);
  }
  std::vector<fs::path> leftOver;
  for (const auto& entry : fs::directory_iterator(to, error)) {
    const std::string name = entry.path().filename().string();
    if (isModuleFileName(name) && !moduleFiles.contains(name)) leftOver.push_back(entry.path());
  }
  for (const fs::path& file : leftOver) fs::remove(file, error);
  return {};
}

}  // namespace

Outcome<ProjectRead> readIntoProjectFolder(const fs::path& target, const ProjectFolderRead& read) {
  if (auto problem = foreignFolderProblem(target)) return *std::move(problem);
  // The folder is made first and then locked, so that a second run finds it
  // taken; its files are replaced inside it, which also keeps a link to it.
  // A failed or interrupted read leaves no folder where there was none; the
  // folder is registered before it is made, so that no signal comes between.
  std::error_code error;
  std::optional<ScratchPath> scratch;
  if (!fs::exists(fs::symlink_status(target, error))) scratch.emplace(target, ScratchPath::kOnlyIfEmpty);
  const bool created = fs::create_directories(target, error);
  if (error) return Failure{"Der Ordner " + pathToText(target) + " konnte nicht angelegt werden.", systemErrorText(error)};
  struct CreatedFolder {
    const fs::path& folder;
    bool keep;
    ~CreatedFolder() {
      std::error_code ignored;
      if (!keep) fs::remove(folder, ignored);  // only while it is still empty
    }
  } createdFolder{target, !created};
  Outcome<FolderLock> locked = FolderLock::lock(target);
  if (!locked) return locked.failure();
  // Checked again under the lock: another run may have filled it meanwhile.
  if (auto problem = foreignFolderProblem(target)) return *std::move(problem);
  const StagingFolder staging(target);
  if (staging.path().empty()) return staging.failure();
  Outcome<ProjectRead> outcome = read(staging.path());
  if (!outcome) {
    // The files were meant for the target, and that is the name the user knows.
    Failure failure = outcome.failure();
    for (std::string* text : {&failure.message, &failure.cause})
      replaceAllInPlace(*text, pathToText(staging.path()), pathToText(target));
    return failure;
  }
  if (const Outcome<void> moved = moveProjectFiles(staging.path(), target); !moved) return moved.failure();
  createdFolder.keep = true;
  return outcome;
}

}  // namespace cq
