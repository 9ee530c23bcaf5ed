// Browsing a shown project in the real main window: node clicks, the routine at
// the caret, the history of visited routines, zoom, reset and broken projects.
#include "ui/browse/project_browser.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTreeWidget>
#include <QtTest>
#include <sqlite3.h>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "support/sample_project.h"
#include "support/temp_folder.h"
#include "ui/code/code_view.h"
#include "ui/code/module_views.h"
#include "ui/commands/command_table.h"
#include "ui/main_window.h"
#include "ui/scripted_dialogs.h"
#include "ui/status_bar.h"
#include "ui/test_app_state.h"
#include "ui/trees/project_tree_view.h"

namespace cq {

namespace {

long long numberOf(const QTreeWidgetItem* item) { return item->data(0, Qt::UserRole).toString().mid(1).toLongLong(); }

// Offset of the start of 1-based line `line`; lines first..last without the final line break.
std::size_t offsetOfLine(const std::string& text, long long line) {
  std::size_t offset = 0;
  for (long long l = 1; l < line && offset < text.size(); ++l)
    offset = std::min(text.find('\n', offset), text.size()) + 1;
  return std::min(offset, text.size());
}
std::string linesOf(const std::string& text, long long first, long long last) {
  const std::size_t from = offsetOfLine(text, first);
  std::size_t to = offsetOfLine(text, last + 1);
  while (to > from && (text[to - 1] == '\n' || text[to - 1] == '\r')) --to;
  return text.substr(from, to - from);
}

// The main window on settings in a temporary folder, shown with a browser wired in.
struct BrowserUnderTest {
  test::TempFolder folder;
  SettingsStore settings{folder.path() / "settings.ini"};
  AppState state;
  ScriptedDialogs dialogs;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<ProjectBrowser> browser;

  explicit BrowserUnderTest(const std::filesystem::path& project) {
    state = test::testAppState(folder.path());
    window = std::make_unique<MainWindow>(state, settings);
    window->messages().setReplier(dialogs.replier());
    browser = std::make_unique<ProjectBrowser>(*window, state.display);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QVERIFY(browser->showProject(project));
  }

  QTreeWidget* tree() const { return window->findChild<QTreeWidget*>("treProjekt"); }
  QString panel(int index) const { return window->statusPanels().text(index); }
  QString routinePanel() const { return panel(StatusBar::kRoutinePanel); }
  void clickPanel(int index) const { QTest::mouseClick(window->statusPanels().panel(index), Qt::LeftButton); }
  QAction* command(const char* name) const { return window->commands().action(QString::fromUtf8(name)); }
  CodeView* moduleView(int index) const { return window->findChild<CodeView*>(QString("rtbHaupt_%1").arg(index)); }
  CodeView* shownView() const { return moduleView(browser->moduleViews().currentIndex()); }
  int position() const { return browser->history().position(); }
  long long caretLine() const {
    return static_cast<long long>(shownView()->lineOfOffset(shownView()->caretOffset())) + 1;
  }

  // Back/forward as panel and command both show them.
  void expectSteps(bool back, bool forward) const {
    const StatusBar& panels = window->statusPanels();
    QCOMPARE((QList<bool>{panels.isPanelEnabled(StatusBar::kBackPanel), command("mnuBearbeiten_RouBew_3")->isEnabled(),
                          panels.isPanelEnabled(StatusBar::kForwardPanel),
                          command("mnuBearbeiten_RouBew_4")->isEnabled()}),
             (QList<bool>{back, back, forward, forward}));
  }

  void click(QTreeWidgetItem* item) const {
    if (item->parent()) item->parent()->setExpanded(true);
    tree()->scrollToItem(item);
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualItemRect(item).center());
  }
  QTreeWidgetItem* node(const QString& name) const {
    const auto found = tree()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.size() == 1 ? found.front() : nullptr;
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
  long long routineColumn(const char* column, const QTreeWidgetItem* routine) const {
    return integer(std::string("SELECT ") + column + " FROM td_rout WHERE rou_num = " +
                   std::to_string(numberOf(routine)));
  }
};

}  // namespace

class ProjectBrowserTest : public QObject {
  Q_OBJECT

  test::TempFolder project_;

 private slots:
  void initTestCase() { QVERIFY(test::readSampleProject(project_.path())); }

  void showingAndClickingNodes() {
    BrowserUnderTest t(project_.path());
    QCOMPARE(t.window->panes().leftPane(), LeftPane::ProjectTree);
    QVERIFY(t.tree()->isVisible() && !t.window->panes().hostTree()->isVisible());
    QTreeWidgetItem* first = t.tree()->topLevelItem(0);
    QCOMPARE(t.tree()->currentItem(), first);
    QCOMPARE(t.panel(StatusBar::kModulePanel), first->text(0));
    QCOMPARE(t.browser->moduleViews().count(), t.tree()->topLevelItemCount());
    QVERIFY(t.shownView()->isVisible() && !t.shownView()->text().empty());
    // A routine click: its module, caret on rou_start with the first word selected, one history entry.
    QTreeWidgetItem* lager = t.node("modLager");
    QTreeWidgetItem* buchen = t.node("Buchen");
    QVERIFY(lager && buchen && lager != first);
    t.click(buchen);
    QCOMPARE(t.browser->moduleViews().currentIndex(), int(numberOf(lager)) - 1);
    CodeView* view = t.shownView();
    QCOMPARE(t.caretLine(), t.routineColumn("rou_start", buchen));
    QCOMPARE(view->text().substr(view->caretOffset(), view->selectionLength()), std::string("Public"));
    QCOMPARE((QStringList{t.panel(StatusBar::kModulePanel), t.routinePanel()}), (QStringList{"modLager", "Buchen"}));
    QCOMPARE(lager->background(0).color(), QColor(Qt::black));
    QCOMPARE(t.browser->history().top(), 1);
    t.expectSteps(false, false);
    // A module click goes to its top and adds no history entry.
    t.click(first);
    QCOMPARE(t.routinePanel(), QString());
    QCOMPARE(t.browser->history().top(), 1);
    QCOMPARE(t.shownView()->caretOffset(), std::size_t{0});
    QVERIFY(!view->isVisible());
  }

  void historyKeepsThirtyVisitsAndStepsByPanelsAndKeys() {
    BrowserUnderTest t(project_.path());
    std::vector<QTreeWidgetItem*> routines;
    for (int i = 0; i < t.tree()->topLevelItemCount(); ++i)
      for (int j = 0; j < t.tree()->topLevelItem(i)->childCount(); ++j)
        routines.push_back(t.tree()->topLevelItem(i)->child(j));
    QVERIFY(routines.size() > 2);
    std::vector<std::pair<QTreeWidgetItem*, long long>> visits;  // routine, its start line
    for (std::size_t i = 0; i < 31; ++i) {
      QTreeWidgetItem* node = routines[i % routines.size()];
      t.click(node);
      visits.emplace_back(node, t.routineColumn("rou_start", node));
    }
    QCOMPARE(t.position(), 30);
    QCOMPARE(t.browser->history().top(), 30);
    t.expectSteps(true, false);
    // Slot k holds visit k: the very first visit was dropped.
    for (int position = 29; position >= 1; --position) {
      t.clickPanel(StatusBar::kBackPanel);
      const auto& [routine, start] = visits[std::size_t(position)];
      QCOMPARE(t.position(), position);
      QCOMPARE((QStringList{t.panel(StatusBar::kModulePanel), t.routinePanel()}),
               (QStringList{routine->parent()->text(0), routine->text(0)}));
      QCOMPARE(t.caretLine(), start);
      QCOMPARE(t.tree()->currentItem(), routine);  // the tree follows the routine shown
    }
    t.expectSteps(false, true);
    t.clickPanel(StatusBar::kBackPanel);  // disabled: nothing happens
    QCOMPARE(t.position(), 1);
    // F4 steps back (here disabled), Ctrl+F4 forward, like the panels.
    const auto press = [&](Qt::KeyboardModifiers modifiers) {
      QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : t.window.get();
      QTest::keyClick(target, Qt::Key_F4, modifiers);
    };
    for (auto [modifiers, expected] : {std::pair{Qt::KeyboardModifiers{}, 1}, {Qt::ControlModifier, 2},
                                       {Qt::ControlModifier, 3}, {Qt::KeyboardModifiers{}, 2}}) {
      press(modifiers);
      QCOMPARE(t.position(), expected);
      QCOMPARE(t.routinePanel(), visits[std::size_t(expected)].first->text(0));
    }
    // A new visit after stepping back: the forward steps are gone.
    t.clickPanel(StatusBar::kBackPanel);
    t.click(routines[0]);
    QCOMPARE(t.position(), 2);
    QCOMPARE(t.browser->history().top(), 2);
    t.expectSteps(true, false);
  }

  void aHistoryStepShowsItsLineAsATreeClickDoes() {
    BrowserUnderTest t(project_.path());
    t.window->resize(900, 400);  // a module taller than its view
    QApplication::processEvents();
    const auto topLine = [&] { return t.shownView()->verticalScrollBar()->value(); };
    QTreeWidgetItem* later = t.node("Bestellvorschlag");
    QTreeWidgetItem* earlier = t.node("Bestand");
    t.click(later);
    const int laterTop = topLine();
    QCOMPARE(laterTop, int(t.routineColumn("rou_start", later)) - 1);  // its line at the top
    t.click(earlier);
    const int earlierTop = topLine();
    QVERIFY(earlierTop < laterTop);
    t.clickPanel(StatusBar::kBackPanel);
    QCOMPARE(t.caretLine(), t.routineColumn("rou_start", later));
    QCOMPARE(topLine(), laterTop);
    const CodeView* view = t.shownView();
    QCOMPARE(view->text().substr(view->caretOffset(), view->selectionLength()), std::string("Public"));
    t.clickPanel(StatusBar::kForwardPanel);
    QCOMPARE(topLine(), earlierTop);
  }

  void caretMovesQueryTheRoutineOnlyOnAnotherLine() {
    BrowserUnderTest t(project_.path());
    t.click(t.node("modLager"));
    CodeView* view = t.shownView();
    const auto lineOf = [&](const char* name, long long plus = 0) {
      const std::string sql = std::string("SELECT rou_start FROM td_rout WHERE rou_name = '") + name + "'";
      return offsetOfLine(view->text(), t.integer(sql) + plus);
    };
    view->setCaret(lineOf("Bestand"));
    QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(t.routinePanel(), QString("Bestand"));
    t.window->statusPanels().setText(StatusBar::kRoutinePanel, QString());
    QTest::keyClick(view, Qt::Key_Right);  // same line: not asked again
    QCOMPARE(t.routinePanel(), QString());
    // Setting the caret only scrolls; the release of a click asks.
    view->setCaret(lineOf("Warten", 1) + 4);
    QCOMPARE(t.routinePanel(), QString());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cursorRect().center());
    QCOMPARE(t.routinePanel(), QString("Warten"));
    QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);  // declarations: no routine
    QCOMPARE(t.routinePanel(), QString());
    t.browser->setCaretTracking(false);
    view->setCaret(lineOf("Bestand"));
    QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(t.routinePanel(), QString());
  }

  void zoomShowsTheRoutineOrTheDeclarationsAndResetEmptiesAll() {
    BrowserUnderTest t(project_.path());
    t.window->setCommandState(CommandState::kSavedOrOpened);
    CodeView* zoom = t.window->findChild<CodeView*>("rtbZoom");
    QAction* zoomCommand = t.command("mnuAnsicht_Zoom");
    const auto lines = [&](long long first, long long last) { return linesOf(t.shownView()->text(), first, last); };

    t.click(t.node("Bestellvorschlag"));
    QVERIFY(!zoom->isVisible());
    t.window->commands().toolbarButton("zoom")->trigger();
    QVERIFY(zoomCommand->isChecked() && zoom->isVisible());
    QTreeWidgetItem* buchen = t.node("Buchen");
    t.click(buchen);
    QCOMPARE(zoom->text(), lines(t.routineColumn("rou_start", buchen), t.routineColumn("rou_ende", buchen)));
    QVERIFY(zoom->hasFocus());
    t.tree()->setFocus();
    t.clickPanel(StatusBar::kModulePanel);  // any panel gives the focus back to the code
    QVERIFY(zoom->hasFocus());
    // In the declarations: line 1 up to the first routine.
    QTreeWidgetItem* lager = t.node("modLager");
    t.click(lager);
    const long long firstRoutine =
        t.integer("SELECT Min(rou_start) FROM td_rout WHERE mod_num = " + std::to_string(numberOf(lager)));
    QVERIFY(firstRoutine > 2);
    QCOMPARE(zoom->text(), lines(1, firstRoutine - 1));
    // A right click on the zoom opens its own popup, whose item ends the zoom.
    QMenu* zoomPopup = t.window->commands().popupMenu("mnuPopUp_Zoom");
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), zoom->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(zoom->viewport(), &event);
    QVERIFY(zoomPopup->isVisible());
    zoomPopup->hide();
    t.command("mnuPopUp_Zoom_Aus")->trigger();
    QVERIFY(!zoomCommand->isChecked() && !zoom->isVisible());
    // Reset: history, views, zoom and the read commands all go.
    zoomCommand->trigger();
    t.command("mnuBearbeiten_Code")->setEnabled(true);
    t.browser->reset();
    QCOMPARE(t.browser->history().top(), 0);
    t.expectSteps(false, false);
    QCOMPARE(t.browser->moduleViews().count(), 1);
    QVERIFY(t.moduleView(0)->text().empty() && t.moduleView(1) == nullptr);
    QVERIFY(!t.command("mnuBearbeiten_Code")->isEnabled());
    QVERIFY(!zoomCommand->isChecked() && !zoom->isVisible());
  }

  void damagedProjectsAreReported() {
    test::TempFolder copy;
    for (const auto& entry : std::filesystem::directory_iterator(project_.path()))
      std::filesystem::copy_file(entry.path(), copy.path() / entry.path().filename());
    std::filesystem::remove(copy.path() / "M3.txt");
    BrowserUnderTest t(copy.path());
    t.browser->projectTree().activate(t.browser->projectTree().nodeByKey("M3"));
    QCOMPARE(t.dialogs.requests.size(), std::size_t{1});  // the missing module file, when shown
    QCOMPARE(t.dialogs.requests[0].kind, DialogKind::Warning);
    QVERIFY(t.dialogs.requests[0].text.contains("M3.txt"));
    // A folder without an intact code database is refused; the project shown stays, with its database.
    const std::filesystem::path folder = copy.path() / "kaputt/";
    std::filesystem::create_directories(folder);
    const CodeDatabase* shown = t.browser->database();
    const int modules = t.tree()->topLevelItemCount();
    QVERIFY(!t.browser->showProject(folder));
    QCOMPARE(t.dialogs.requests.size(), std::size_t{2});
    // The message, and below it why: here the code database that is not there.
    const QString damaged = t.dialogs.requests[1].text;
    QVERIFY2(damaged.startsWith("Projekt in " + QString::fromStdString(folder.string()) +
                                "\r\nist nicht mehr intakt\r\n\r\nDie Datenbank"),
             qPrintable(damaged));
    QVERIFY2(damaged.contains("CodeQuorix.mdb"), qPrintable(damaged));
    QVERIFY(QApplication::overrideCursor() == nullptr && t.browser->database() == shown);
    copy.writeFile("kaputt/CodeQuorix.mdb", "kein SQLite");
    QVERIFY(!t.browser->showProject(folder));
    QCOMPARE(t.dialogs.requests.size(), std::size_t{3});
    QVERIFY(t.browser->database() == shown && t.browser->workingFolder() == copy.path());
    QCOMPARE(t.tree()->topLevelItemCount(), modules);
    QCOMPARE(t.browser->moduleViews().count(), modules);
  }
};

}  // namespace cq

QTEST_MAIN(cq::ProjectBrowserTest)
#include "project_browser_test.moc"
