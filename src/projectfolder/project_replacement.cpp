#include "projectfolder/project_replacement.h"

#include <unistd.h>

#include <algorithm>
#include <set>
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

bool isModuleFileName(const std::string& name) {
  if (name.size() < 6 || name.front() != 'M' || !name.ends_with(".txt")) return false;
  return std::all_of(name.begin() + 1, name.end() - 4, [](char c) { return c >= '0' && c <= '9'; });
}

Failure notReplaced(const fs::path& file, const std::error_code& error) {
  return Failure{"Die Datei " + pathToText(file) + " konnte nicht ersetzt werden.", systemErrorText(error)};
}

// Moves the new project's files into the existing folder: module files first and
// the database last, then module files of the previous project that the new
// one does not have go; whatever else the folder holds stays.
Outcome<void> moveProjectFiles(const fs::path& from, const fs::path& to) {
  std::error_code error;
  std::set<std::string> moduleFiles;
  for (const auto& entry : fs::directory_iterator(from, error)) moduleFiles.insert(entry.path().filename().string());
  if (error) return Failure{"Der Ordner " + pathToText(from) + " konnte nicht gelesen werden.", systemErrorText(error)};
  moduleFiles.erase(kDatabaseFileName);
  for (const std::string& name : moduleFiles) {
    fs::rename(from / name, to / name, error);
    if (error) return notReplaced(to / name, error);
  }
  fs::rename(from / kDatabaseFileName, to / kDatabaseFileName, error);
  if (error) return notReplaced(to / kDatabaseFileName, error);
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
