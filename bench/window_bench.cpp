// Opening a project of 1000 modules in the window: the time until the first
// module is shown and the memory the process needed at its peak.
#include <sys/resource.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "corpus_text.h"
#include "sources/document_host.h"
#include "sources/project_reader.h"
#include "ui/browse/project_browser.h"
#include "ui/code/module_views.h"
#include "ui/main_window.h"

namespace fs = std::filesystem;

namespace {

// 1000 module files cycled from the corpus, read into a project folder.
fs::path buildProject(const fs::path& work) {
  const std::vector<std::string> modules = corpusModules();
  if (modules.empty()) return {};
  const fs::path sources = work / "quellen";
  fs::create_directories(sources);
  for (int n = 0; n < 1000; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "Modul%04d.bas", n);
    std::ofstream(sources / name, std::ios::binary)
        << "Attribute VB_Name = \"" << fs::path(name).stem().string() << "\"\r\n" << modules[n % modules.size()];
  }
  cq::DocumentHost host;
  host.open(sources);
  cq::HostTree tree;
  cq::fillHostTree(host, tree);
  cq::setTicked(tree, 0, true);
  cq::ProjectReadRequest request;
  request.templateFile = CQ_TEMPLATE_PATH;
  request.folder = work / "projekt";
  fs::create_directories(request.folder);
  const cq::ProjectRead read = cq::readTickedModules(host, tree, request);
  std::printf("project: %d modules, %lld routines\n", read.modules, static_cast<long long>(read.routines));
  return request.folder;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const fs::path work = fs::temp_directory_path() / "codequorix-window-bench";
  fs::remove_all(work);
  fs::create_directories(work);
  const fs::path project = buildProject(work);
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
