#include "projectfolder/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

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

// Creates the file exclusively, with the permissions a new file gets (umask applies).
int createTemporary(const fs::path& target, fs::path& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = temporaryNameFor(target, attempt);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
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
  return ::fsync(fd) == 0 ? 0 : errno;
}

}  // namespace

Outcome<void> writeFileAtomically(const fs::path& target, std::string_view bytes) {
  if (target.filename().empty()) return writeFailure(target, EISDIR);
  std::error_code kind;
  if (fs::is_directory(target, kind)) return writeFailure(target, EISDIR);
  fs::path temporary;
  const int fd = createTemporary(target, temporary);
  if (fd < 0) return writeFailure(target, errno);
  int error = writeAll(fd, bytes);
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    return writeFailure(target, error);
  }
  return {};
}

}  // namespace cq
