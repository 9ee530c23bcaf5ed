#include "projectfolder/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <optional>
#include <string>
#include <system_error>

#include "projectfolder/scratch_paths.h"
#include "text/path_text.h"

namespace cq {

namespace fs = std::filesystem;

namespace {

// A name beside the target that no other writer of this or another process uses.
fs::path temporaryNameFor(const fs::path& target, int attempt) {
  static std::atomic<unsigned> counter{0};
  fs::path name = target;
  name += ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" + std::to_string(attempt);
  return name;
}

Failure writeFailure(const fs::path& target, int error) {
  return Failure{"Die Datei " + pathToText(target) + " konnte nicht geschrieben werden.",
                 systemErrorText(std::error_code(error, std::generic_category()))};
}

// Creates the file exclusively, with the permissions a new file gets (umask
// applies), registered for removal on signals before it exists.
int createTemporary(const fs::path& target, fs::path& temporary, std::optional<ScratchPath>& scratch) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = temporaryNameFor(target, attempt);
    scratch.emplace(temporary);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    const int error = errno;
    scratch.reset();
    if (error != EEXIST) {
      errno = error;
      return -1;
    }
  }
  return -1;
}

// Writes everything, going on after short writes and interruptions; the errno of a failure.
int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// The file a link points to, followed through every link: replacing a link's
// target keeps the link.
fs::path linkedFile(const fs::path& target) {
  std::error_code error;
  if (!fs::is_symlink(target, error)) return target;
  const fs::path resolved = fs::weakly_canonical(target, error);
  return error ? target : resolved;
}

}  // namespace

void takePermissionsOf(const fs::path& existing, const fs::path& replacement) {
  struct stat status {};
  // Only a file that exists has permissions to keep; a new file has the umask's.
  if (::stat(existing.c_str(), &status) == 0) ::chmod(replacement.c_str(), status.st_mode & 07777);
}

Outcome<void> writeFileAtomically(const fs::path& named, std::string_view bytes) {
  const fs::path target = linkedFile(named);
  if (target.filename().empty()) return writeFailure(named, EISDIR);
  std::error_code kind;
  if (fs::is_directory(target, kind)) return writeFailure(named, EISDIR);
  fs::path temporary;
  std::optional<ScratchPath> scratch;
  const int fd = createTemporary(target, temporary, scratch);
  if (fd < 0) return writeFailure(named, errno);
  int error = writeAll(fd, bytes);
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0) {
    takePermissionsOf(target, temporary);
    if (::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  }
  if (error != 0) {
    ::unlink(temporary.c_str());
    return writeFailure(named, error);
  }
  return {};
}

Outcome<void> writeNewFile(const fs::path& file, std::string_view bytes, const fs::path& namedAs) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return writeFailure(namedAs, errno);
  int error = writeAll(fd, bytes);
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) return writeFailure(namedAs, error);
  return {};
}

}  // namespace cq
