#include "projectfolder/staging_folder.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <string>
#include <system_error>

#include "text/path_text.h"

namespace cq {

namespace fs = std::filesystem;

namespace {

std::string stagingPrefix(const fs::path& target) { return "." + target.filename().native() + ".neu-"; }

bool processRuns(pid_t pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

// Staging folders of `target` left by processes that were killed before they
// could remove them.
void removeLeftovers(const fs::path& parent, const std::string& prefix) {
  std::error_code error;
  for (fs::directory_iterator it(parent, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().native();
    if (!name.starts_with(prefix)) continue;
    pid_t pid = 0;
    const char* digits = name.data() + prefix.size();
    const auto [after, parsed] = std::from_chars(digits, name.data() + name.size(), pid);
    if (parsed != std::errc() || after == digits || *after != '-' || pid <= 0 || processRuns(pid)) continue;
    std::error_code ignored;  // what cannot be removed now is tried again next time
    fs::remove_all(it->path(), ignored);
  }
}

}  // namespace

StagingFolder::StagingFolder(const fs::path& named) {
  // "folder/" names the folder, not something inside it.
  const fs::path target = named.has_filename() ? named : named.parent_path();
  const fs::path parent = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  std::error_code error;
  fs::create_directories(parent, error);
  const std::string prefix = stagingPrefix(target);
  removeLeftovers(parent, prefix);
  const std::string base = prefix + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < 1000 && path_.empty(); ++attempt) {
    const fs::path candidate = parent / (base + std::to_string(attempt));
    // Registered before it exists, so that no signal finds it made but unknown.
    scratch_.emplace(candidate);
    if (fs::create_directory(candidate, error)) {
      path_ = candidate;
      break;
    }
    scratch_.reset();  // the name is taken (by an earlier folder of this process) or cannot be made
    if (error) break;
  }
  if (path_.empty()) {
    // The folder's own name means nothing to the user: the target's does.
    failure_ = Failure{"Neben dem Ordner " + pathToText(target) + " konnte kein neuer Ordner angelegt werden.",
                       error ? systemErrorText(error) : std::string()};
  }
}

StagingFolder::~StagingFolder() {
  std::error_code ignored;
  if (!path_.empty()) fs::remove_all(path_, ignored);
}

}  // namespace cq
