// Opening a project of 1000 modules in the window: the time until the first
// module is shown and the memory the process needed at its peak; then a project
// search that passes every module.
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "corpus_text.h"
#include "ui/browse/project_browser.h"
#include "ui/code/module_views.h"
#include "ui/commands/command_table.h"
#include "ui/main_window.h"
#include "ui/search/search_controller.h"

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

  // A project search for a word no module holds passes every module: the first
  // time it reads the module files, after that it searches the texts kept.
  cq::SearchController search(window, browser);
  window.messages().setReplier([](const cq::DialogRequest&) { return cq::DialogReply{}; });
  window.commands().action(QStringLiteral("mnuBearbeiten_Suchen_Projekt"))->setChecked(true);
  window.searchBox()->setText(QStringLiteral("KeinModulHatDiesesWort"));
  for (const char* run : {"first", "second"}) {
    const auto searchStarted = std::chrono::steady_clock::now();
    const std::clock_t cpuStarted = std::clock();
    search.search();
    const double cpu = double(std::clock() - cpuStarted) / CLOCKS_PER_SEC;
    const double searched = std::chrono::duration<double>(std::chrono::steady_clock::now() - searchStarted).count();
    std::printf("project search through every module (%s time): %.1f ms (processor %.1f ms)\n", run, searched * 1000,
                cpu * 1000);
  }
  fs::remove_all(work);
  return shown ? 0 : 1;
}
