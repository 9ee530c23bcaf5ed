#pragma once
// An exclusive lock on a folder that a run replaces the contents of (a project
// folder being read, an export folder being written), so that two runs, or a
// run and the window that has the project open, never write into it at once.
// The lock is the system's lock on the folder itself: it ends with the process,
// however the process ends, and leaves no file behind.
#include <filesystem>

#include "text/failure.h"

namespace cq {

class FolderLock {
 public:
  // Locks the existing folder `folder`; fails at once, with a message naming
  // the folder, when another run holds it.
  static Outcome<FolderLock> lock(const std::filesystem::path& folder);

  FolderLock(FolderLock&& other) noexcept;
  FolderLock& operator=(FolderLock&& other) noexcept;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock();

 private:
  explicit FolderLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};

}  // namespace cq
