#pragma once
// The temporary folder and the instance folders below it. Every running
// instance works in a folder "T_<n>/" of its own and holds the lock file
// "T_<n>.lock" beside it while it runs, so a leftover of an ended run can be told
// from the folder of an instance that is still working.
//
// Only files whose full path contains "TempDateien" are ever deleted here: the
// temporary folder's name holds that word, project folders normally do not.
#include <filesystem>
#include <memory>

#include "text/failure.h"

class QLockFile;

namespace cq {

class InstanceFolder {
 public:
  // Draws n from 1 to 300000 until "T_<n>/" is free, locks "T_<n>.lock" and
  // creates the folder. Fails with the system's description when the folder or
  // its lock cannot be created.
  static Outcome<InstanceFolder> create(const std::filesystem::path& temporaryFolder);

  InstanceFolder(InstanceFolder&&) noexcept;
  InstanceFolder& operator=(InstanceFolder&&) noexcept;
  InstanceFolder(const InstanceFolder&) = delete;
  InstanceFolder& operator=(const InstanceFolder&) = delete;
  // Removes the folder if remove() was not called, so an early end leaves nothing.
  ~InstanceFolder();

  // The folder, ending in "/".
  const std::filesystem::path& path() const { return path_; }

  // At exit, after the code database has been closed: deletes the folder's
  // temporary files, removes the folder and gives up the lock. Stops silently at
  // the first failure; the lock is given up all the same. Calling it again does
  // nothing.
  void remove();

 private:
  InstanceFolder(std::filesystem::path path, std::unique_ptr<QLockFile> lock);

  std::filesystem::path path_;
  std::unique_ptr<QLockFile> lock_;
};

// True when an instance folder below `temporaryFolder` belongs to a running
// process (this one included). Locks left by ended processes are taken away.
bool anotherInstanceRuns(const std::filesystem::path& temporaryFolder);

// Removes what ended runs left below the temporary folder: first every file
// whose path holds "TempDateien", then every folder below it, parents before
// their subfolders; the first failure ends the clean-up silently. The folders
// and lock files of running instances are left alone.
void cleanUpTemporaryFolder(const std::filesystem::path& temporaryFolder);

// Deletes the files in and below `workingFolder` whose full path holds
// "TempDateien" (so a saved project folder stays as it is). Stops silently at the
// first failure.
void deleteTemporaryFiles(const std::filesystem::path& workingFolder);

}  // namespace cq
