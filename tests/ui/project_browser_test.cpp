// Browsing a shown project in the real main window: showing it, node clicks,
// the routine at the caret, the history of visited routines, the zoom view, the
// reset, and a project folder that is no longer intact.
#include "ui/browse/project_browser.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>
#include <QtTest>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "support/sample_project.h"
#include "ui/trees/project_tree_view.h"
#include "support/temp_folder.h"
#include "ui/code/code_view.h"
#include "ui/code/module_views.h"
#include "ui/commands/command_table.h"
#include "ui/main_window.h"
#include "ui/scripted_dialogs.h"
#include "ui/status_bar.h"

namespace cq {

namespace {

// The main window on settings in a temporary folder, with a browser wired in.
struct BrowserUnderTest {
  test::TempFolder folder;
  SettingsStore settings{folder.path() / "settings.ini"};
  AppState state;
  ScriptedDialogs dialogs;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<ProjectBrowser> browser;

  BrowserUnderTest() {
    state.edition = builtInEdition();
    state.programTitle = programTitle(state.edition);
    state.programFolder = folder.path() / "program/";
    window = std::make_unique<MainWindow>(state, settings);
    window->messages().setReplier(dialogs.replier());
    browser = std::make_unique<ProjectBrowser>(*window, state.display);
  }

  bool showAndExpose(const std::filesystem::path& project) {
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) return false;
    return browser->showProject(project);
  }

  template <typename T>
  T* find(const QString& name) const {
    return window->findChild<T*>(name);
  }
  QTreeWidget* tree() const { return find<QTreeWidget>("treProjekt"); }
  QString panel(int index) const { return find<QLabel>(QString("staBar_%1").arg(index))->text(); }
  bool panelEnabled(int index) const { return find<QLabel>(QString("staBar_%1").arg(index))->isEnabled(); }
  QAction* command(const char* name) const { return window->commands().action(QString::fromUtf8(name)); }
  CodeView* moduleView(int index) const { return find<CodeView>(QString("rtbHaupt_%1").arg(index)); }
  CodeView* shownView() const { return moduleView(browser->moduleViews().currentIndex()); }

  void click(QTreeWidgetItem* item) const {
    if (item->parent()) item->parent()->setExpanded(true);
    tree()->scrollToItem(item);
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualItemRect(item).center());
  }
  void clickPanel(int index) const {
    QTest::mouseClick(find<QLabel>(QString("staBar_%1").arg(index)), Qt::LeftButton);
  }

  // One integer read straight from the project's database.
  long long integer(const std::string& sql) const {
    sqlite3_stmt* statement = nullptr;
    long long value = -1;
    if (sqlite3_prepare_v2(browser->database()->handle(), sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
      value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return value;
  }
};

QString keyOf(const QTreeWidgetItem* item) { return item->data(0, Qt::UserRole).toString(); }
long long numberOf(const QTreeWidgetItem* item) { return keyOf(item).mid(1).toLongLong(); }

std::vector<QTreeWidgetItem*> routineNodes(QTreeWidget* tree) {
  std::vector<QTreeWidgetItem*> routines;
  for (int i = 0; i < tree->topLevelItemCount(); ++i)
    for (int j = 0; j < tree->topLevelItem(i)->childCount(); ++j) routines.push_back(tree->topLevelItem(i)->child(j));
  return routines;
}

QTreeWidgetItem* moduleNode(QTreeWidget* tree, const QString& name) {
  const auto found = tree->findItems(name, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.front();
}

QTreeWidgetItem* routineNode(QTreeWidgetItem* module, const QString& name) {
  for (int i = 0; i < module->childCount(); ++i)
    if (module->child(i)->text(0) == name) return module->child(i);
  return nullptr;
}

// Offset of the start of 1-based line `line` in a view's text.
std::size_t offsetOfLine(const std::string& text, long long line) {
  std::size_t offset = 0;
  for (long long l = 1; l < line && offset != std::string::npos; ++l) {
    offset = text.find('\n', offset);
    if (offset != std::string::npos) ++offset;
  }
  return offset == std::string::npos ? text.size() : offset;
}

// Lines first..last (1-based) of a text, without the final line break.
std::string linesOf(const std::string& text, long long first, long long last) {
  const std::size_t from = offsetOfLine(text, first);
  std::size_t to = offsetOfLine(text, last + 1);
  while (to > from && (text[to - 1] == '\n' || text[to - 1] == '\r')) --to;
  return text.substr(from, to - from);
}

// The first word of the caret's line as the view selects it: from the line's
// start up to the first blank.
std::string selectedText(const CodeView& view) {
  return view.text().substr(view.caretOffset(), view.selectionLength());
}

}  // namespace

class ProjectBrowserTest : public QObject {
  Q_OBJECT

  test::TempFolder project_;

 private slots:
  void initTestCase() { QVERIFY(test::readSampleProject(project_.path())); }

  void showingAProjectActivatesItsFirstNode() {
    BrowserUnderTest t;
    QVERIFY(t.showAndExpose(project_.path()));
    QCOMPARE(t.window->panes().leftPane(), LeftPane::ProjectTree);
    QTreeWidgetItem* first = t.tree()->topLevelItem(0);
    QVERIFY(first);
    QCOMPARE(t.tree()->currentItem(), first);
    QCOMPARE(t.panel(StatusBar::kModulePanel), first->text(0));
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), QString());
    QCOMPARE(t.panel(StatusBar::kProgressPanel), QString());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    const int index = static_cast<int>(numberOf(first)) - 1;
    QCOMPARE(t.browser->moduleViews().currentIndex(), index);
    QCOMPARE(t.browser->moduleViews().count(), t.tree()->topLevelItemCount());
    QCOMPARE(t.browser->moduleCount(), t.tree()->topLevelItemCount());
    QVERIFY(t.moduleView(index)->isVisible());
    QVERIFY(!t.moduleView(index)->text().empty());
    QCOMPARE(t.moduleView(index)->caretOffset(), std::size_t{0});
    QCOMPARE(t.tree()->topLevelItem(0)->background(0).color(), QColor(Qt::black));
    QCOMPARE(t.browser->history().top(), 0);
    QVERIFY(t.browser->caretTracking());
  }

  void routineClickGoesToItsFirstLineAndModuleClickToTheTop() {
    BrowserUnderTest t;
    QVERIFY(t.showAndExpose(project_.path()));
    QTreeWidgetItem* lager = moduleNode(t.tree(), "modLager");
    QVERIFY(lager);
    QTreeWidgetItem* buchen = routineNode(lager, "Buchen");
    QVERIFY(buchen);

    t.click(buchen);
    const int index = static_cast<int>(numberOf(lager)) - 1;
    QCOMPARE(t.browser->moduleViews().currentIndex(), index);
    CodeView* view = t.moduleView(index);
    QVERIFY(view->isVisible());
    const long long start = t.integer("SELECT rou_start FROM td_rout WHERE rou_num = " +
                                      std::to_string(numberOf(buchen)));
    QCOMPARE(static_cast<long long>(view->lineOfOffset(view->caretOffset())) + 1, start);
    QCOMPARE(selectedText(*view), std::string("Public"));
    QCOMPARE(t.panel(StatusBar::kModulePanel), QString("modLager"));
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), QString("Buchen"));
    QCOMPARE(lager->background(0).color(), QColor(Qt::black));
    QCOMPARE(t.browser->history().top(), 1);
    QVERIFY(!t.panelEnabled(StatusBar::kBackPanel));

    QTreeWidgetItem* other = t.tree()->topLevelItem(0) == lager ? t.tree()->topLevelItem(1) : t.tree()->topLevelItem(0);
    t.click(other);
    QCOMPARE(t.panel(StatusBar::kModulePanel), other->text(0));
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), QString());
    QCOMPARE(t.browser->history().top(), 1);
    QCOMPARE(t.shownView()->caretOffset(), std::size_t{0});
    QVERIFY(!view->isVisible());
    QCOMPARE(lager->background(0).color(), QColor(Qt::white));
  }

  void historyKeepsThirtyVisitsAndStepsBothWays() {
    BrowserUnderTest t;
    QVERIFY(t.showAndExpose(project_.path()));
    const auto routines = routineNodes(t.tree());
    QVERIFY(routines.size() > 2);
    struct Visit {
      QString module, routine;
      int index;
      long long start;
    };
    std::vector<Visit> visits;
    for (int i = 0; i < 31; ++i) {
      QTreeWidgetItem* node = routines[static_cast<std::size_t>(i) % routines.size()];
      t.click(node);
      visits.push_back({node->parent()->text(0), node->text(0), static_cast<int>(numberOf(node->parent())) - 1,
                        t.integer("SELECT rou_start FROM td_rout WHERE rou_num = " + std::to_string(numberOf(node)))});
    }
    QCOMPARE(t.browser->history().position(), 30);
    QCOMPARE(t.browser->history().top(), 30);
    QVERIFY(t.panelEnabled(StatusBar::kBackPanel));
    QVERIFY(!t.panelEnabled(StatusBar::kForwardPanel));

    // Slot k holds visit k: the very first visit was dropped.
    for (int position = 29; position >= 1; --position) {
      t.clickPanel(StatusBar::kBackPanel);
      const Visit& visit = visits[static_cast<std::size_t>(position)];
      QCOMPARE(t.browser->history().position(), position);
      QCOMPARE(t.panel(StatusBar::kModulePanel), visit.module);
      QCOMPARE(t.panel(StatusBar::kRoutinePanel), visit.routine);
      QCOMPARE(t.browser->moduleViews().currentIndex(), visit.index);
      QCOMPARE(static_cast<long long>(t.shownView()->lineOfOffset(t.shownView()->caretOffset())) + 1, visit.start);
    }
    QVERIFY(!t.panelEnabled(StatusBar::kBackPanel));
    QVERIFY(!t.command("mnuBearbeiten_RouBew_3")->isEnabled());
    QVERIFY(t.panelEnabled(StatusBar::kForwardPanel));
    QVERIFY(t.command("mnuBearbeiten_RouBew_4")->isEnabled());
    t.clickPanel(StatusBar::kBackPanel);  // disabled: nothing happens
    QCOMPARE(t.browser->history().position(), 1);
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), visits[1].routine);

    t.clickPanel(StatusBar::kForwardPanel);
    t.clickPanel(StatusBar::kForwardPanel);
    QCOMPARE(t.browser->history().position(), 3);
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), visits[3].routine);
    t.clickPanel(StatusBar::kBackPanel);
    t.clickPanel(StatusBar::kBackPanel);
    QVERIFY(t.panelEnabled(StatusBar::kForwardPanel));
    t.click(routines[0]);
    QCOMPARE(t.browser->history().position(), 2);
    QCOMPARE(t.browser->history().top(), 2);
    QVERIFY(!t.panelEnabled(StatusBar::kForwardPanel));
    QVERIFY(!t.command("mnuBearbeiten_RouBew_4")->isEnabled());
    QVERIFY(t.panelEnabled(StatusBar::kBackPanel));
    QVERIFY(t.command("mnuBearbeiten_RouBew_3")->isEnabled());
  }

  void functionKeysStepLikeThePanels() {
    BrowserUnderTest t;
    QVERIFY(t.showAndExpose(project_.path()));
    t.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
    const auto routines = routineNodes(t.tree());
    QVERIFY(routines.size() >= 3);
    for (int i = 0; i < 3; ++i) t.click(routines[static_cast<std::size_t>(i)]);
    const auto press = [&](Qt::KeyboardModifiers modifiers) {
      QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : t.window.get();
      QTest::keyClick(target, Qt::Key_F4, modifiers);
    };

    press(Qt::NoModifier);
    QCOMPARE(t.browser->history().position(), 2);
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), routines[1]->text(0));
    press(Qt::NoModifier);
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), routines[0]->text(0));
    QCOMPARE(t.command("mnuBearbeiten_RouBew_3")->isEnabled(), t.panelEnabled(StatusBar::kBackPanel));
    press(Qt::NoModifier);  // disabled at position 1
    QCOMPARE(t.browser->history().position(), 1);
    press(Qt::ControlModifier);
    QCOMPARE(t.browser->history().position(), 2);
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), routines[1]->text(0));
    press(Qt::ControlModifier);
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), routines[2]->text(0));
    QCOMPARE(t.command("mnuBearbeiten_RouBew_4")->isEnabled(), t.panelEnabled(StatusBar::kForwardPanel));
    QVERIFY(!t.command("mnuBearbeiten_RouBew_4")->isEnabled());
  }

  void caretMovesQueryTheRoutineOnlyOnAnotherLine() {
    BrowserUnderTest t;
    QVERIFY(t.showAndExpose(project_.path()));
    QTreeWidgetItem* lager = moduleNode(t.tree(), "modLager");
    t.click(lager);
    CodeView* view = t.shownView();
    const auto startOf = [&](const char* name) {
      return t.integer(std::string("SELECT rou_start FROM td_rout WHERE rou_name = '") + name + "'");
    };

    // A key in a routine's first line names the routine.
    view->setCaret(offsetOfLine(view->text(), startOf("Bestand")));
    QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), QString("Bestand"));
    // Within the same line nothing is asked again.
    t.window->statusPanels().setText(StatusBar::kRoutinePanel, QString());
    QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), QString());
    // A mouse click on another routine's line names that one (setting the caret
    // only scrolls that line into sight; the release of the click asks).
    view->setCaret(offsetOfLine(view->text(), startOf("Warten") + 1) + 4);
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), QString());
    const QPoint inWarten = view->cursorRect().center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, inWarten);
    QCOMPARE(static_cast<long long>(view->lineOfOffset(view->caretOffset())) + 1, startOf("Warten") + 1);
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), QString("Warten"));
    // The declarations belong to no routine.
    QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), QString());

    t.browser->setCaretTracking(false);
    view->setCaret(offsetOfLine(view->text(), startOf("Bestand")));
    QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), QString());
  }

  void zoomShowsTheRoutineOrTheDeclarations() {
    BrowserUnderTest t;
    QVERIFY(t.showAndExpose(project_.path()));
    t.window->setCommandState(2);
    QTreeWidgetItem* lager = moduleNode(t.tree(), "modLager");
    const int module = static_cast<int>(numberOf(lager));
    const auto rangeOf = [&](QTreeWidgetItem* routine) {
      const std::string where = " FROM td_rout WHERE rou_num = " + std::to_string(numberOf(routine));
      return std::pair{t.integer("SELECT rou_start" + where), t.integer("SELECT rou_ende" + where)};
    };
    CodeView* zoom = t.find<CodeView>("rtbZoom");
    QAction* zoomCommand = t.command("mnuAnsicht_Zoom");
    QAction* zoomButton = t.window->commands().toolbarButton("zoom");

    t.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
    QTreeWidgetItem* bestellvorschlag = routineNode(lager, "Bestellvorschlag");
    t.click(bestellvorschlag);
    QVERIFY(!zoom->isVisible());
    QVERIFY(t.shownView()->hasFocus());
    zoomButton->trigger();
    QVERIFY(zoomCommand->isChecked());
    QVERIFY(zoomButton->isChecked());
    QVERIFY(zoom->isVisible());
    const std::string text = t.shownView()->text();
    auto [first, last] = rangeOf(bestellvorschlag);
    QVERIFY(last > first);
    QCOMPARE(zoom->text(), linesOf(text, first, last));

    // With zoom on, a routine click shows that routine.
    QTreeWidgetItem* buchen = routineNode(lager, "Buchen");
    t.click(buchen);
    std::tie(first, last) = rangeOf(buchen);
    QCOMPARE(zoom->text(), linesOf(text, first, last));
    QCOMPARE(t.browser->history().top(), 2);
    QVERIFY(zoom->hasFocus());
    // Any status panel gives the focus back to the code.
    t.tree()->setFocus();
    t.clickPanel(StatusBar::kModulePanel);
    QVERIFY(zoom->hasFocus());

    // The caret in the declarations shows line 1 up to the first routine.
    t.click(lager);
    const long long firstRoutine =
        t.integer("SELECT Min(rou_start) FROM td_rout WHERE mod_num = " + std::to_string(module));
    QVERIFY(firstRoutine > 2);
    QCOMPARE(zoom->text(), linesOf(text, 1, firstRoutine - 1));

    // Right clicks open the zoom's own popup on the zoom view, the main one on a module view.
    QContextMenuEvent onZoom(QContextMenuEvent::Mouse, QPoint(5, 5), zoom->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(zoom->viewport(), &onZoom);
    QMenu* zoomPopup = t.window->commands().popupMenu("mnuPopUp_Zoom");
    QVERIFY(zoomPopup->isVisible());
    zoomPopup->hide();

    t.command("mnuPopUp_Zoom_Aus")->trigger();
    QVERIFY(!zoomCommand->isChecked());
    QVERIFY(!zoomButton->isChecked());
    QVERIFY(!zoom->isVisible());

    CodeView* view = t.shownView();
    QContextMenuEvent onView(QContextMenuEvent::Mouse, QPoint(5, 5), view->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(view->viewport(), &onView);
    QMenu* mainPopup = t.window->commands().popupMenu("mnuPopUpHaupt");
    QVERIFY(mainPopup->isVisible());
    QVERIFY(!zoomPopup->isVisible());
    mainPopup->hide();
  }

  void resetEmptiesTheCodeView() {
    BrowserUnderTest t;
    QVERIFY(t.showAndExpose(project_.path()));
    t.window->setCommandState(2);
    const auto routines = routineNodes(t.tree());
    t.click(routines[0]);
    t.click(routines[1]);
    t.command("mnuAnsicht_Zoom")->trigger();
    t.window->commands().action("mnuBearbeiten_Code")->setEnabled(true);
    t.window->panes().showLeftPane(LeftPane::HostStatus);

    t.browser->reset();
    QCOMPARE(t.browser->history().position(), 0);
    QCOMPARE(t.browser->history().top(), 0);
    QVERIFY(!t.panelEnabled(StatusBar::kBackPanel));
    QVERIFY(!t.panelEnabled(StatusBar::kForwardPanel));
    QVERIFY(!t.command("mnuBearbeiten_RouBew_3")->isEnabled());
    QVERIFY(!t.command("mnuBearbeiten_RouBew_4")->isEnabled());
    QVERIFY(t.window->panes().leftPane() != LeftPane::HostStatus);
    QCOMPARE(t.browser->moduleViews().count(), 1);
    QVERIFY(t.moduleView(0)->text().empty());
    QVERIFY(t.moduleView(0)->isVisible());
    QVERIFY(t.moduleView(1) == nullptr);
    QVERIFY(!t.command("mnuBearbeiten_Code")->isEnabled());
    QVERIFY(!t.window->commands().toolbarButton("doit")->isEnabled());
    QVERIFY(!t.command("mnuAnsicht_Zoom")->isChecked());
    QVERIFY(!t.find<CodeView>("rtbZoom")->isVisible());
  }

  void aRoutineNoLongerInTheTableKeepsTheView() {
    test::TempFolder copy;
    std::filesystem::copy(project_.path(), copy.path(), std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    BrowserUnderTest t;
    QVERIFY(t.showAndExpose(copy.path()));
    QTreeWidgetItem* lager = moduleNode(t.tree(), "modLager");
    t.click(lager);
    QTreeWidgetItem* warten = routineNode(lager, "Warten");
    t.integer("DELETE FROM td_rout WHERE rou_num = " + std::to_string(numberOf(warten)));
    t.shownView()->setCaret(7);
    t.click(warten);
    QCOMPARE(t.shownView()->caretOffset(), std::size_t{7});
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), QString("Warten"));
    QCOMPARE(t.browser->history().top(), 1);
  }

  void aMissingModuleFileIsReportedWhenItsModuleIsShown() {
    test::TempFolder copy;
    for (const auto& entry : std::filesystem::directory_iterator(project_.path()))
      std::filesystem::copy_file(entry.path(), copy.path() / entry.path().filename());
    std::filesystem::remove(copy.path() / "M3.txt");
    BrowserUnderTest t;
    QVERIFY(t.showAndExpose(copy.path()));
    QTreeWidgetItem* lager = t.browser->projectTree().nodeByKey("M3");
    QVERIFY(lager);
    t.browser->projectTree().activate(lager);
    QCOMPARE(t.dialogs.requests.size(), std::size_t{1});
    QCOMPARE(t.dialogs.requests[0].kind, DialogKind::Warning);
    QVERIFY(t.dialogs.requests[0].text.contains("M3.txt"));
  }

  void aFolderWithoutIntactDatabaseIsRefused() {
    BrowserUnderTest t;
    test::TempFolder empty;
    const std::filesystem::path folder = empty.path() / "kaputt/";
    std::filesystem::create_directories(folder);
    QVERIFY(!t.showAndExpose(folder));
    QCOMPARE(t.dialogs.requests.size(), std::size_t{1});
    QCOMPARE(t.dialogs.requests[0].kind, DialogKind::Warning);
    QCOMPARE(t.dialogs.requests[0].text,
             "Projekt in " + QString::fromStdString(folder.string()) + "\r\nist nicht mehr intakt");
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QCOMPARE(t.panel(StatusBar::kProgressPanel), QString());
    QVERIFY(t.browser->database() == nullptr);

    // A file of that name that is no code database fails the same way.
    empty.writeFile("kaputt/CodeQuorix.mdb", "kein SQLite");
    QVERIFY(!t.browser->showProject(folder));
    QCOMPARE(t.dialogs.requests.size(), std::size_t{2});
  }
};

}  // namespace cq

QTEST_MAIN(cq::ProjectBrowserTest)
#include "project_browser_test.moc"
