// Opening a project of 1000 modules in the window: the time until the first
// module is shown and the memory the process needed at its peak.
#include <sys/resource.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "corpus_text.h"
#include "ui/browse/project_browser.h"
#include "ui/code/module_views.h"
#include "ui/main_window.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const fs::path work = fs::temp_directory_path() / "codequorix-window-bench";
  fs::remove_all(work);
  fs::create_directories(work);
  const fs::path project = readCorpusProject(work, 1000);
  if (project.empty()) {
    std::printf("corpus not found: window benchmark skipped\n");
    return 0;
  }
  cq::SettingsStore settings(work / "settings.ini");
  cq::AppState state;
  state.edition = cq::builtInEdition();
  state.programTitle = cq::programTitle(state.edition);
  cq::MainWindow window(state, settings);
  cq::ProjectBrowser browser(window, state.display);
  window.show();
  app.processEvents();

  const auto started = std::chrono::steady_clock::now();
  const bool shown = browser.showProject(project);
  app.processEvents();  // the first module's view is laid out and painted
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("1000-module project shown: %s, first module after %.3f s, %d views, peak memory %.1f MB\n",
              shown ? "yes" : "NO", seconds, browser.moduleViews().count(), usage.ru_maxrss / 1024.0);
  fs::remove_all(work);
  return shown ? 0 : 1;
}
