// Browsing a shown project in the real main window: node clicks, the routine at
// the caret, the history of visited routines, zoom, reset and broken projects.
#include "ui/browse/project_browser.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
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
#include "ui/trees/project_tree_view.h"

namespace cq {

namespace {

long long numberOf(const QTreeWidgetItem* item) { return item->data(0, Qt::UserRole).toString().mid(1).toLongLong(); }

// Offset of the start of 1-based line `line`.
std::size_t offsetOfLine(const std::string& text, long long line) {
  std::size_t offset = 0;
  for (long long l = 1; l < line && offset != std::string::npos; ++l)
    if ((offset = text.find('\n', offset)) != std::string::npos) ++offset;
  return offset == std::string::npos ? text.size() : offset;
}

// Lines first..last (1-based), without the final line break.
std::string linesOf(const std::string& text, long long first, long long last) {
  const std::size_t from = offsetOfLine(text, first);
  std::size_t to = offsetOfLine(text, last + 1);
  while (to > from && (text[to - 1] == '\n' || text[to - 1] == '\r')) --to;
  return text.substr(from, to - from);
}

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

  bool showAndExpose(const std::filesystem::path& project, bool active = false) {
    window->show();
    if (active) window->activateWindow();
    return QTest::qWaitForWindowExposed(window.get()) && (!active || QTest::qWaitForWindowActive(window.get())) &&
           browser->showProject(project);
  }

  QTreeWidget* tree() const { return window->findChild<QTreeWidget*>("treProjekt"); }
  QLabel* panelLabel(int index) const { return window->findChild<QLabel*>(QString("staBar_%1").arg(index)); }
  QString panel(int index) const { return panelLabel(index)->text(); }
  QString routinePanel() const { return panel(StatusBar::kRoutinePanel); }
  bool panelEnabled(int index) const { return panelLabel(index)->isEnabled(); }
  void clickPanel(int index) const { QTest::mouseClick(panelLabel(index), Qt::LeftButton); }
  QAction* command(const char* name) const { return window->commands().action(QString::fromUtf8(name)); }
  CodeView* moduleView(int index) const { return window->findChild<CodeView*>(QString("rtbHaupt_%1").arg(index)); }
  CodeView* shownView() const { return moduleView(browser->moduleViews().currentIndex()); }
  int position() const { return browser->history().position(); }
  long long caretLine() const {
    return static_cast<long long>(shownView()->lineOfOffset(shownView()->caretOffset())) + 1;
  }

  // Back/forward as panel, command and state all agree.
  void expectSteps(bool back, bool forward) const {
    QCOMPARE(panelEnabled(StatusBar::kBackPanel), back);
    QCOMPARE(command("mnuBearbeiten_RouBew_3")->isEnabled(), back);
    QCOMPARE(panelEnabled(StatusBar::kForwardPanel), forward);
    QCOMPARE(command("mnuBearbeiten_RouBew_4")->isEnabled(), forward);
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
  std::vector<QTreeWidgetItem*> routines() const {
    std::vector<QTreeWidgetItem*> all;
    for (int i = 0; i < tree()->topLevelItemCount(); ++i)
      for (int j = 0; j < tree()->topLevelItem(i)->childCount(); ++j) all.push_back(tree()->topLevelItem(i)->child(j));
    return all;
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
    BrowserUnderTest t;
    QVERIFY(t.showAndExpose(project_.path()));
    QCOMPARE(t.window->panes().leftPane(), LeftPane::ProjectTree);
    QTreeWidgetItem* first = t.tree()->topLevelItem(0);
    QVERIFY(first);
    QCOMPARE(t.tree()->currentItem(), first);
    QCOMPARE(t.panel(StatusBar::kModulePanel), first->text(0));
    QCOMPARE(t.routinePanel(), QString());
    QCOMPARE(t.browser->moduleViews().currentIndex(), static_cast<int>(numberOf(first)) - 1);
    QCOMPARE(t.browser->moduleViews().count(), t.tree()->topLevelItemCount());
    QVERIFY(t.shownView()->isVisible() && !t.shownView()->text().empty());
    QCOMPARE(first->background(0).color(), QColor(Qt::black));

    // A routine click: its module, caret on rou_start with the first word selected, one history entry.
    QTreeWidgetItem* lager = t.node("modLager");
    QTreeWidgetItem* buchen = t.node("Buchen");
    QVERIFY(lager && buchen && lager != first);
    t.click(buchen);
    QCOMPARE(t.browser->moduleViews().currentIndex(), static_cast<int>(numberOf(lager)) - 1);
    CodeView* view = t.shownView();
    QVERIFY(view->isVisible());
    QCOMPARE(t.caretLine(), t.routineColumn("rou_start", buchen));
    QCOMPARE(view->text().substr(view->caretOffset(), view->selectionLength()), std::string("Public"));
    QCOMPARE(t.panel(StatusBar::kModulePanel), QString("modLager"));
    QCOMPARE(t.routinePanel(), QString("Buchen"));
    QCOMPARE(lager->background(0).color(), QColor(Qt::black));
    QCOMPARE(first->background(0).color(), QColor(Qt::white));
    QCOMPARE(t.browser->history().top(), 1);
    t.expectSteps(false, false);

    // A module click goes to its top and adds no history entry.
    t.click(first);
    QCOMPARE(t.panel(StatusBar::kModulePanel), first->text(0));
    QCOMPARE(t.routinePanel(), QString());
    QCOMPARE(t.browser->history().top(), 1);
    QCOMPARE(t.shownView()->caretOffset(), std::size_t{0});
    QVERIFY(!view->isVisible());
    QCOMPARE(lager->background(0).color(), QColor(Qt::white));
  }

  void historyKeepsThirtyVisitsAndStepsByPanelsAndKeys() {
    BrowserUnderTest t;
    QVERIFY(t.showAndExpose(project_.path(), true));
    const auto routines = t.routines();
    QVERIFY(routines.size() > 2);
    struct Visit { QString module, routine; int index; long long start; };
    std::vector<Visit> visits;
    for (std::size_t i = 0; i < 31; ++i) {
      QTreeWidgetItem* node = routines[i % routines.size()];
      t.click(node);
      visits.push_back({node->parent()->text(0), node->text(0), static_cast<int>(numberOf(node->parent())) - 1,
                        t.routineColumn("rou_start", node)});
    }
    QCOMPARE(t.position(), 30);
    QCOMPARE(t.browser->history().top(), 30);
    t.expectSteps(true, false);

    // Slot k holds visit k: the very first visit was dropped.
    for (int position = 29; position >= 1; --position) {
      t.clickPanel(StatusBar::kBackPanel);
      const Visit& visit = visits[static_cast<std::size_t>(position)];
      QCOMPARE(t.position(), position);
      QCOMPARE(t.panel(StatusBar::kModulePanel), visit.module);
      QCOMPARE(t.routinePanel(), visit.routine);
      QCOMPARE(t.browser->moduleViews().currentIndex(), visit.index);
      QCOMPARE(t.caretLine(), visit.start);
    }
    t.expectSteps(false, true);
    t.clickPanel(StatusBar::kBackPanel);  // disabled: nothing happens
    QCOMPARE(t.position(), 1);
    QCOMPARE(t.routinePanel(), visits[1].routine);

    // F4 steps back, Ctrl+F4 forward, like the panels.
    const auto press = [&](Qt::KeyboardModifiers modifiers) {
      QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : t.window.get();
      QTest::keyClick(target, Qt::Key_F4, modifiers);
    };
    press(Qt::NoModifier);  // disabled at position 1
    QCOMPARE(t.position(), 1);
    press(Qt::ControlModifier);
    press(Qt::ControlModifier);
    QCOMPARE(t.position(), 3);
    QCOMPARE(t.routinePanel(), visits[3].routine);
    press(Qt::NoModifier);
    QCOMPARE(t.position(), 2);
    QCOMPARE(t.routinePanel(), visits[2].routine);

    // Back, back, then a new click: the forward steps are gone.
    t.clickPanel(StatusBar::kForwardPanel);
    t.clickPanel(StatusBar::kBackPanel);
    t.clickPanel(StatusBar::kBackPanel);
    QCOMPARE(t.position(), 1);
    t.click(routines[0]);
    QCOMPARE(t.position(), 2);
    QCOMPARE(t.browser->history().top(), 2);
    t.expectSteps(true, false);
  }

  void caretMovesQueryTheRoutineOnlyOnAnotherLine() {
    BrowserUnderTest t;
    QVERIFY(t.showAndExpose(project_.path()));
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
    QCOMPARE(view->lineOfOffset(view->caretOffset()), view->lineOfOffset(lineOf("Warten", 1)));
    QCOMPARE(t.routinePanel(), QString("Warten"));
    QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);  // declarations: no routine
    QCOMPARE(t.routinePanel(), QString());

    t.browser->setCaretTracking(false);
    view->setCaret(lineOf("Bestand"));
    QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(t.routinePanel(), QString());
  }

  void zoomShowsTheRoutineOrTheDeclarationsAndResetEmptiesAll() {
    BrowserUnderTest t;
    QVERIFY(t.showAndExpose(project_.path(), true));
    t.window->setCommandState(2);
    QTreeWidgetItem* lager = t.node("modLager");
    CodeView* zoom = t.window->findChild<CodeView*>("rtbZoom");
    QAction* zoomCommand = t.command("mnuAnsicht_Zoom");
    QAction* zoomButton = t.window->commands().toolbarButton("zoom");
    const auto routineLines = [&](QTreeWidgetItem* routine) {
      const long long first = t.routineColumn("rou_start", routine), last = t.routineColumn("rou_ende", routine);
      return last > first ? linesOf(t.shownView()->text(), first, last) : std::string("?");
    };

    QTreeWidgetItem* bestellvorschlag = t.node("Bestellvorschlag");
    t.click(bestellvorschlag);
    QVERIFY(!zoom->isVisible());
    QVERIFY(t.shownView()->hasFocus());
    zoomButton->trigger();
    QVERIFY(zoomCommand->isChecked() && zoomButton->isChecked() && zoom->isVisible());
    QCOMPARE(zoom->text(), routineLines(bestellvorschlag));

    QTreeWidgetItem* buchen = t.node("Buchen");
    t.click(buchen);
    QCOMPARE(zoom->text(), routineLines(buchen));
    QCOMPARE(t.browser->history().top(), 2);
    QVERIFY(zoom->hasFocus());
    t.tree()->setFocus();
    t.clickPanel(StatusBar::kModulePanel);  // any panel gives the focus back to the code
    QVERIFY(zoom->hasFocus());

    // In the declarations: line 1 up to the first routine.
    t.click(lager);
    const long long firstRoutine =
        t.integer("SELECT Min(rou_start) FROM td_rout WHERE mod_num = " + std::to_string(numberOf(lager)));
    QVERIFY(firstRoutine > 2);
    QCOMPARE(zoom->text(), linesOf(t.shownView()->text(), 1, firstRoutine - 1));

    // Right clicks: the zoom's own popup on the zoom view, the main one on a module view.
    const auto rightClick = [](CodeView* on) {
      QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), on->viewport()->mapToGlobal(QPoint(5, 5)));
      QApplication::sendEvent(on->viewport(), &event);
    };
    QMenu* zoomPopup = t.window->commands().popupMenu("mnuPopUp_Zoom");
    QMenu* mainPopup = t.window->commands().popupMenu("mnuPopUpHaupt");
    rightClick(zoom);
    QVERIFY(zoomPopup->isVisible());
    zoomPopup->hide();
    t.command("mnuPopUp_Zoom_Aus")->trigger();
    QVERIFY(!zoomCommand->isChecked() && !zoomButton->isChecked() && !zoom->isVisible());
    rightClick(t.shownView());
    QVERIFY(mainPopup->isVisible() && !zoomPopup->isVisible());
    mainPopup->hide();

    // Reset: history, views, zoom and the read commands all go.
    zoomCommand->trigger();
    t.command("mnuBearbeiten_Code")->setEnabled(true);
    t.window->panes().showLeftPane(LeftPane::HostStatus);
    t.browser->reset();
    QCOMPARE(t.position(), 0);
    QCOMPARE(t.browser->history().top(), 0);
    t.expectSteps(false, false);
    QVERIFY(t.window->panes().leftPane() != LeftPane::HostStatus);
    QCOMPARE(t.browser->moduleViews().count(), 1);
    QVERIFY(t.moduleView(0)->text().empty() && t.moduleView(0)->isVisible());
    QVERIFY(t.moduleView(1) == nullptr);
    QVERIFY(!t.command("mnuBearbeiten_Code")->isEnabled());
    QVERIFY(!t.window->commands().toolbarButton("doit")->isEnabled());
    QVERIFY(!zoomCommand->isChecked() && !zoom->isVisible());
  }

  void damagedProjectsAreReported() {
    test::TempFolder copy;
    for (const auto& entry : std::filesystem::directory_iterator(project_.path()))
      std::filesystem::copy_file(entry.path(), copy.path() / entry.path().filename());
    std::filesystem::remove(copy.path() / "M3.txt");
    BrowserUnderTest t;
    QVERIFY(t.showAndExpose(copy.path()));

    // A missing module file is reported when its module is shown.
    QTreeWidgetItem* lager = t.browser->projectTree().nodeByKey("M3");
    QVERIFY(lager);
    t.browser->projectTree().activate(lager);
    QCOMPARE(t.dialogs.requests.size(), std::size_t{1});
    QCOMPARE(t.dialogs.requests[0].kind, DialogKind::Warning);
    QVERIFY(t.dialogs.requests[0].text.contains("M3.txt"));

    // A routine no longer in the table keeps the view where it is.
    QTreeWidgetItem* first = t.tree()->topLevelItem(0);
    t.click(first);
    QTreeWidgetItem* routine = first->child(0);
    QVERIFY(routine);
    t.integer("DELETE FROM td_rout WHERE rou_num = " + std::to_string(numberOf(routine)));
    t.shownView()->setCaret(7);
    t.click(routine);
    QCOMPARE(t.shownView()->caretOffset(), std::size_t{7});
    QCOMPARE(t.routinePanel(), routine->text(0));
    QCOMPARE(t.browser->history().top(), 1);

    // A folder without an intact code database is refused.
    const std::filesystem::path folder = copy.path() / "kaputt/";
    std::filesystem::create_directories(folder);
    t.dialogs.requests.clear();
    QVERIFY(!t.browser->showProject(folder));
    QCOMPARE(t.dialogs.requests.size(), std::size_t{1});
    QCOMPARE(t.dialogs.requests[0].kind, DialogKind::Warning);
    QCOMPARE(t.dialogs.requests[0].text,
             "Projekt in " + QString::fromStdString(folder.string()) + "\r\nist nicht mehr intakt");
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QCOMPARE(t.panel(StatusBar::kProgressPanel), QString());
    QVERIFY(t.browser->database() == nullptr);
    copy.writeFile("kaputt/CodeQuorix.mdb", "kein SQLite");  // no code database either
    QVERIFY(!t.browser->showProject(folder));
    QCOMPARE(t.dialogs.requests.size(), std::size_t{2});
  }
};

}  // namespace cq

QTEST_MAIN(cq::ProjectBrowserTest)
#include "project_browser_test.moc"
