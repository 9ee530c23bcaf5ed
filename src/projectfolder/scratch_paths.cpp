#include "projectfolder/scratch_paths.h"

#include <pthread.h>
#include <signal.h>

#include <map>
#include <system_error>
#include <thread>

namespace cq {

namespace fs = std::filesystem;

namespace {

std::mutex& registryMutex() {
  static std::mutex mutex;
  return mutex;
}

std::map<fs::path, ScratchPath::Removal>& registered() {
  static std::map<fs::path, ScratchPath::Removal> paths;
  return paths;
}

// The signals that end a run, but not those it was started to ignore (nohup,
// a background job of a shell): those it must go on ignoring.
sigset_t endingSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) sigaddset(&signals, signal);
  }
  return signals;
}

[[noreturn]] void removeAndEnd(sigset_t signals) {
  int received = SIGTERM;
  while (sigwait(&signals, &received) != 0) {
  }
  // The lock stays taken: the run does not go on with its scratch paths gone.
  registryMutex().lock();
  for (const auto& [path, removal] : registered()) {
    std::error_code ignored;
    if (removal == ScratchPath::kOnlyIfEmpty) {
      fs::remove(path, ignored);  // fails, as it should, on a folder that holds something
      continue;
    }
    // Renamed first, so that the run cannot create new files in the folder
    // by its old name while it is being removed.
    fs::path doomed = path;
    doomed += ".weg";
    fs::rename(path, doomed, ignored);
    fs::remove_all(ignored ? path : doomed, ignored);
  }
  ::signal(received, SIG_DFL);
  pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
  ::raise(received);
  std::_Exit(128 + received);
}

}  // namespace

ScratchPath::ScratchPath(fs::path path, Removal removal) : path_(std::move(path)) {
  const std::lock_guard lock(registryMutex());
  registered().emplace(path_, removal);
}

ScratchPath::~ScratchPath() {
  const std::lock_guard lock(registryMutex());
  registered().erase(path_);
}

std::unique_lock<std::mutex> holdScratchPaths() { return std::unique_lock(registryMutex()); }

void removeScratchPathsOnSignals() {
  const sigset_t signals = endingSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::thread(removeAndEnd, signals).detach();
}

}  // namespace cq
