#include "projectfolder/project_replacement.h"

#include <unistd.h>

#include <string>
#include <system_error>
#include <vector>

#include "projectfolder/project_folder.h"
#include "text/path_text.h"

namespace fs = std::filesystem;

namespace cq {

namespace {

// The new folder, removed with all it holds unless kept.
class StagingFolder {
 public:
  explicit StagingFolder(const fs::path& target) {
    const fs::path parent = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::error_code error;
    fs::create_directories(parent, error);
    const std::string base = "." + target.filename().native() + ".neu-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 1000 && path_.empty(); ++attempt) {
      const fs::path candidate = parent / (base + std::to_string(attempt));
      if (fs::create_directory(candidate, error)) path_ = candidate;
      else if (error) break;
    }
    if (path_.empty()) {
      failure_ = Failure{"Der Ordner " + pathToText(parent / (base + "0")) + " konnte nicht angelegt werden.",
                         error ? systemErrorText(error) : std::string()};
    }
  }
  ~StagingFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;

  const fs::path& path() const { return path_; }
  const Failure& failure() const { return failure_; }
  void release() { path_.clear(); }

 private:
  fs::path path_;
  Failure failure_;
};

Failure notReplaced(const fs::path& file, const std::error_code& error) {
  return Failure{"Die Datei " + pathToText(file) + " konnte nicht ersetzt werden.", systemErrorText(error)};
}

// Moves the new project's files into the existing folder: module files first and
// the database last, then module files of the previous project that the new
// one does not have go.
Outcome<void> moveProjectFiles(const fs::path& from, const fs::path& to) {
  std::error_code error;
  std::vector<fs::path> moduleFiles;
  for (const auto& entry : fs::directory_iterator(from, error)) moduleFiles.push_back(entry.path().filename());
  if (error) return Failure{"Der Ordner " + pathToText(from) + " konnte nicht gelesen werden.", systemErrorText(error)};
  for (const fs::path& name : moduleFiles) {
    if (name == kDatabaseFileName) continue;
    fs::rename(from / name, to / name, error);
    if (error) return notReplaced(to / name, error);
  }
  fs::rename(from / kDatabaseFileName, to / kDatabaseFileName, error);
  if (error) return notReplaced(to / kDatabaseFileName, error);
  const int modules = static_cast<int>(moduleFiles.size()) - 1;
  for (int number = modules + 1;; ++number) {
    const fs::path old = to / ("M" + std::to_string(number) + ".txt");
    if (!fs::remove(old, error)) break;
  }
  return {};
}

}  // namespace

Outcome<ProjectRead> readIntoProjectFolder(const fs::path& target, const ProjectFolderRead& read) {
  if (auto problem = foreignFolderProblem(target)) return *std::move(problem);
  StagingFolder staging(target);
  if (staging.path().empty()) return staging.failure();
  Outcome<ProjectRead> outcome = read(staging.path());
  if (!outcome) return outcome;

  std::error_code error;
  if (!fs::exists(target, error) || (fs::is_directory(target, error) && fs::is_empty(target, error))) {
    // Missing or empty: the new folder simply takes its place.
    fs::rename(staging.path(), target, error);
    if (error) return Failure{"Der Ordner " + pathToText(target) + " konnte nicht angelegt werden.", systemErrorText(error)};
    staging.release();
    return outcome;
  }
  if (const Outcome<void> moved = moveProjectFiles(staging.path(), target); !moved) return moved.failure();
  return outcome;
}

}  // namespace cq
