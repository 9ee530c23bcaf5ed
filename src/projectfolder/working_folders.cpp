#include "projectfolder/working_folders.h"

#include <QLockFile>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "app/text_boundary.h"
#include "text/path_text.h"
#include "sources/file_lists.h"

namespace cq {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryMarker = "TempDateien";
constexpr std::string_view kInstancePrefix = "T_";
constexpr std::string_view kLockSuffix = ".lock";
constexpr int kHighestInstanceNumber = 300000;
// Enough draws to find one of few free numbers; only a folder holding nearly all
// 300000 names ends the search.
constexpr int kMostDraws = 10 * kHighestInstanceNumber;

bool holdsTemporaryMarker(const fs::path& path) {
  std::error_code error;
  const fs::path full = fs::absolute(path, error);
  return (error ? path : full).native().find(kTemporaryMarker) != std::string::npos;
}

bool isSameOrBelow(const fs::path& path, const fs::path& folder) {
  std::string candidate = path.lexically_normal().native();
  std::string base = folder.lexically_normal().native();
  while (candidate.size() > 1 && candidate.back() == '/') candidate.pop_back();
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return candidate == base || candidate.starts_with(base + '/');
}

// No age limit: an instance may run for days, and only the death of its process
// makes its lock stale.
std::unique_ptr<QLockFile> lockFileFor(const fs::path& lockPath) {
  auto lock = std::make_unique<QLockFile>(pathToQString(lockPath));
  lock->setStaleLockTime(0);
  return lock;
}

// "T_<digits>.lock" gives "T_<digits>", anything else an empty text.
std::string instanceNameOfLock(const std::string& fileName) {
  if (!fileName.starts_with(kInstancePrefix) || !fileName.ends_with(kLockSuffix)) return {};
  const std::string name = fileName.substr(0, fileName.size() - kLockSuffix.size());
  const std::string_view number = std::string_view(name).substr(kInstancePrefix.size());
  if (number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos) return {};
  return name;
}

// The instance locks below the temporary folder, examined once. A lock held by a
// running process protects its instance folder; a lock of an ended run is taken
// over and given up (which deletes it) when this object goes.
class InstanceLocks {
 public:
  explicit InstanceLocks(const fs::path& temporaryFolder) {
    std::error_code error;
    for (fs::directory_iterator it(temporaryFolder, error), end; !error && it != end; it.increment(error)) {
      const std::string name = instanceNameOfLock(it->path().filename().native());
      if (name.empty()) continue;
      lockFiles_.push_back(it->path());
      std::unique_ptr<QLockFile> lock = lockFileFor(it->path());
      if (lock->tryLock(0)) {
        endedRuns_.push_back(std::move(lock));
      } else {
        // A lock that cannot be examined counts as live: better a leftover than
        // the removal of a working instance's files.
        liveFolders_.push_back(temporaryFolder / name);
      }
    }
  }

  bool anyLive() const { return !liveFolders_.empty(); }

  bool protects(const fs::path& path) const {
    for (const fs::path& lockFile : lockFiles_) {
      if (isSameOrBelow(path, lockFile)) return true;
    }
    for (const fs::path& folder : liveFolders_) {
      if (isSameOrBelow(path, folder)) return true;
    }
    return false;
  }

 private:
  std::vector<fs::path> lockFiles_;
  std::vector<fs::path> liveFolders_;
  std::vector<std::unique_ptr<QLockFile>> endedRuns_;
};

std::string lockFailureText(QLockFile::LockError error, const fs::path& lockPath) {
  if (error == QLockFile::PermissionError) return systemErrorText(std::make_error_code(std::errc::permission_denied));
  return "Die Sperrdatei \"" + pathToText(lockPath) + "\" konnte nicht angelegt werden.";
}

}  // namespace

Outcome<InstanceFolder> InstanceFolder::create(const fs::path& temporaryFolder) {
  std::error_code error;
  const fs::file_status status = fs::status(temporaryFolder, error);
  if (error) return Failure{systemErrorText(error)};
  if (!fs::is_directory(status)) return Failure{systemErrorText(std::make_error_code(std::errc::not_a_directory))};

  std::random_device entropy;
  std::mt19937 generator(entropy());
  std::uniform_int_distribution<int> draw(1, kHighestInstanceNumber);
  for (int attempt = 0; attempt < kMostDraws; ++attempt) {
    const std::string name = std::string(kInstancePrefix) + std::to_string(draw(generator));
    const fs::path folder = temporaryFolder / name;
    if (fs::exists(folder, error)) continue;

    // The lock comes first: a clean-up that sees the folder then also sees it is in use.
    const fs::path lockPath = temporaryFolder / (name + std::string(kLockSuffix));
    std::unique_ptr<QLockFile> lock = lockFileFor(lockPath);
    if (!lock->tryLock(0)) {
      if (lock->error() == QLockFile::LockFailedError) continue;  // another instance is taking this number
      return Failure{lockFailureText(lock->error(), lockPath)};
    }
    if (!fs::create_directory(folder, error)) {
      if (error) return Failure{systemErrorText(error)};
      continue;  // appeared since the check
    }
    return InstanceFolder(folder / "", std::move(lock));
  }
  return Failure{"Im Ordner \"" + pathToText(temporaryFolder) +
                 "\" ist kein Name für einen Instanzordner mehr frei."};
}

InstanceFolder::InstanceFolder(fs::path path, std::unique_ptr<QLockFile> lock)
    : path_(std::move(path)), lock_(std::move(lock)) {}

InstanceFolder::InstanceFolder(InstanceFolder&& other) noexcept
    : path_(std::move(other.path_)), lock_(std::move(other.lock_)) {}

InstanceFolder& InstanceFolder::operator=(InstanceFolder&& other) noexcept {
  if (this != &other) {
    remove();
    path_ = std::move(other.path_);
    lock_ = std::move(other.lock_);
  }
  return *this;
}

InstanceFolder::~InstanceFolder() { remove(); }

void InstanceFolder::remove() {
  if (!lock_) return;
  deleteTemporaryFiles(path_);
  std::error_code ignored;
  fs::remove(path_, ignored);
  // The lock goes last, so no clean-up takes the folder for a leftover while it is emptied.
  lock_.reset();
}

bool anotherInstanceRuns(const fs::path& temporaryFolder) { return InstanceLocks(temporaryFolder).anyLive(); }

void cleanUpTemporaryFolder(const fs::path& temporaryFolder) {
  // Collected before the locks are examined: an instance locks before it creates
  // its folder, so every collected instance folder has its lock by then.
  const std::vector<fs::path> folders = folderTree(temporaryFolder);
  const std::vector<fs::path> files = filesWithExtensionRecursive(temporaryFolder, "*");
  const InstanceLocks locks(temporaryFolder);

  for (const fs::path& file : files) {
    if (!holdsTemporaryMarker(file) || locks.protects(file)) continue;
    std::error_code error;
    fs::remove(file, error);
    if (error) return;
  }
  for (std::size_t i = 1; i < folders.size(); ++i) {
    if (!holdsTemporaryMarker(folders[i]) || locks.protects(folders[i])) continue;
    std::error_code error;
    fs::remove(folders[i], error);
    if (error) return;
  }
}

void deleteTemporaryFiles(const fs::path& workingFolder) {
  for (const fs::path& file : filesWithExtensionRecursive(workingFolder, "*")) {
    if (!holdsTemporaryMarker(file)) continue;
    std::error_code error;
    fs::remove(file, error);
    if (error) return;
  }
}

}  // namespace cq
