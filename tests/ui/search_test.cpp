// Searching the shown project from the search box, and the outline of the shown
// tree on the clipboard, in the real main window with its session.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "support/sample_project.h"
#include "support/temp_folder.h"
#include "ui/browse/project_browser.h"
#include "ui/code/code_view.h"
#include "ui/code/module_views.h"
#include "ui/commands/command_table.h"
#include "ui/main_window.h"
#include "ui/scripted_dialogs.h"
#include "ui/session/session.h"
#include "ui/status_bar.h"
#include "ui/test_app_state.h"

namespace cq {

namespace fs = std::filesystem;

namespace {

const QString kNotInModule = "Der Suchtext\r\nwurde im Modul nicht gefunden .\r\n";
const QString kNotInProject = "Der Suchtext wurde im gesamten Projekt nicht gefunden";
const QString kNotOnInModule =
    "Der Suchtext\r\nwurde ausgehend von  der letzten Position \r\nim Modul nicht gefunden .\r\n";
const QString kNotOn = "Der Suchtext wurde nicht gefunden";

// Three standard modules whose tree order is their number order: every one
// begins with "Option", "Name" stands alone and inside "Namen", "ÄRGER" in capitals.
void writeModules(const test::TempFolder& root) {
  root.writeFile("quellen/anfang.bas",
                 "Attribute VB_Name = \"Anfang\"\r\nOption Explicit\r\n' Zähler für Namen\r\n"
                 "Public Sub Zaehle()\r\nDim Name As String\r\nName = \"ÄRGER\"\r\nDebug.Print Name\r\nEnd Sub\r\n");
  root.writeFile("quellen/mitte.bas",
                 "Attribute VB_Name = \"Mitte\"\r\nOption Explicit\r\nPublic Sub Namen()\r\nDim Namen As Long\r\n"
                 "End Sub\r\n");
  root.writeFile("quellen/zuletzt.bas",
                 "Attribute VB_Name = \"Zuletzt\"\r\nOption Explicit\r\nPublic Sub Rufe()\r\nZaehle\r\n"
                 "Debug.Print \"Name\"\r\nEnd Sub\r\n");
}

struct Place {
  int module;  // view index
  std::size_t offset;
  std::size_t length;
  friend bool operator==(const Place&, const Place&) = default;
};

struct SearchUnderTest {
  test::TempFolder& root;
  SettingsStore settings{root.path() / "settings.ini"};
  AppState state;
  ScriptedDialogs dialogs;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<Session> session;  // destroyed before the window

  explicit SearchUnderTest(test::TempFolder& folder) : root(folder) {
    state = test::testAppState(root.path());
    window = std::make_unique<MainWindow>(state, settings);
    window->messages().setReplier(dialogs.replier());
    session = std::make_unique<Session>(*window, state, settings);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    // Opened as the user opens a saved project, so the commands are those of an open project.
    dialogs.replies.push_back({Answer::Ok, {}, {QString::fromStdString((root.path() / "projekt").string())}});
    session->openProject();
    QCOMPARE(window->panes().leftPane(), LeftPane::ProjectTree);
    dialogs.requests.clear();
  }

  ProjectBrowser& browser() const { return session->browser(); }
  ModuleViews& views() const { return browser().moduleViews(); }
  QLineEdit* box() const { return window->findChild<QLineEdit*>("txtSuche"); }
  QAction* command(const char* name) const { return window->commands().action(QString::fromUtf8(name)); }
  CodeView* view(int index) const { return window->findChild<CodeView*>(QString("rtbHaupt_%1").arg(index)); }
  bool built(int index) const { return !view(index)->document()->isEmpty(); }
  QString panel(int index) const { return window->statusPanels().text(index); }

  Place place() const {
    const CodeView& shown = views().current();
    return {views().currentIndex(), shown.caretOffset(), shown.selectionLength()};
  }
  std::string selected() const {
    const CodeView& shown = views().current();
    return shown.text().substr(shown.caretOffset(), shown.selectionLength());
  }
  // Runs a command; returns the texts of the messages it showed.
  QStringList run(const char* name) {
    dialogs.requests.clear();
    command(name)->trigger();
    QStringList texts;
    for (const DialogRequest& request : dialogs.requests) texts.append(request.text);
    return texts;
  }
  // A search that must show its hit, which is returned.
  Place hit(const char* name) {
    const QStringList messages = run(name);
    [&] { QCOMPARE(messages, QStringList()); }();
    return place();
  }
  void setSwitches(bool project, bool word) const {
    command("mnuBearbeiten_Suchen_Projekt")->setChecked(project);
    command("mnuBearbeiten_Suchen_GanzWort")->setChecked(word);
  }
};

}  // namespace

class SearchTest : public QObject {
  Q_OBJECT

  test::TempFolder root_;

 private slots:
  void initTestCase() {
    writeModules(root_);
    QVERIFY(test::readModuleFolder(root_.path() / "quellen", root_.path() / "projekt"));
  }

  void searchInTheModuleFromItsSecondCharacter() {
    SearchUnderTest t(root_);
    const std::string& text = t.view(0)->text();
    QCOMPARE(text.substr(0, 6), std::string("Option"));
    QVERIFY(t.command("mnuBearbeiten_Suchen")->isEnabled() && t.command("mnuBearbeiten_SuchenWeiter")->isEnabled());
    // "Option" stands only at the first character: not found, and nothing moves.
    t.views().current().setSelection(3, 2);
    const Place before = t.place();
    t.box()->setText("  option ");
    QCOMPARE(t.run("mnuBearbeiten_Suchen"), QStringList{kNotInModule});
    QCOMPARE(t.dialogs.requests.front().kind, DialogKind::Warning);
    QCOMPARE(t.box()->text(), QString("option"));
    QVERIFY(t.place() == before);
    QCOMPARE(t.run("mnuBearbeiten_SuchenWeiter"), QStringList{kNotOnInModule});
    QVERIFY(t.place() == before);
    // Blanks alone: nothing happens at all.
    t.box()->setText("   ");
    QCOMPARE(t.run("mnuBearbeiten_Suchen"), QStringList());
    QVERIFY(t.place() == before);

    // F3 twice finds the same first hit (inside "Namen" of the comment), Ctrl+F3 walks on.
    t.box()->setText("name");
    const std::size_t comment = text.find("Namen");
    const Place first = t.hit("mnuBearbeiten_Suchen");
    QVERIFY(first == (Place{0, comment, 4}));
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), QString());  // the comment lies before every routine
    QVERIFY(t.hit("mnuBearbeiten_Suchen") == first);
    std::vector<std::size_t> walked;
    for (int i = 0; i < 3; ++i) {
      walked.push_back(t.hit("mnuBearbeiten_SuchenWeiter").offset);
      QCOMPARE(t.selected(), std::string("Name"));
      QCOMPARE((QStringList{t.panel(StatusBar::kModulePanel), t.panel(StatusBar::kRoutinePanel)}),
               (QStringList{"Anfang", "Zaehle"}));
    }
    const std::size_t dim = text.find("Name As");
    const std::size_t assigned = text.find("Name =");
    QCOMPARE(walked, (std::vector<std::size_t>{dim, assigned, text.find("Name", assigned + 1)}));
    // After the last hit: the three-line message, the caret stays at that hit.
    const Place last = t.place();
    QCOMPARE(t.run("mnuBearbeiten_SuchenWeiter"), QStringList{kNotOnInModule});
    QVERIFY(t.place() == last);
    QVERIFY(t.views().current().hasFocus());
    QCOMPARE(t.browser().history().top(), 0);  // searching remembers no position

    // Case is never matched, for any Windows-1252 letter.
    t.box()->setText(QString::fromUtf8("\u00E4rger"));
    t.hit("mnuBearbeiten_Suchen");
    QCOMPARE(t.selected(), std::string("ÄRGER"));
    // A character no module can hold is found nowhere (it must not become "?" and match that).
    t.box()->setText(QString::fromUtf8("Z\u00E4hler\u4E2D"));
    const Place shown = t.place();
    QCOMPARE(t.run("mnuBearbeiten_Suchen"), QStringList{kNotInModule});
    QVERIFY(t.place() == shown);
  }

  void projectSearchWalksWrapsAndBuildsOnlyTheViewsOfHits() {
    SearchUnderTest t(root_);
    QVERIFY(!t.built(1) && !t.built(2));
    // Every module begins with "Option": found nowhere.
    t.setSwitches(true, false);
    t.box()->setText("Option");
    QCOMPARE(t.run("mnuBearbeiten_Suchen"), QStringList{kNotInProject});
    QCOMPARE(t.views().currentIndex(), 0);
    QVERIFY(!t.built(1) && !t.built(2));

    // Whole words: "Name" never stops in "Namen", so module 2 holds none.
    t.setSwitches(true, true);
    t.box()->setText("Name");
    const auto walk = [&] {
      std::vector<Place> places{t.hit("mnuBearbeiten_Suchen")};
      for (int i = 0; i < 4; ++i) places.push_back(t.hit("mnuBearbeiten_SuchenWeiter"));
      return places;
    };
    const std::vector<Place> unbuilt = walk();
    const std::string& first = t.view(0)->text();
    const std::size_t dim = first.find("Name As");
    const std::size_t assigned = first.find("Name =");
    const std::size_t quoted = t.view(2)->text().find("Name\"");
    QCOMPARE(unbuilt, (std::vector<Place>{{0, dim, 4},
                                          {0, assigned, 4},
                                          {0, first.find("Name", assigned + 1), 4},
                                          {2, quoted, 4},
                                          {0, dim, 4}}));  // around to the first module again
    // Module 2 was passed over without building its view.
    QVERIFY(!t.built(1));
    QVERIFY(t.built(2));
    // Once built, the views give the same hits.
    t.views().view(1);
    QVERIFY(t.built(1));
    QCOMPARE(walk(), unbuilt);
    QCOMPARE(t.browser().history().top(), 0);

    // The panels and the highlight follow a hit into another module.
    t.setSwitches(true, false);
    t.box()->setText("zaehle");
    QCOMPARE(t.hit("mnuBearbeiten_Suchen").module, 0);
    QVERIFY(t.hit("mnuBearbeiten_SuchenWeiter") == (Place{2, t.view(2)->text().find("Zaehle"), 6}));
    QCOMPARE((QStringList{t.panel(StatusBar::kModulePanel), t.panel(StatusBar::kRoutinePanel)}),
             (QStringList{"Zuletzt", "Rufe"}));
    QTreeWidgetItem* shown = t.window->panes().projectTree()->topLevelItem(2);
    QCOMPARE((QList<QColor>{shown->background(0).color(), shown->foreground(0).color()}),
             (QList<QColor>{Qt::black, Qt::yellow}));
    QVERIFY(t.view(2)->isVisible() && !t.view(0)->isVisible() && t.view(2)->hasFocus());
    // Around the whole project and back into the current module, before the caret.
    t.box()->setText("rufe");
    t.views().current().setCaret(t.view(2)->text().size());
    QVERIFY(t.hit("mnuBearbeiten_SuchenWeiter") == (Place{2, t.view(2)->text().find("Rufe"), 4}));
    // Without whole words the walk stops in "Namen" of module 2 as well.
    t.setSwitches(true, false);
    t.box()->setText("NAME");
    QVERIFY(t.hit("mnuBearbeiten_Suchen") == (Place{0, first.find("Namen"), 4}));
    for (int i = 0; i < 3; ++i) QCOMPARE(t.hit("mnuBearbeiten_SuchenWeiter").module, 0);
    QVERIFY(t.hit("mnuBearbeiten_SuchenWeiter") == (Place{1, t.view(1)->text().find("Namen"), 4}));
    t.box()->setText("gibt es nicht");
    const Place before = t.place();
    QCOMPARE(t.run("mnuBearbeiten_SuchenWeiter"), QStringList{kNotOn});
    QVERIFY(t.place() == before);
  }

  void zoomDisablesBothSearchesButLendsItsSelection() {
    SearchUnderTest t(root_);
    t.box()->setText("Name");
    t.command("mnuAnsicht_Zoom")->trigger();
    const Place before = t.place();
    for (const char* name : {"mnuBearbeiten_Suchen", "mnuBearbeiten_SuchenWeiter"}) {
      QVERIFY(!t.command(name)->isEnabled());
      QVERIFY(t.run(name).isEmpty());
    }
    QTest::keyClick(t.window.get(), Qt::Key_F3);
    QVERIFY(t.place() == before && t.dialogs.requests.empty());
    // Ctrl+F takes the selection the user sees, the zoom view's.
    CodeView& zoom = t.views().zoomView();
    QCOMPARE(zoom.text().substr(0, 15), std::string("Option Explicit"));
    zoom.setSelection(7, 8);
    t.run("mnuBearbeiten_Suchen_Auswahl");
    QCOMPARE(t.box()->text(), QString("Explicit"));
    t.command("mnuAnsicht_Zoom")->trigger();
    QVERIFY(t.command("mnuBearbeiten_Suchen")->isEnabled() && t.command("mnuBearbeiten_SuchenWeiter")->isEnabled());
    QCOMPARE(t.run("mnuBearbeiten_Suchen"), QStringList());
  }

  void switchesSelectionAndSearchBox() {
    SearchUnderTest t(root_);
    // The box starts empty: its hint is no text to search for.
    QVERIFY(t.box()->text().isEmpty() && t.box()->placeholderText() == "Text f\u00FCr Suche");
    QVERIFY(t.run("mnuBearbeiten_Suchen").isEmpty());
    // A switch's button shows pressed exactly while its menu item is checked.
    for (const char* key : {"su_p", "su_g"}) {
      QAction* button = t.window->commands().toolbarButton(key);
      QAction* item =
          t.command(key == QString("su_p") ? "mnuBearbeiten_Suchen_Projekt" : "mnuBearbeiten_Suchen_GanzWort");
      QVERIFY(!item->isChecked() && !button->isChecked());
      button->trigger();
      QVERIFY(item->isChecked() && button->isChecked());
      item->trigger();
      QVERIFY(!item->isChecked() && !button->isChecked());
    }
    // Ctrl+F takes the selection, trimmed; without a selection nothing changes.
    const std::string& text = t.view(0)->text();
    const std::size_t sub = text.find("Sub Zaehle");
    t.views().current().setSelection(sub - 1, 12);  // " Sub Zaehle("
    t.run("mnuBearbeiten_Suchen_Auswahl");
    QCOMPARE(t.box()->text(), QString("Sub Zaehle("));
    t.views().current().setCaret(sub);
    t.run("mnuBearbeiten_Suchen_Auswahl");
    QCOMPARE(t.box()->text(), QString("Sub Zaehle("));
    // The box selects all of its text when it gets the focus, however; Enter starts nothing.
    t.box()->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(t.box()->selectedText(), QString("Sub Zaehle("));
    const Place before = t.place();
    t.dialogs.requests.clear();
    QTest::keyClick(t.box(), Qt::Key_Return);
    QVERIFY(t.dialogs.requests.empty());
    QVERIFY(t.place() == before);
    // The keys of the menu items.
    QTest::keyClick(t.window.get(), Qt::Key_F3);
    QCOMPARE(t.selected(), std::string("Sub Zaehle("));
    QCOMPARE(t.command("mnuBearbeiten_SuchenWeiter")->shortcut(), QKeySequence("Ctrl+F3"));
    QCOMPARE(t.command("mnuBearbeiten_Suchen_Auswahl")->shortcut(), QKeySequence("Ctrl+F"));
  }

  void structureOfTheShownTreeToTheClipboard() {
    SearchUnderTest t(root_);
    QAction* copy = t.command("mnuExtras_Struktur");
    QVERIFY(copy->isEnabled());
    // A node deeper than the second level is left out.
    new QTreeWidgetItem(t.window->panes().projectTree()->topLevelItem(1)->child(0), QStringList{"tiefer"});
    QCOMPARE(t.run("mnuExtras_Struktur"), QStringList{"Struktur in der Zwischenablage erstellt"});
    QCOMPARE(t.dialogs.requests.front().kind, DialogKind::Information);
    QCOMPARE(t.dialogs.requests.front().title, QString::fromStdString(t.state.programTitle));
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QString("Anfang\r\n\tZaehle\r\nMitte\r\n\tNamen\r\nZuletzt\r\n\tRufe\r\n"));
    // The host tree when it is shown; without "meld" nothing is said.
    t.state.display.confirmClipboardCopy = false;
    t.session->openDocuments({QString::fromStdString((t.root.path() / "quellen").string())});
    t.session->refreshHostView();
    QCOMPARE(t.window->panes().leftPane(), LeftPane::HostTree);
    QCOMPARE(t.run("mnuExtras_Struktur"), QStringList());
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QString("quellen [quellen]\r\n\tAnfang\r\n\tMitte\r\n\tZuletzt\r\n"));
  }
};

}  // namespace cq

QTEST_MAIN(cq::SearchTest)
#include "search_test.moc"
