#pragma once
// A new folder beside a target, filled completely before its files take the
// target's place. It is named ".<target name>.neu-<pid>-<n>", so that one left
// by a run that was killed is known as such: creating the next staging folder
// for the same target removes those of processes that no longer run.
#include <filesystem>
#include <optional>

#include "projectfolder/scratch_paths.h"
#include "text/failure.h"

namespace cq {

class StagingFolder {
 public:
  // Creates the folder (and the target's parents as needed); path() stays
  // empty when that fails, and failure() says why.
  explicit StagingFolder(const std::filesystem::path& target);
  // Removes the folder with all it still holds.
  ~StagingFolder();
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  const Failure& failure() const { return failure_; }

 private:
  std::filesystem::path path_;
  std::optional<ScratchPath> scratch_;
  Failure failure_;
};

}  // namespace cq
