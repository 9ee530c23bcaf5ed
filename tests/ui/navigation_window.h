#pragma once
// The main window with the project browser, the lookups and the report of
// routines nobody calls wired in as the session wires them, showing the
// navigation project read from its module files, with dialogs answered by script.
#include <QAction>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "support/temp_folder.h"
#include "ui/browse/project_browser.h"
#include "ui/code/code_view.h"
#include "ui/code/module_views.h"
#include "ui/commands/command_table.h"
#include "ui/lookup/code_lookup.h"
#include "ui/main_window.h"
#include "ui/scripted_dialogs.h"
#include "ui/status_bar.h"
#include "ui/test_app_state.h"
#include "ui/unused/unused_report.h"

namespace cq::test {

struct NavigationWindow {
  TempFolder folder;
  SettingsStore settings{folder.path() / "settings.ini"};
  AppState state;
  ScriptedDialogs dialogs;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<ProjectBrowser> browser;
  std::unique_ptr<CodeLookup> lookup;
  std::unique_ptr<UnusedReport> unused;

  explicit NavigationWindow(const std::filesystem::path& project) {
    state = test::testAppState(folder.path());
    window = std::make_unique<MainWindow>(state, settings);
    window->messages().setReplier(dialogs.replier());
    browser = std::make_unique<ProjectBrowser>(*window, state.display);
    lookup = std::make_unique<CodeLookup>(*window, *browser);
    unused = std::make_unique<UnusedReport>(*window, *browser);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QVERIFY(browser->showProject(project));
    window->setCommandState(CommandState::kSavedOrOpened);
  }

  QAction* command(const char* name) const { return window->commands().action(QString::fromUtf8(name)); }
  QTreeWidget* projectTree() const { return window->panes().projectTree(); }
  QTreeWidget* callList() const { return window->panes().callListTree(); }
  QString panel(int index) const { return window->statusPanels().text(index); }
  int moduleIndex() const { return browser->moduleViews().currentIndex(); }
  CodeView& view() const { return browser->moduleViews().current(); }
  long long caretLine() const { return static_cast<long long>(view().lineOfOffset(view().caretOffset())) + 1; }

  // The node of that name below the module node of that name in `tree`.
  static QTreeWidgetItem* node(QTreeWidget* tree, const QString& module, const QString& routine = {}) {
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = tree->topLevelItem(i);
      if (item->text(0) != module) continue;
      if (routine.isEmpty()) return item;
      for (int j = 0; j < item->childCount(); ++j)
        if (item->child(j)->text(0) == routine) return item->child(j);
    }
    return nullptr;
  }
  static void click(QTreeWidget* tree, QTreeWidgetItem* item) {
    QVERIFY(item != nullptr);
    if (item->parent()) item->parent()->setExpanded(true);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
  }
  // Shows a routine as a click in the project tree does.
  void open(const char* module, const char* routine) const {
    click(projectTree(), node(projectTree(), QString::fromUtf8(module), QString::fromUtf8(routine)));
  }
};

}  // namespace cq::test
