// The session of the main window: instance folders, documents in the host,
// reading ticked modules, the unsaved question, saving and opening projects.
#include "ui/session/session.h"

#include <QAction>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QtTest>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "sources/document_host.h"
#include "support/corpus.h"
#include "support/office_samples.h"
#include "support/temp_folder.h"
#include "ui/browse/project_browser.h"
#include "ui/code/code_view.h"
#include "ui/code/module_views.h"
#include "ui/commands/command_table.h"
#include "ui/compact/compact_window.h"
#include "ui/main_window.h"
#include "ui/scripted_dialogs.h"
#include "ui/session/read_progress_host.h"
#include "ui/session/read_report.h"
#include "ui/status_bar.h"
#include "ui/test_app_state.h"
#include "ui/trees/host_view.h"

namespace cq {

namespace fs = std::filesystem;

namespace {

QString text(const fs::path& path) { return QString::fromStdString(path.string()); }
DialogReply folderReply(const fs::path& folder) { return DialogReply{Answer::Ok, {}, {text(folder)}}; }
DialogReply textReply(const QString& answer) { return DialogReply{Answer::Ok, answer, {}}; }
DialogReply answerReply(Answer answer) { return DialogReply{answer, {}, {}}; }
const QString kUnsaved = " [nicht gespeichert !!!]";
const QString kInvalid = "Kein G\u00FCltiges Projekt";
const std::vector<std::string> kReadFiles{"CodeQuorix.mdb", "M1.txt", "M2.txt"};

std::vector<std::string> filesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void writeModule(const test::TempFolder& root, const std::string& relative, const std::string& name,
                 const std::string& body) {
  root.writeFile(relative, "Attribute VB_Name = \"" + name + "\"\r\n" + body);
}

// One window with its session; sessions made on the same root share the temporary folder and settings.
struct SessionUnderTest {
  AppState state;
  ScriptedDialogs dialogs;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<Session> session;  // destroyed before the window

  SessionUnderTest(const fs::path& root, SettingsStore& settings) {
    state = test::testAppState(root);
    window = std::make_unique<MainWindow>(state, settings);
    window->messages().setReplier(dialogs.replier());
    session = std::make_unique<Session>(*window, state, settings);
  }

  bool enabled(const char* name) const { return window->commands().action(QString::fromUtf8(name))->isEnabled(); }
  QString caption(const QString& project = {}) const {
    return QString::fromStdString(state.programTitle) + (project.isEmpty() ? "" : " Projekt: " + project);
  }
  QTreeWidget* hostTree() const { return window->panes().hostTree(); }
  QString title() const { return window->windowTitle(); }

  // Read, save and refresh commands as a read (unsaved or saved) project or the host shows them.
  void expectProjectCommands(bool project, bool saved = false) const {
    QCOMPARE(enabled("mnuSpeichern"), project);
    QVERIFY(enabled("mnuAnsicht_App_Aktualisieren"));  // F5 works everywhere, asking first
    QCOMPARE(window->panes().leftPane(), project ? LeftPane::ProjectTree : LeftPane::HostTree);
    QVERIFY(!enabled("mnuBearbeiten_Code"));
    QVERIFY(title().endsWith(kUnsaved) == (project && !saved));
  }

  // Clicks a node of the project tree as the user does.
  void click(const QString& name) const {
    QTreeWidget* tree = window->panes().projectTree();
    const auto found = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    if (found[0]->parent()) found[0]->parent()->setExpanded(true);
    tree->scrollToItem(found[0]);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(found[0]).center());
  }
  // The project is browsable: a routine click shows its module at the routine, with nothing to report.
  void expectBrowsable(const QString& routine, const std::string& moduleText) {
    dialogs.requests.clear();
    click(routine);
    QVERIFY(dialogs.requests.empty());
    QCOMPARE(window->statusPanels().text(StatusBar::kRoutinePanel), routine);
    QVERIFY(session->browser().database() != nullptr);
    QVERIFY(window->findChild<CodeView*>(
                       QString("rtbHaupt_%1").arg(session->browser().moduleViews().currentIndex()))
                ->text()
                .find(moduleText) != std::string::npos);
  }

  // Runs a command (or a recent project slot) with the dialogs answered in order; returns what was asked.
  std::vector<DialogRequest> run(const char* name, std::vector<DialogReply> replies = {}, int recent = -1) {
    dialogs.requests.clear();
    dialogs.replies.assign(replies.begin(), replies.end());
    (recent < 0 ? window->commands().action(QString::fromUtf8(name)) : window->commands().recentProjectSlot(recent))
        ->trigger();
    return dialogs.requests;
  }
};

}  // namespace

class SessionTest : public QObject {
  Q_OBJECT

 private slots:
  void readsSavesAndOpensProjects() {
    test::TempFolder root;
    SettingsStore settings(root.path() / "settings.ini");
    writeModule(root, "Quellen/Module/Eins.bas", "Eins", "Sub A()\r\n  B\r\nEnd Sub\r\n");
    writeModule(root, "Quellen/Module/Zwei.bas", "Zwei", "Sub B()\r\n  x = 1\r\nEnd Sub\r\n");
    const auto samples = test::officeSamples();
    const auto xlsm =
        std::find_if(samples.begin(), samples.end(), [](auto& o) { return o.fileName.ends_with(".xlsm"); });
    QVERIFY(xlsm != samples.end());
    SessionUnderTest s(root.path(), settings);
    s.session->start({text(root.writeFile("Quellen/" + xlsm->fileName, xlsm->bytes))});
    QVERIFY(s.window->isVisible());
    QCOMPARE(s.hostTree()->topLevelItemCount(), 1);
    QCOMPARE(s.title(), s.caption());
    s.expectProjectCommands(false);
    QCOMPARE(s.run("mnuOrdnerOeffnen", {folderReply(root.path() / "Quellen/Module")})[0].kind, DialogKind::Folder);
    QCOMPARE(s.hostTree()->topLevelItemCount(), 2);
    s.session->readTickedCode();  // nothing ticked: only says so
    QCOMPARE(s.dialogs.requests.back().text, QString("Bitte w\u00E4hlen Sie erst etwas aus"));

    const auto readModuleFolder = [&] {
      s.hostTree()->topLevelItem(1)->setCheckState(0, Qt::Checked);
      QVERIFY(s.run("mnuBearbeiten_Code").empty());
    };
    readModuleFolder();
    QCOMPARE(filesIn(s.session->instanceFolder()), kReadFiles);
    QCOMPARE(s.title(), s.caption("Module") + kUnsaved);
    s.expectProjectCommands(true);
    QVERIFY(s.window->panes().projectTree()->topLevelItemCount() > 0);
    // The unsaved question: Cancel keeps everything, No goes back to the host.
    auto asked = s.run("mnuNeu", {answerReply(Answer::Cancel)});
    QCOMPARE(asked.size(), std::size_t{1});
    QCOMPARE(asked[0].buttons, QuestionButtons::YesNoCancel);
    QCOMPARE(asked[0].text, QString("Projekt wurde nicht gespeichert !\r\nProjekt jetzt speichern ?"));
    s.expectProjectCommands(true);
    QCOMPARE(s.run("mnuNeu", {answerReply(Answer::No)}).size(), std::size_t{1});
    QCOMPARE(s.title(), s.caption());
    s.expectProjectCommands(false);
    // Saving under a name with forbidden characters cleans it and empties the instance folder.
    readModuleFolder();
    const fs::path parent = root.path() / "Ablage";
    fs::create_directories(parent);
    asked = s.run("mnuSpeichern", {folderReply(parent), textReply("Mein:Projekt?")});
    QCOMPARE(asked.size(), std::size_t{2});
    QCOMPARE(asked[1].proposal, QString("Module"));
    const fs::path saved = parent / "MeinProjekt/";
    QCOMPARE(s.session->workingFolder(), saved);
    QCOMPARE(filesIn(saved), kReadFiles);
    QVERIFY(filesIn(s.session->instanceFolder()).empty());
    QCOMPARE(s.title(), s.caption("MeinProjekt"));
    s.expectProjectCommands(true, true);
    QCOMPARE(s.window->commands().recentProjectSlot(0)->text(), QString("&0 - MeinProjekt"));
    QCOMPARE(s.window->commands().recentProjectSlot(0)->toolTip(), text(saved));
    QVERIFY(!s.window->commands().recentProjectSlot(1)->isVisible());
    // A saved project asks nothing on refresh; the recent item opens it again.
    QVERIFY(s.run("mnuNeu").empty());
    QCOMPARE(s.title(), s.caption());
    QVERIFY(s.run(nullptr, {}, 0).empty());
    QCOMPARE(s.title(), s.caption("MeinProjekt"));
    QCOMPARE(s.session->workingFolder(), saved);
    // While the window shows the project, no other run may write into its folder.
    QVERIFY(!FolderLock::lock(saved));
    // Opening the same folder again keeps it once; a folder without a code database is refused.
    s.run("mnu\u00D6ffnen", {folderReply(saved)});
    QCOMPARE(settings.getAll("recent").size(), std::size_t{1});
    asked = s.run("mnu\u00D6ffnen", {folderReply(root.path() / "Quellen")});
    QCOMPARE(asked.size(), std::size_t{2});
    QCOMPARE(asked[1].text, kInvalid);
    QCOMPARE(s.session->workingFolder(), saved);
    // Saving under a new name leaves the old folder; overwriting asks first and No leaves everything.
    s.run("mnuSpeichern", {folderReply(parent), textReply("Zweites")});
    QCOMPARE(filesIn(saved), kReadFiles);
    QVERIFY(FolderLock::lock(saved));
    QVERIFY(!FolderLock::lock(parent / "Zweites"));
    QCOMPARE(s.title(), s.caption("Zweites"));
    QCOMPARE(s.window->commands().recentProjectSlot(1)->text(), QString("&1 - MeinProjekt"));
    asked = s.run("mnuSpeichern", {folderReply(parent), textReply("MeinProjekt"), answerReply(Answer::No)});
    QCOMPARE(asked.size(), std::size_t{3});
    QVERIFY(asked[2].text.endsWith("existiert schon\r\n\u00DCberschreiben ?"));
    QCOMPARE(s.session->workingFolder(), parent / "Zweites/");
    // A recent project that lost its code database is refused like any folder.
    fs::remove(saved / "CodeQuorix.mdb");
    asked = s.run(nullptr, {}, 1);
    QCOMPARE(asked.size(), std::size_t{1});
    QCOMPARE(asked[0].text, kInvalid);
    QCOMPARE(s.title(), s.caption("Zweites"));
  }

  void dropSaveOnRefreshAndReadFailures() {
    test::TempFolder root;
    SettingsStore settings(root.path() / "settings.ini");
    writeModule(root, "Module/Eins.bas", "Eins", "Sub Kaputt\r\n  x = 1\r\nEnd Sub\r\n");
    writeModule(root, "Module/Zwei.bas", "Zwei", "Sub B()\r\n  x = 2\r\nEnd Sub\r\n");
    SessionUnderTest s(root.path(), settings);
    s.session->start({});
    QCOMPARE(s.window->panes().leftPane(), LeftPane::HostStatus);  // nothing open
    // A folder dropped on the window opens in the host.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(text(root.path() / "Module"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(s.window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(s.window.get(), &drop);
    QCOMPARE(s.hostTree()->topLevelItemCount(), 1);
    QCOMPARE(s.window->panes().leftPane(), LeftPane::HostTree);
    // Header lines left as code are listed after the read; long lists are cut.
    s.hostTree()->topLevelItem(0)->setCheckState(0, Qt::Checked);
    auto asked = s.run("mnuBearbeiten_Code");
    QCOMPARE(asked.size(), std::size_t{1});
    QCOMPARE(asked[0].kind, DialogKind::Information);
    QVERIFY(asked[0].text.contains("Eins, Zeile 1: Sub Kaputt"));
    std::vector<ScanWarning> many(kMostListedWarnings + 5, ScanWarning{"M", 3, "Sub X"});
    const std::string listed = readWarningsText(many);
    QCOMPARE(std::count(listed.begin(), listed.end(), '\n'), std::ptrdiff_t(kMostListedWarnings + 2));
    QVERIFY(listed.ends_with("\r\n…") && readWarningsText({}).empty());
    // Yes saves first, with "stapro" straight into the project folder, then refreshes.
    s.state.display.alwaysUseProjectFolder = true;
    asked = s.run("mnuNeu", {answerReply(Answer::Yes), textReply("Gerettet")});
    QCOMPARE(asked.size(), std::size_t{2});
    QVERIFY(fs::exists(s.state.defaultProjectFolder / "Gerettet/CodeQuorix.mdb"));
    QCOMPARE(s.title(), s.caption());
    // A module file that cannot be written fails the read, its cause first; the host is shown again.
    s.hostTree()->topLevelItem(0)->setCheckState(0, Qt::Checked);
    fs::create_directories(s.session->instanceFolder() / "M2.txt");
    asked = s.run("mnuBearbeiten_Code");
    QCOMPARE(asked.size(), std::size_t{1});
    QCOMPARE(asked[0].kind, DialogKind::Warning);
    QVERIFY2(asked[0].text.startsWith("Ist ein Ordner\r\n\r\nDie Moduldatei "), qPrintable(asked[0].text));
    QVERIFY(asked[0].text.endsWith("M2.txt konnte nicht geschrieben werden."));
    QCOMPARE(s.title(), s.caption());
    s.expectProjectCommands(false);
    QCOMPARE(s.window->statusPanels().text(StatusBar::kProgressPanel), QString("Aktion"));
  }

  void savingRefusesFoldersThatHoldNoProjectAndKeepsTheProjectBrowsable() {
    test::TempFolder root;
    SettingsStore settings(root.path() / "settings.ini");
    writeModule(root, "Module/Eins.bas", "Eins", "Sub A()\r\n  B\r\nEnd Sub\r\n");
    writeModule(root, "Module/Zwei.bas", "Zwei", "Sub B()\r\n  x = 2\r\nEnd Sub\r\n");
    SessionUnderTest s(root.path(), settings);
    s.session->start({text(root.path() / "Module")});
    s.hostTree()->topLevelItem(0)->setCheckState(0, Qt::Checked);
    QVERIFY(s.run("mnuBearbeiten_Code").empty());
    const fs::path instance = s.session->instanceFolder();
    const fs::path parent = root.path() / "Ablage";
    // A folder holding files but no project is refused before any question, and nothing in it is touched.
    const fs::path letter = root.writeFile("Ablage/Briefe/Brief.txt", "Hallo");
    auto asked = s.run("mnuSpeichern", {folderReply(parent), textReply("Briefe"), answerReply(Answer::Yes)});
    QCOMPARE(asked.size(), std::size_t{3});
    QCOMPARE(asked[2].kind, DialogKind::Warning);
    QVERIFY(asked[2].text.contains("Briefe") && asked[2].text.contains("kein Projekt"));
    QCOMPARE(filesIn(letter.parent_path()), std::vector<std::string>{"Brief.txt"});
    QCOMPARE(s.session->workingFolder(), instance);
    QCOMPARE(s.title(), s.caption("Module") + kUnsaved);
    s.expectBrowsable("B", "x = 2");
    // An empty folder is simply used.
    fs::create_directories(parent / "Leer");
    asked = s.run("mnuSpeichern", {folderReply(parent), textReply("Leer")});
    QCOMPARE(asked.size(), std::size_t{2});
    const fs::path saved = parent / "Leer/";
    QCOMPARE(s.session->workingFolder(), saved);
    QCOMPARE(filesIn(saved), kReadFiles);
    // The module views follow the project into its new folder: a module not shown yet is read from there.
    s.expectBrowsable("B", "x = 2");
    s.expectBrowsable("A", "Sub A()");
    // Saving into the folder the project lives in is refused before any question.
    asked = s.run("mnuSpeichern", {folderReply(parent), textReply("Leer"), answerReply(Answer::Yes)});
    QCOMPARE(asked.size(), std::size_t{3});
    QCOMPARE(asked[2].kind, DialogKind::Warning);
    QCOMPARE(asked[2].text, QString("Das Projekt liegt schon in diesem Ordner."));
    QCOMPARE(filesIn(saved), kReadFiles);
    // A target that cannot be created, for its parent is a file: refused with the system's reason.
    const fs::path file = root.writeFile("Datei", "x");
    asked = s.run("mnuSpeichern", {folderReply(file), textReply("Neu")});
    QCOMPARE(asked.size(), std::size_t{3});
    QCOMPARE(asked[2].kind, DialogKind::Warning);
    QVERIFY(asked[2].text.contains("konnte nicht angelegt werden.\r\n"));
    QVERIFY(!asked[2].text.endsWith("\r\n"));
    QCOMPARE(s.session->workingFolder(), saved);
    // An existing project is overwritten after the question; a copy that fails keeps the working folder.
    root.writeFile("Ablage/Alt/CodeQuorix.mdb", "alt");
    fs::create_directories(parent / "Alt/M2.txt");
    asked = s.run("mnuSpeichern", {folderReply(parent), textReply("Alt"), answerReply(Answer::Yes)});
    QCOMPARE(asked.size(), std::size_t{4});
    QCOMPARE(asked[2].kind, DialogKind::Question);
    QCOMPARE(asked[3].kind, DialogKind::Warning);
    QVERIFY(asked[3].text.contains("M2.txt"));
    QCOMPARE(s.session->workingFolder(), saved);
    QCOMPARE(s.title(), s.caption("Leer"));
    s.expectBrowsable("A", "Sub A()");
    fs::remove(parent / "Alt/M2.txt");
    QVERIFY(s.run("mnuSpeichern", {folderReply(parent), textReply("Alt"), answerReply(Answer::Yes)}).size() == 3);
    QCOMPARE(s.session->workingFolder(), parent / "Alt/");
    QCOMPARE(filesIn(parent / "Alt"), kReadFiles);
  }

  void aFailedOpenLeavesTheWindowAsItWas() {
    test::TempFolder root;
    SettingsStore settings(root.path() / "settings.ini");
    writeModule(root, "Module/Eins.bas", "Eins", "Sub A()\r\n  B\r\nEnd Sub\r\n");
    writeModule(root, "Module/Zwei.bas", "Zwei", "Sub B()\r\n  x = 2\r\nEnd Sub\r\n");
    root.writeFile("Kaputt/CodeQuorix.mdb", "kein SQLite");
    SessionUnderTest s(root.path(), settings);
    s.session->start({text(root.path() / "Module")});
    s.hostTree()->topLevelItem(0)->setCheckState(0, Qt::Checked);
    QVERIFY(s.run("mnuBearbeiten_Code").empty());
    // A saved project whose name holds "[" is no unsaved project: the refresh asks nothing.
    fs::create_directories(root.path() / "Ablage");
    QCOMPARE(s.run("mnuSpeichern", {folderReply(root.path() / "Ablage"), textReply("Stand [1]")}).size(),
             std::size_t{2});
    QCOMPARE(s.title(), s.caption("Stand [1]"));
    QVERIFY(s.run("mnuNeu").empty());
    QCOMPARE(s.title(), s.caption());
    QVERIFY(s.run(nullptr, {}, 0).empty());
    QCOMPARE(s.title(), s.caption("Stand [1]"));

    const auto expectUnchanged = [&](const QString& title, bool project) {
      const fs::path working = s.session->workingFolder();
      const auto asked = s.run("mnu\u00D6ffnen", {folderReply(root.path() / "Kaputt")});
      QCOMPARE(asked.size(), std::size_t{2});
      QCOMPARE(asked[1].kind, DialogKind::Warning);
      QVERIFY(asked[1].text.contains(u"ist nicht mehr intakt"));
      QCOMPARE(s.title(), title);
      QCOMPARE(s.window->commands().recentProjectSlot(0)->text(), QString("&0 - Stand [1]"));
      QVERIFY(!s.window->commands().recentProjectSlot(1)->isVisible());
      QCOMPARE(settings.getAll("recent").size(), std::size_t{1});
      QCOMPARE(s.session->workingFolder(), working);
      s.expectProjectCommands(project, true);
      QCOMPARE(s.window->codeLoaded(), project);
    };
    expectUnchanged(s.caption("Stand [1]"), true);
    QVERIFY(s.window->panes().projectTree()->topLevelItemCount() > 0);
    s.expectBrowsable("B", "x = 2");
    QVERIFY(s.run("mnuNeu").empty());
    expectUnchanged(s.caption(), false);
    QCOMPARE(s.hostTree()->topLevelItemCount(), 1);
  }

  void anUnsavedProjectIsNeverDroppedWithoutAsking() {
    test::TempFolder root;
    SettingsStore settings(root.path() / "settings.ini");
    writeModule(root, "Module/Eins.bas", "Eins", "Sub A()\r\n  x = 1\r\nEnd Sub\r\n");
    root.writeFile("Ablage/Alt/CodeQuorix.mdb", "alt");
    SessionUnderTest s(root.path(), settings);
    s.session->start({text(root.path() / "Module")});
    s.hostTree()->topLevelItem(0)->setCheckState(0, Qt::Checked);
    QVERIFY(s.run("mnuBearbeiten_Code").empty());
    const auto expectKept = [&] {
      QCOMPARE(s.title(), s.caption("Module") + kUnsaved);
      s.expectProjectCommands(true);
      s.expectBrowsable("A", "x = 1");
    };
    // "Neu", Ja, a folder holding a project, and the overwrite declined: "Neu" does not go on.
    auto asked = s.run("mnuNeu", {answerReply(Answer::Yes), folderReply(root.path() / "Ablage"), textReply("Alt"),
                                  answerReply(Answer::No)});
    QCOMPARE(asked.size(), std::size_t{4});
    QVERIFY(asked[3].text.endsWith("existiert schon\r\n\u00DCberschreiben ?"));
    expectKept();
    // F5 asks the same.
    QCOMPARE(s.run("mnuAnsicht_App_Aktualisieren", {answerReply(Answer::Cancel)}).size(), std::size_t{1});
    expectKept();
    // Opening a document asks first; Abbrechen opens nothing.
    asked = s.run("mnuDokumentOeffnen", {folderReply(root.path() / "Module/Eins.bas"), answerReply(Answer::Cancel)});
    QCOMPARE(asked.size(), std::size_t{2});
    QCOMPARE(asked[1].buttons, QuestionButtons::YesNoCancel);
    QCOMPARE(s.hostTree()->topLevelItemCount(), 1);
    expectKept();
    // Quitting asks the same: Abbrechen stays, from the menu, the frame or the compact window.
    const fs::path instance = s.session->instanceFolder();
    QCOMPARE(s.run("mnuEnde", {answerReply(Answer::Cancel)}).size(), std::size_t{1});
    QVERIFY(s.window->isVisible() && fs::exists(instance / "M1.txt"));
    s.dialogs.replies.assign({answerReply(Answer::Cancel)});
    QVERIFY(!s.window->close());
    s.session->compactView().show();
    s.dialogs.replies.assign({answerReply(Answer::Cancel)});
    QVERIFY(!s.session->compactView().window()->close());
    QVERIFY(s.session->compactView().window()->isVisible());
    s.session->compactView().window()->findChild<QPushButton*>("cmdClose")->click();
    QVERIFY(s.window->isVisible());
    expectKept();
    // Ja saves (leading dots would make a hidden folder), then the window closes.
    asked = s.run("mnuEnde", {answerReply(Answer::Yes), folderReply(root.path() / "Ablage"), textReply("..Neu")});
    QCOMPARE(asked.size(), std::size_t{3});
    QVERIFY(!s.window->isVisible() && !fs::exists(instance));
    QVERIFY(fs::exists(root.path() / "Ablage/Neu/M1.txt"));
  }

  void documentsWithNothingToReadSayWhyAndDescriptionsStayWithTheirRoutine() {
    test::TempFolder root;
    SettingsStore settings(root.path() / "settings.ini");
    writeModule(root, "Kurz/Kurz.bas", "Kurz", "Option Explicit\r\n");  // an empty module is not listed
    writeModule(root, "Module/Eins.bas", "Eins",
                "Sub A()\r\n  x = 1\r\nEnd Sub\r\n'@Description(\"Zweite\")\r\nSub B()\r\nEnd Sub\r\n");
    QStringList documents{text(root.path() / "Kurz"), text(root.path() / "Module")};
    // A workbook cut off in the middle keeps its directory but loses the project's streams.
    const fs::path workbook = test::corpusRoot() / "apache__poi/test-data/spreadsheet/SimpleMacro.xls";
    const bool withCorpus = !test::corpusRoot().empty() && fs::exists(workbook);
    if (withCorpus) {
      std::ifstream in(workbook, std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)), {});
      documents.prepend(text(root.writeFile("Gekappt.xls", bytes.substr(0, bytes.size() / 2 + 3))));
    }
    SessionUnderTest s(root.path(), settings);
    s.state.display.markup = MarkupOptions{false, true, true, true};  // einr, rle, rer
    s.session->start(documents);
    const int first = withCorpus ? 1 : 0;
    QCOMPARE(s.hostTree()->topLevelItemCount(), first + 2);
    if (withCorpus) {
      const QString damaged = s.hostTree()->topLevelItem(0)->text(0);
      QVERIFY2(damaged.endsWith("ist abgeschnitten."), qPrintable(damaged));
    }
    QCOMPARE(s.hostTree()->topLevelItem(first)->text(0), QString("Kurz: enth\u00E4lt kein Modul mit Code"));
    s.hostTree()->topLevelItem(first + 1)->setCheckState(0, Qt::Checked);
    QVERIFY(s.run("mnuBearbeiten_Code").empty());
    // The empty line goes above the description, and no empty line holds a tab.
    s.expectBrowsable("B", "End Sub\r\n\r\n'@Description(\"Zweite\")\r\nSub B()");
    const std::string& shown = s.session->browser().moduleViews().current().text();
    QVERIFY(shown.starts_with("\r\nSub A()\r\n\tx = 1") && shown.find("\t\r\n") == std::string::npos);
  }

  void theStartTextSaysHowToOpenADocumentAndNamesTheRefreshCommand() {
    test::TempFolder root;
    SettingsStore settings(root.path() / "settings.ini");
    SessionUnderTest s(root.path(), settings);
    s.session->start({});
    QCOMPARE(s.window->panes().leftPane(), LeftPane::HostStatus);
    QString caption = s.window->commands().action("mnuAnsicht_App_Aktualisieren")->text();
    caption.remove('&');
    QVERIFY(caption.startsWith("Aktualisieren"));
    const QString shown = s.window->panes().hostStatusText()->toPlainText();
    QVERIFY2(shown.contains("klicken Sie danach auf " + caption + "."), qPrintable(shown));
    // It says how a document is opened here, not how to start another program.
    for (const char* way : {"Datei / Dokument \u00F6ffnen ...", "Kommandozeile", "auf dieses Fenster ziehen"})
      QVERIFY2(shown.contains(QString::fromUtf8(way)), way);
    QVERIFY(!shown.contains("Access ist im Moment"));
  }

  void reportsEveryModuleTheReaderFetches() {
    test::TempFolder root;
    writeModule(root, "Module/Eins.bas", "Eins", "Sub A()\r\n  x = 1\r\nEnd Sub\r\n");
    DocumentHost documents;
    documents.open(root.path() / "Module");
    std::vector<std::string> reported;
    ReadProgressHost host(documents, [&](const std::string& name) { reported.push_back(name); });
    QVERIFY(host.attach() && host.project(1).component(1).name() == "Eins");
    QVERIFY(reported.empty());  // listing is not reading
    QCOMPARE(host.project(1).component("Eins").countOfLines(), 3L);
    QVERIFY(reported.empty());
    QVERIFY_THROWS_EXCEPTION(std::exception, host.project(1).component("Fehlt"));
    QCOMPARE(host.project(1).component(1).lines(1, 1), std::string("Sub A()"));
    QCOMPARE(reported, std::vector<std::string>{"Eins"});
  }

  void instancesKeepTheirFoldersApart() {
    test::TempFolder root;
    SettingsStore settings(root.path() / "settings.ini");
    root.writeFile("TempDateien/T_77/M1.txt", "alt");  // left behind by an ended run
    root.writeFile("Projekte/Alt/CodeQuorix.mdb", "x");
    auto first = std::make_unique<SessionUnderTest>(root.path(), settings);
    first->session->start({});
    QVERIFY(!fs::exists(root.path() / "TempDateien/T_77"));
    QVERIFY(fs::exists(root.path() / "Projekte/Alt/CodeQuorix.mdb"));
    const fs::path firstFolder = first->session->instanceFolder();
    QCOMPARE(first->session->workingFolder(), firstFolder);
    QCOMPARE(firstFolder.parent_path().parent_path(), root.path() / "TempDateien");

    SessionUnderTest second(root.path(), settings);
    second.session->start({});
    const fs::path secondFolder = second.session->instanceFolder();
    QVERIFY(secondFolder != firstFolder);
    {
      SessionUnderTest third(root.path(), settings);
      third.session->start({});
    }
    QVERIFY(fs::is_directory(firstFolder) && fs::is_directory(secondFolder));
    first->window->close();  // shutting down removes only its own instance folder
    QVERIFY(!fs::exists(firstFolder) && fs::is_directory(secondFolder));
    first.reset();
    second.session->shutdown();
    QVERIFY(!fs::exists(secondFolder));
  }

  void exportsTheModulesOfTheTickedProject() {
    test::TempFolder root;
    SettingsStore settings(root.path() / "settings.ini");
    const auto samples = test::officeSamples();
    SessionUnderTest s(root.path(), settings);
    s.session->start({text(root.writeFile(samples[0].fileName, samples[0].bytes))});
    QVERIFY(!s.enabled("mnuModuleExportieren"));
    s.hostTree()->topLevelItem(0)->setCheckState(0, Qt::Checked);
    QVERIFY(s.enabled("mnuModuleExportieren"));
    // Cancelling the folder dialog writes nothing.
    QCOMPARE(s.run("mnuModuleExportieren").size(), std::size_t{1});
    const fs::path folder = root.path() / "Export";
    QVERIFY(!fs::exists(folder));
    auto asked = s.run("mnuModuleExportieren", {folderReply(folder)});
    QCOMPARE(asked.size(), std::size_t{2});
    QCOMPARE(asked[0].kind, DialogKind::Folder);
    QCOMPARE(asked[1].kind, DialogKind::Information);
    QVERIFY(asked[1].text.startsWith("3 Moduldateien in den Ordner"));
    QCOMPARE(filesIn(folder), (std::vector<std::string>{".codequorix-export", "DieseArbeitsmappe.cls", "Klasse1.cls",
                                                        "Modul1.bas"}));
    // A folder that holds other files is refused with the reason.
    root.writeFile("Fremd/notiz.txt", "x");
    asked = s.run("mnuModuleExportieren", {folderReply(root.path() / "Fremd")});
    QCOMPARE(asked.size(), std::size_t{2});
    QCOMPARE(asked[1].kind, DialogKind::Warning);
    QVERIFY(asked[1].text.contains("ist nicht leer"));
    QCOMPARE(filesIn(root.path() / "Fremd"), std::vector<std::string>{"notiz.txt"});
    // Nothing ticked, nothing to export.
    s.hostTree()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    QVERIFY(!s.enabled("mnuModuleExportieren"));
  }
};

}  // namespace cq

QTEST_MAIN(cq::SessionTest)
#include "session_test.moc"
