#include "ui/unused/unused_report.h"

#include <QAction>
#include <QTreeWidget>
#include <string>
#include <vector>

#include "analysis/unused_routines.h"
#include "codedb/code_database_index.h"
#include "projectfolder/module_texts.h"
#include "ui/browse/project_browser.h"
#include "ui/commands/command_table.h"
#include "ui/main_window.h"
#include "ui/trees/project_tree_view.h"
#include "ui/unused/unused_window.h"
#include "ui/wait_cursor.h"

namespace cq {

namespace {

struct Report {
  std::vector<UnusedRoutine> routines;
  std::vector<ModuleFacts> modules;
};

}  // namespace

UnusedReport::UnusedReport(MainWindow& window, ProjectBrowser& browser, QObject* parent)
    : QObject(parent), window_(window), browser_(browser), reportWindow_(new UnusedWindow(&window)) {
  connect(window_.commands().action(QStringLiteral("mnuTest")), &QAction::triggered, this, &UnusedReport::run);
  connect(reportWindow_, &UnusedWindow::routineChosen, this, &UnusedReport::jumpTo);
  // The list belongs to the project it was made of.
  connect(&browser_, &ProjectBrowser::viewReset, reportWindow_, [this] {
    reportWindow_->clearReport();
    reportWindow_->hide();
  });
}

void UnusedReport::run() {
  CodeDatabase* database = browser_.database();
  if (database == nullptr) return;
  CodeDatabaseIndex index(*database);
  const Outcome<Report> report = [&]() -> Outcome<Report> {
    const WaitCursor waiting;
    Outcome<std::vector<UnusedRoutine>> routines = findUnusedRoutines(index, moduleFilesOf(browser_.workingFolder()));
    if (!routines) return routines.failure();
    Outcome<std::vector<ModuleFacts>> modules = catchFailure([&] { return index.modules(); });
    if (!modules) return modules.failure();
    return Report{std::move(routines).value(), std::move(modules).value()};
  }();
  if (!report) {
    window_.messages().show(report.failure());
    return;
  }
  reportWindow_->showReport(report->routines, report->modules);
  if (!reportWindow_->isVisible()) reportWindow_->placeOver(window_);
  reportWindow_->show();
  reportWindow_->raise();
  reportWindow_->activateWindow();
}

void UnusedReport::jumpTo(std::int64_t routine) {
  ProjectTreeView& tree = browser_.projectTree();
  QTreeWidgetItem* node = tree.nodeByKey(std::string("R").append(std::to_string(routine)));
  if (node == nullptr) return;
  window_.panes().projectTree()->setCurrentItem(node);
  window_.raise();
  window_.activateWindow();
  tree.activate(node);
}

}  // namespace cq
