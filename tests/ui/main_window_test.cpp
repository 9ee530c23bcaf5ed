// The main window frame: commands and their states, toolbar, status bar, splitter,
// screen preset, help, start arguments, the one seam for messages and dialogs, and
// Qt's own texts in German.
#include "ui/main_window.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QToolBar>
#include <QUrl>
#include <QtTest>
#include <functional>
#include <memory>
#include <tuple>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "support/temp_folder.h"
#include "ui/commands/command_table.h"
#include "ui/qt_texts.h"
#include "ui/scripted_dialogs.h"
#include "ui/start_arguments.h"
#include "ui/status_bar.h"
#include "ui/twips.h"

namespace cq {
namespace {

struct WindowUnderTest {
  test::TempFolder folder;
  SettingsStore settings{folder.path() / "settings.ini"};
  AppState state;
  ScriptedDialogs dialogs;
  std::vector<QUrl> openedUrls;
  std::unique_ptr<MainWindow> window;

  explicit WindowUnderTest(QSize shownAt = {}) {
    state.edition = builtInEdition();
    state.programTitle = programTitle(state.edition);
    state.programFolder = folder.path() / "program/";
    std::filesystem::create_directories(state.programFolder);
    window = std::make_unique<MainWindow>(state, settings);
    window->messages().setReplier(dialogs.replier());
    window->setInstalledDataFolder(folder.path() / "installed/");
    window->setUrlOpener([this](const QUrl& url) { openedUrls.push_back(url); return true; });
    if (shownAt.isValid()) {
      window->resize(shownAt);
      window->show();
      QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
  }
  QAction* command(const QString& name) const { return window->commands().action(name); }
  QAction* button(const QString& key) const { return window->commands().toolbarButton(key); }
};

void dragSplitterTo(QSplitterHandle* bar, int x, const std::function<void()>& whileHeld = [] {}) {
  const auto send = [bar](QEvent::Type type, int at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at, 5), QPointF(bar->mapToGlobal(QPoint(at, 5))), button, held, Qt::NoModifier);
    QApplication::sendEvent(bar, &event);
  };
  send(QEvent::MouseButtonPress, 1, Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseMove, x, Qt::NoButton, Qt::LeftButton);
  whileHeld();
  send(QEvent::MouseButtonRelease, x, Qt::LeftButton, Qt::NoButton);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void commandsToolbarAndMirroring() {
    WindowUnderTest frame;
    const char* spot[][3] = {{"mnuÖffnen", "&Öffnen ...", "Ctrl+O"}, {"mnuHilfe_Hilfe", "&Hilfe", "F1"},
                             {"mnuBearbeiten_SuchenWeiter", "Suchen ab P&osition", "Ctrl+F3"},
                             {"mnuBearbeiten_RouBew_4", "Routine &Vor", "Ctrl+F4"}, {"mnuOpenIndex_9", "&9 - ", ""}};
    for (const auto& [name, caption, shortcut] : spot) {
      QAction* action = frame.command(QString::fromUtf8(name));
      QVERIFY2(action != nullptr, name);
      QCOMPARE(action->text(), QString::fromUtf8(caption));
      QCOMPARE(action->shortcut(), QKeySequence(QString::fromUtf8(shortcut), QKeySequence::PortableText));
    }
    QCOMPARE(frame.window->commands().recentProjectSlot(3), frame.command("mnuOpenIndex_3"));
    QVERIFY(!frame.window->commands().recentProjectSlot(10) && !frame.window->commands().recentProjectSlot(-1));
    QVERIFY(frame.button("DOIT") == frame.button("doit") && frame.button("doit") && !frame.button("doi"));
    frame.window->showCallListToolbar("Berechne");
    QToolBar* toolbar = frame.window->commands().mainToolbar();
    QVERIFY(!toolbar->isHidden() && !frame.window->commands().searchToolbar()->isHidden());
    QCOMPARE(frame.window->commands().callListLabel()->text(), QString("Berechne"));
    frame.window->hideCallListToolbar();
    QVERIFY(!toolbar->isHidden() && frame.window->commands().searchToolbar()->isHidden());
    // Buttons and popup items run their command (the zoom's checked mirror: see the browser test).
    QAction* htmlModule = frame.command("mnuHtml_Modul");
    htmlModule->setEnabled(true);
    QSignalSpy runs(htmlModule, &QAction::triggered);
    frame.button("ht_mod")->trigger();
    frame.command("mnuPopUpHaupt_Html_Index_2")->trigger();
    QCOMPARE(runs.count(), 2);
  }

  void commandStateSwitchesTheCommands() {
    WindowUnderTest frame;
    // Each name is on exactly when a project is loaded (true) or exactly when none is (false).
    const std::pair<QStringList, bool> table[] = {
        {{"mnuBearbeiten_Definition", "mnuBearbeiten_Rout", "mnuRtf", "mnuText", "mnuSpeichern", "mnuHtml_Auswahl",
          "mnuHtml_Modul", "mnuHtml_projekt", "mnuNeu", "mnuAnsicht_Zoom", "mnuBearbeiten_Kopieren_Auswahl",
          "mnuBearbeiten_Kopieren_Modul", "mnuTest", "save", "ht_aus", "ht_mod", "ht_pro", "neu", "zoom"}, true},
        {{"mnuBearbeiten_Code", "doit"}, false}};
    StatusBar& panels = frame.window->statusPanels();
    for (CommandState state : {CommandState::kSavedOrOpened, CommandState::kNoProject, CommandState::kReadNotSaved}) {
      const bool loaded = state != CommandState::kNoProject;
      frame.window->setCommandState(state);
      for (const auto& [names, withProject] : table)
        for (const QString& name : names) {
          QAction* a = name.startsWith("mnu") ? frame.command(name) : frame.button(name);
          QVERIFY2(a->isEnabled() == (loaded == withProject), qPrintable(name));
        }
      QCOMPARE(frame.window->codeLoaded(), loaded);
      // Outside the state's reach.
      QVERIFY(state != CommandState::kSavedOrOpened || !frame.command("mnuHtml_Clipboard")->isEnabled());
      if (!loaded) {  // no project: the panels show their names
        QCOMPARE((QStringList{panels.text(1), panels.text(2), panels.text(5)}),
                 (QStringList{"Modul", "Routine", "Aktion"}));
        panels.setText(1, "Modul1");
      }
    }
    QCOMPARE(panels.text(1), QString("Modul1"));
  }

  void statusPanelsAndSplitter() {
    WindowUnderTest frame({900, 600});
    StatusBar& panels = frame.window->statusPanels();
    QVERIFY(panels.panel(0) == nullptr && panels.panel(6) == nullptr && panels.text(6).isEmpty());
    panels.setEngineText(2, std::string("Änderung_Ÿ"));
    QCOMPARE(panels.text(2), QString::fromUtf8("Änderung_Ÿ"));
    QSignalSpy doubleClicks(&panels, &StatusBar::panelDoubleClicked);  // clicks: see the browser test
    QTest::mouseDClick(panels.panel(2), Qt::LeftButton);
    QVERIFY(doubleClicks.count() == 1 && doubleClicks.at(0).at(0).toInt() == 2);
    // While dragging only the splitter bar moves; the panes follow on release, within their limits.
    WindowPanes& panes = frame.window->panes();
    QSplitterHandle* bar = panes.splitterBar();
    const int start = twipsToPixels(3000);
    QCOMPARE(panes.sizes().front(), start);
    int whileHeld = 0;
    dragSplitterTo(bar, -100, [&] { whileHeld = panes.sizes().front(); });
    QCOMPARE(whileHeld, start);
    QCOMPARE(panes.sizes().front(), start - 101);
    dragSplitterTo(bar, -5000);
    QCOMPARE(panes.sizes().front(), twipsToPixelsAtLeast(200));
    dragSplitterTo(bar, 5000);
    QCOMPARE(panes.sizes().back(), twipsToPixelsAtLeast(100));
    QCOMPARE(panes.sizes().front() + panes.handleWidth() + panes.sizes().back(), panes.width());
  }

  void theWindowDoesNotShrinkBelowAUsableSize() {
    WindowUnderTest frame({900, 600});
    MainWindow& window = *frame.window;
    window.resize(120, 90);
    QApplication::processEvents();
    QVERIFY(window.minimumWidth() >= twipsToPixels(9000) && window.minimumHeight() >= twipsToPixels(6000));
    QCOMPARE(window.size(), window.minimumSize());
    // Every toolbar button keeps its place (none moves into the overflow), beside the search box.
    QToolBar* toolbar = window.commands().mainToolbar();
    for (QAction* button : toolbar->actions()) {
      if (!button->isVisible()) continue;
      QWidget* widget = toolbar->widgetForAction(button);
      QVERIFY2(widget && widget->isVisible() && toolbar->rect().contains(widget->geometry()),
               qPrintable(button->objectName()));
    }
    QVERIFY(window.searchBox()->isVisible() && window.searchBox()->geometry().left() >= toolbar->geometry().right());
    // The status bar keeps its height and the code pane its room.
    QCOMPARE(window.statusPanels().height(), twipsToPixels(500));
    QVERIFY(window.panes().codePane()->height() > twipsToPixels(2000));
  }

  void screenPresetIsStoredAndApplied() {
    WindowUnderTest frame;
    MainWindow& window = *frame.window;
    window.move(60, 45);
    window.resize(800, 600);
    for (Answer answer : {Answer::No, Answer::Yes, Answer::Yes}) frame.dialogs.replies.push_back({answer, {}, {}});
    frame.command("mnuExtras_Screen_define")->trigger();  // declined: nothing stored
    QCOMPARE(frame.dialogs.requests.at(0).buttons, QuestionButtons::YesNo);
    QCOMPARE(frame.settings.get("optionen", "bis"), std::string());
    window.storeScreenPreset();
    QCOMPARE(frame.state.display.screenPreset, frame.settings.get("optionen", "bis"));
    QCOMPARE(frame.settings.get("optionen", "bis"), std::string("900;675;12000;9000"));
    window.setWindowState(Qt::WindowMaximized);
    window.storeScreenPreset();
    QCOMPARE(frame.settings.get("optionen", "bis"), std::string("max"));
    frame.state.display.screenPreset = "1500;750;9000;6000";
    frame.command("mnuExtras_Screen_call")->trigger();
    QVERIFY(!window.isMaximized());
    QCOMPARE(QRect(window.pos(), window.size()), QRect(100, 50, 600, 400));
    frame.state.display.screenPreset = "max";
    window.applyScreenPreset();
    QVERIFY(window.isMaximized());
    // A damaged preset applies its parts up to the first that is no number; an empty one nothing.
    for (const char* preset : {"300;abc;12000;9000", ""}) {
      frame.state.display.screenPreset = preset;
      window.applyScreenPreset();
      QVERIFY(!window.isMaximized());
      QCOMPARE(QRect(window.pos(), window.size()), QRect(20, 50, 600, 400));
    }
    // Never larger than the screen's free area, nor standing out of it: a fresh
    // window, and a preset stored on a larger screen.
    const QRect area = window.screen()->availableGeometry();
    QVERIFY(area.width() < twipsToPixels(15000));  // the designed size does not fit here
    const auto inside = [&](const QWidget& shown) {
      return area.contains(QRect(shown.pos(), shown.size())) && shown.width() < area.width() &&
             shown.height() < area.height();
    };
    QVERIFY(inside(*WindowUnderTest().window));
    frame.state.display.screenPreset = "-3000;60000;40000;40000";
    window.applyScreenPreset();
    QVERIFY2(inside(window), qPrintable(QString("%1,%2 %3x%4").arg(window.x()).arg(window.y()).arg(window.width())
                                            .arg(window.height())));
  }

  void helpAndStartArguments() {
    WindowUnderTest frame;
    frame.command("mnuHilfe_Hilfe")->trigger();
    QCOMPARE(frame.dialogs.requests.size(), std::size_t{1});
    QCOMPARE(frame.dialogs.requests[0].title, QString("Access Code Quorix 1.0"));
    QCOMPARE(frame.dialogs.requests[0].text,
             QString("Die Hilfsdatei:\r\nCodeQuorix.html\r\nkonnte nicht gefunden werden. \r\n"
                     "Diese muss im selben Verzeichnis wieAQX_ZT.exe installiert werden.\r\n"
                     "Bitte kopieren Sie also AQX.chm nach:\r\n") +
                 QString::fromStdString(frame.state.programFolder.string()));
    frame.folder.writeFile("installed/CodeQuorix.html", "<html></html>");
    frame.window->showHelp();
    QCOMPARE(frame.openedUrls.size(), std::size_t{1});
    const auto beside = frame.folder.writeFile("program/CodeQuorix.html", "<html></html>");
    frame.window->showHelp();  // the copy beside the program wins
    QCOMPARE(frame.openedUrls.back(), QUrl::fromLocalFile(QString::fromStdString(beside.string())));
    QCOMPARE(frame.dialogs.requests.size(), std::size_t{1});
    // A desktop that cannot show the manual: said so, naming the manual.
    frame.window->setUrlOpener([](const QUrl&) { return false; });
    frame.command("mnuHilfe_Hilfe")->trigger();
    QCOMPARE(frame.dialogs.requests.size(), std::size_t{2});
    QCOMPARE(frame.dialogs.requests[1].kind, DialogKind::Warning);
    QVERIFY(frame.dialogs.requests[1].text.contains(QString::fromStdString(beside.string())));
    QVERIFY(frame.dialogs.requests[1].text.contains("konnte nicht ge\u00F6ffnet werden"));

    // The manual shipped with the program lists every visible command with its shortcut.
    QFile manual(QString(CQ_SOURCE_DIR) + "/docs/CodeQuorix.html");
    QVERIFY(manual.open(QIODevice::ReadOnly));
    const QString manualText = QString::fromUtf8(manual.readAll());
    for (const CommandDefinition& command : commandDefinitions()) {
      const QString name = QString::fromUtf8(command.name);
      if (command.hidden || name.startsWith("mnuOpenIndex")) continue;
      const QAction* action = frame.command(name);
      const QString row = "<td>" + action->text().remove('&') + "</td><td>" +
                          action->shortcut().toString(QKeySequence::PortableText).replace("Ctrl", "Strg") + "</td>";
      QVERIFY2(manualText.contains(row), qPrintable(name + ": " + row));
    }

    QVERIFY(parseStartArguments({"/A"}).compactWindow);
    QVERIFY(parseStartArguments({"-style", "fusion", "/a", "-reverse"}).compactWindow);
    const StartArguments mixed = parseStartArguments({"/a", "Mappe.xlsm"});
    QVERIFY(!mixed.compactWindow);
    QCOMPARE(mixed.documents, QStringList{"Mappe.xlsm"});
    QCOMPARE(parseStartArguments({"a.docm", "/b"}).documents, (QStringList{"a.docm", "/b"}));
    // Options: the first of help, version and an unknown one decides; Qt's own are left to Qt;
    // after "--" everything is a document.
    const struct {
      QStringList arguments;
      StartRequest request;
      QString unknown;
      QStringList documents;
    } cases[] = {
        {{"--frei", "a.xls", "-x", "--", "-b.xlsm", "--"}, StartRequest::kUnknownOption, "--frei",
         {"a.xls", "-b.xlsm", "--"}},
        {{"x.xls", "-h"}, StartRequest::kHelp, {}, {"x.xls"}},
        {{"--version", "--help"}, StartRequest::kVersion, {}, {}},
        {{"--", "--version"}, StartRequest::kWindow, {}, {"--version"}},
        {{"-platform", "offscreen", "--style=fusion", "a.xls", "-reverse"}, StartRequest::kWindow, {}, {"a.xls"}},
        {{"-stil", "a.xls"}, StartRequest::kUnknownOption, "-stil", {"a.xls"}},
    };
    for (const auto& c : cases) {
      const StartArguments parsed = parseStartArguments(c.arguments);
      QCOMPARE(parsed.request, c.request);
      QCOMPARE(parsed.unknownOption, c.unknown);
      QCOMPARE(parsed.documents, c.documents);
    }
    QVERIFY(unknownOptionMessage("--frei").contains("codequorix --help"));
    QVERIFY(startUsage().contains("codequorix [DOKUMENT...]"));
  }

  // The program answers its command line before it needs a display.
  void theCommandLineIsAnsweredWithoutADisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
    const auto run = [&](const QString& argument) {
      QProcess program;
      program.setProcessEnvironment(environment);
      program.start(CQ_PROGRAM_PATH, {argument});
      program.waitForFinished(30000);
      return std::tuple(program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
                        QString::fromUtf8(program.readAllStandardOutput()),
                        QString::fromUtf8(program.readAllStandardError()));
    };
    auto [code, out, err] = run("--bogus");
    QCOMPARE(code, 2);
    QCOMPARE(err, unknownOptionMessage("--bogus"));
    QVERIFY(out.isEmpty());
    std::tie(code, out, err) = run("--help");
    QCOMPARE(code, 0);
    QCOMPARE(out, startUsage());
    std::tie(code, out, err) = run("--version");
    QCOMPARE(code, 0);
    QVERIFY2(out.startsWith("codequorix ") && out.contains("Handbuch: "), qPrintable(out));
  }

  void presenterConvertsEngineTextsAndRoutesEveryDialog() {
    ScriptedDialogs dialogs;
    MessagePresenter presenter(nullptr, "Titel");
    presenter.setReplier(dialogs.replier());
    presenter.warning(std::string("Datei änderung – fehlt"));
    presenter.critical(QString("Fehler"), "Eigener Titel");
    QCOMPARE(dialogs.requests[0].text, QString::fromUtf8("Datei änderung – fehlt"));
    QVERIFY(dialogs.requests[0].kind == DialogKind::Warning && dialogs.requests[0].title == "Titel");
    QCOMPARE(dialogs.requests[1].title, QString("Eigener Titel"));
    dialogs.replies.push_back({Answer::Yes, {}, {}});
    QCOMPARE(presenter.question(QString("Speichern ?"), QuestionButtons::YesNoCancel), Answer::Yes);
    QCOMPARE(presenter.question(QString("Nochmal ?"), QuestionButtons::YesNo), Answer::Cancel);
    dialogs.replies.push_back({Answer::Ok, "Projekt1", {}});
    QCOMPARE(presenter.askText(QString("Name:"), "Neu", "Vorschlag"), std::optional<QString>("Projekt1"));
    QCOMPARE(dialogs.requests.back().proposal, QString("Vorschlag"));
    QCOMPARE(presenter.askText(QString("Name:"), "Neu", ""), std::nullopt);
    dialogs.replies.push_back({Answer::Ok, {}, {"/home/user/Projekte"}});
    QCOMPARE(presenter.askFolder("Ordner", "/home/user"), std::optional<QString>("/home/user/Projekte/"));
    QCOMPARE(presenter.askFolder("Ordner", "/home/user"), std::nullopt);
    dialogs.replies.push_back({Answer::Ok, {}, {"/a.xlsm", "/b.docm"}});
    QCOMPARE(presenter.askFiles("Dokumente", "/", "Office (*.xlsm)"), (QStringList{"/a.xlsm", "/b.docm"}));
    QCOMPARE(dialogs.requests.back().filter, QString("Office (*.xlsm)"));
    QCOMPARE(presenter.askFiles("Dokumente", "/", ""), QStringList());
    // A failure: the message and, set apart below it, the cause, both engine texts.
    presenter.show(Failure{"Die Datei Ärger.bas konnte nicht gelesen werden.", "Zugriff verweigert"});
    QCOMPARE(dialogs.requests.back().text,
             QString::fromUtf8("Die Datei Ärger.bas konnte nicht gelesen werden.\r\n\r\nZugriff verweigert"));
    QCOMPARE(dialogs.requests.back().kind, DialogKind::Warning);
    presenter.show(Failure{"Kein Gültiges Projekt"}, DialogKind::Plain);
    QCOMPARE(dialogs.requests.back().text, QString::fromUtf8("Kein Gültiges Projekt"));
    QCOMPARE(dialogs.requests.back().kind, DialogKind::Plain);
  }

  // Runs last: the translation stays installed in the test program.
  void qtsOwnButtonsSpeakGerman() {
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm"))
      QSKIP("Qt's German translation (qt6-translations-l10n) is not installed");
    QVERIFY(installGermanQtTexts(*QCoreApplication::instance()));
    QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
    const auto caption = [](QAbstractButton* button) { return button->text().remove('&'); };
    QCOMPARE(caption(buttons.button(QDialogButtonBox::Yes)), QString("Ja"));
    QCOMPARE(caption(buttons.button(QDialogButtonBox::No)), QString("Nein"));
    QCOMPARE(caption(buttons.button(QDialogButtonBox::Cancel)), QString("Abbrechen"));
    QMessageBox box(QMessageBox::Question, "Titel", "Speichern ?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(caption(box.button(QMessageBox::Yes)), QString("Ja"));
    QCOMPARE(caption(box.button(QMessageBox::Cancel)), QString("Abbrechen"));
  }
};

}  // namespace cq

QTEST_MAIN(cq::MainWindowTest)
#include "main_window_test.moc"
