#pragma once
// Files and folders that exist only while a run works on them (a project read
// into a new folder, the temporary file of a replaced file). A run ended by
// SIGINT, SIGTERM or SIGHUP removes them before it ends, so an interrupted
// command leaves nothing behind.
#include <filesystem>
#include <mutex>

namespace cq {

// Registers a path for removal on those signals for as long as it lives.
class ScratchPath {
 public:
  enum Removal { kWithAllItHolds, kOnlyIfEmpty };  // kOnlyIfEmpty: a folder made for files yet to come
  explicit ScratchPath(std::filesystem::path path, Removal removal = kWithAllItHolds);
  ~ScratchPath();
  ScratchPath(const ScratchPath&) = delete;
  ScratchPath& operator=(const ScratchPath&) = delete;

 private:
  std::filesystem::path path_;
};

// While the returned lock is held a signal waits, so that a step which moves
// scratch files into their place (the switch of a new project folder) is done
// whole or not begun.
std::unique_lock<std::mutex> holdScratchPaths();

// Called once at the start of the command-line program, before any other
// thread: the signals (those not ignored when the program started) are taken
// by a thread of their own, which removes the registered paths and then ends
// the process by the same signal.
void removeScratchPathsOnSignals();

}  // namespace cq
