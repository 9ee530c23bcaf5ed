#include "projectfolder/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

#include "text/path_text.h"

namespace cq {

Outcome<FolderLock> FolderLock::lock(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    return Failure{"Der Ordner " + pathToText(folder) + " konnte nicht geöffnet werden.",
                   systemErrorText(std::error_code(errno, std::generic_category()))};
  }
  int result = 0;
  while ((result = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (result != 0) {
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) {
      return Failure{"Der Ordner " + pathToText(folder) +
                     " wird gerade von einem anderen Aufruf beschrieben oder ist im Fenster geöffnet."};
    }
    return Failure{"Der Ordner " + pathToText(folder) + " konnte nicht gesperrt werden.",
                   systemErrorText(std::error_code(error, std::generic_category()))};
  }
  return FolderLock(fd);
}

FolderLock::FolderLock(FolderLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace cq
