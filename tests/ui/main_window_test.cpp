// The main window frame: commands and their states, toolbar, status bar, panes,
// splitter, screen preset, help and start arguments.
#include "ui/main_window.h"

#include <QAction>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QToolBar>
#include <QUrl>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "support/temp_folder.h"
#include "ui/commands/command_table.h"
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
      QCOMPARE(action->objectName(), QString::fromUtf8(name));
      QCOMPARE(action->text(), QString::fromUtf8(caption));
      QCOMPARE(action->shortcut(), QKeySequence(QString::fromUtf8(shortcut), QKeySequence::PortableText));
    }
    QCOMPARE(frame.window->commands().recentProjectSlot(3), frame.command("mnuOpenIndex_3"));
    QVERIFY(!frame.window->commands().recentProjectSlot(10) && !frame.window->commands().recentProjectSlot(-1));
    QCOMPARE(frame.button("DOIT"), frame.button("doit"));
    QCOMPARE(frame.button("Su_P"), frame.button("su_p"));
    QVERIFY(frame.button("doit") != nullptr && frame.button("doi") == nullptr);
    QToolBar* toolbar = frame.window->commands().mainToolbar();
    QToolBar* callList = frame.window->commands().searchToolbar();
    frame.window->showCallListToolbar("Berechne");
    QVERIFY(toolbar->isHidden() && !callList->isHidden());
    QCOMPARE(frame.window->commands().callListLabel()->text(), QString("Berechne"));
    frame.window->showMainToolbar();
    QVERIFY(!toolbar->isHidden() && callList->isHidden());

    // Buttons and popup items run their command and mirror its checked state.
    QAction* htmlModule = frame.command("mnuHtml_Modul");
    htmlModule->setEnabled(true);
    QSignalSpy runs(htmlModule, &QAction::triggered);
    frame.button("ht_mod")->trigger();
    frame.command("mnuPopUpHaupt_Html_Index_2")->trigger();
    QCOMPARE(runs.count(), 2);
    QAction* zoom = frame.command("mnuAnsicht_Zoom");
    zoom->setEnabled(true);
    zoom->trigger();
    QVERIFY(frame.button("zoom")->isChecked());
    frame.command("mnuPopUp_Zoom_Aus")->trigger();
    QVERIFY(!zoom->isChecked() && !frame.button("zoom")->isChecked());
  }

  void commandStateSwitchesTheCommands() {
    WindowUnderTest frame;
    // Each name is on exactly when a project is loaded (true) or exactly when none is (false).
    const std::pair<QStringList, bool> table[] = {
        {{"mnuBearbeiten_Definition", "mnuBearbeiten_Rout", "mnuRtf", "mnuText", "mnuSpeichern", "mnuHtml_Auswahl",
          "mnuHtml_Modul", "mnuHtml_projekt", "mnuNeu", "mnuAnsicht_Zoom", "mnuBearbeiten_Kopieren_Auswahl",
          "mnuBearbeiten_Kopieren_Modul", "save", "ht_aus", "ht_mod", "ht_pro", "neu", "zoom"}, true},
        {{"mnuBearbeiten_Code", "mnuAnsicht_App_Aktualisieren", "doit", "refresh"}, false}};
    StatusBar& panels = frame.window->statusPanels();
    const auto expectState = [&](int state, bool loaded) {
      frame.window->setCommandState(state);
      for (const auto& [names, withProject] : table)
        for (const QString& name : names) {
          QAction* a = name.startsWith("mnu") ? frame.command(name) : frame.button(name);
          QVERIFY2(a->isEnabled() == (loaded == withProject), qPrintable(name));
        }
      QCOMPARE(frame.window->codeLoaded(), loaded);
    };
    expectState(2, true);
    QVERIFY(!frame.command("mnuHtml_Clipboard")->isEnabled());  // outside the state's reach
    QVERIFY(frame.command("mnuHilfe_Hilfe")->isEnabled());
    expectState(0, false);
    QCOMPARE((QStringList{panels.text(1), panels.text(2), panels.text(5)}),
             (QStringList{"Modul", "Routine", "Aktion"}));
    panels.setText(1, "Modul1");
    for (int state : {1, 3, -1}) {
      expectState(state, true);
      QCOMPARE(panels.text(1), QString("Modul1"));
    }
  }

  void statusPanelsShowTextAndReportClicks() {
    WindowUnderTest frame({1200, 700});
    StatusBar& panels = frame.window->statusPanels();
    QCOMPARE(panels.text(1), QString("Modul:"));
    QVERIFY(panels.panel(0) == nullptr && panels.panel(6) == nullptr && panels.text(6).isEmpty());
    panels.setEngineText(2, std::string("\xC4nderung_\x9F"));
    QCOMPARE(panels.text(2), QString::fromUtf8("Änderung_Ÿ"));
    const double moduleWidth = panels.panel(1)->width();
    QVERIFY(std::abs(panels.panel(2)->width() / moduleWidth - 6174.0 / 5292.0) < 0.05);
    QVERIFY(std::abs(panels.panel(3)->width() / moduleWidth - 529.0 / 5292.0) < 0.05);
    QSignalSpy clicks(&panels, &StatusBar::panelClicked);
    QSignalSpy doubleClicks(&panels, &StatusBar::panelDoubleClicked);
    const auto expectSteps = [&](bool back, bool forward) {  // step panels and their menu items
      QCOMPARE((QList<bool>{panels.isPanelEnabled(3), frame.command("mnuBearbeiten_RouBew_3")->isEnabled(),
                            panels.isPanelEnabled(4), frame.command("mnuBearbeiten_RouBew_4")->isEnabled()}),
               (QList<bool>{back, back, forward, forward}));
    };
    expectSteps(false, false);
    QTest::mouseClick(panels.panel(3), Qt::LeftButton);  // a disabled panel reports nothing
    frame.window->setHistoryBackEnabled(true);
    expectSteps(true, false);
    QTest::mouseClick(panels.panel(3), Qt::LeftButton);
    QTest::mouseClick(panels.panel(1), Qt::LeftButton);
    QTest::mouseDClick(panels.panel(2), Qt::LeftButton);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(clicks.at(0).at(0).toInt(), 3);
    QCOMPARE(clicks.at(1).at(0).toInt(), 1);
    QCOMPARE(doubleClicks.count(), 1);
    QCOMPARE(doubleClicks.at(0).at(0).toInt(), 2);
    frame.window->setHistoryForwardEnabled(true);
    frame.window->setHistoryBackEnabled(false);
    expectSteps(false, true);
  }

  void leftPaneShowsOneViewInOnePlace() {
    WindowUnderTest frame({900, 600});
    WindowPanes& panes = frame.window->panes();
    QVERIFY(panes.hostStatusText()->isReadOnly());
    QCOMPARE(panes.leftPane(), LeftPane::HostTree);
    const QList<LeftPane> all{LeftPane::HostTree, LeftPane::ProjectTree, LeftPane::CallList, LeftPane::HostStatus};
    QRect place;
    for (LeftPane shown : all) {
      panes.showLeftPane(shown);
      QCoreApplication::processEvents();
      QCOMPARE(panes.leftPane(), shown);
      for (LeftPane other : all) QCOMPARE(panes.leftPaneWidget(other)->isVisible(), other == shown);
      if (place.isNull()) place = panes.leftPaneWidget(shown)->geometry();
      QCOMPARE(panes.leftPaneWidget(shown)->geometry(), place);
    }
    QVERIFY(!place.isEmpty());
  }

  void splitterStopsAtItsLimits() {
    WindowUnderTest frame({900, 600});
    WindowPanes& panes = frame.window->panes();
    QSplitterHandle* bar = panes.splitterBar();
    const int start = twipsToPixels(3000);
    QCOMPARE(panes.sizes().front(), start);
    int whileHeld = 0;  // while dragging only the bar moves; the panes follow on release
    dragSplitterTo(bar, -100, [&] { whileHeld = panes.sizes().front(); });
    QCOMPARE(whileHeld, start);
    QCOMPARE(panes.sizes().front(), start - 101);
    dragSplitterTo(bar, -5000);
    QCOMPARE(panes.sizes().front(), twipsToPixelsAtLeast(200));
    dragSplitterTo(bar, 5000);
    QCOMPARE(panes.sizes().back(), twipsToPixelsAtLeast(100));
    QCOMPARE(panes.sizes().front() + panes.handleWidth() + panes.sizes().back(), panes.width());
  }

  void screenPresetIsStoredAndApplied() {
    WindowUnderTest frame;
    MainWindow& window = *frame.window;
    window.move(60, 45);
    window.resize(800, 600);
    for (Answer answer : {Answer::No, Answer::Yes}) frame.dialogs.replies.push_back({answer, {}, {}});
    frame.command("mnuExtras_Screen_define")->trigger();  // declined: nothing stored
    QCOMPARE(frame.dialogs.requests.at(0).buttons, QuestionButtons::YesNo);
    QCOMPARE(frame.state.display.screenPreset, std::string("max"));
    QCOMPARE(frame.settings.get("optionen", "bis"), std::string());
    window.storeScreenPreset();
    QCOMPARE(frame.state.display.screenPreset, std::string("900;675;12000;9000"));
    QCOMPARE(frame.settings.get("optionen", "bis"), std::string("900;675;12000;9000"));
    window.setWindowState(Qt::WindowMaximized);
    frame.dialogs.replies.push_back({Answer::Yes, {}, {}});
    window.storeScreenPreset();
    QCOMPARE(frame.settings.get("optionen", "bis"), std::string("max"));
    frame.state.display.screenPreset = "1500;750;9000;6000";
    frame.command("mnuExtras_Screen_call")->trigger();
    QVERIFY(!window.isMaximized());
    QCOMPARE(window.pos(), QPoint(100, 50));
    QCOMPARE(window.size(), QSize(600, 400));
    frame.state.display.screenPreset = "max";
    window.applyScreenPreset();
    QVERIFY(window.isMaximized());
    // A damaged preset applies its parts up to the first that is no number; an empty one nothing.
    for (const char* preset : {"300;abc;12000;9000", ""}) {
      frame.state.display.screenPreset = preset;
      window.applyScreenPreset();
      QVERIFY(!window.isMaximized());
      QCOMPARE(window.pos(), QPoint(20, 50));
      QCOMPARE(window.size(), QSize(600, 400));
    }
  }

  void helpOpensTheManualOrSaysWhereItBelongs() {
    WindowUnderTest frame;
    frame.command("mnuHilfe_Hilfe")->trigger();
    QCOMPARE(frame.dialogs.requests.size(), std::size_t{1});
    QCOMPARE(frame.dialogs.requests[0].kind, DialogKind::Plain);
    QCOMPARE(frame.dialogs.requests[0].title, QString("Access Code Quorix 1.0"));
    QCOMPARE(frame.dialogs.requests[0].text,
             QString("Die Hilfsdatei:\r\nCodeQuorix.html\r\nkonnte nicht gefunden werden. \r\n"
                     "Diese muss im selben Verzeichnis wieAQX_ZT.exe installiert werden.\r\n"
                     "Bitte kopieren Sie also AQX.chm nach:\r\n") +
                 QString::fromStdString(frame.state.programFolder.string()));
    QVERIFY(frame.openedUrls.empty());
    frame.folder.writeFile("installed/CodeQuorix.html", "<html></html>");
    frame.window->showHelp();
    QCOMPARE(frame.openedUrls.size(), std::size_t{1});
    const auto beside = frame.folder.writeFile("program/CodeQuorix.html", "<html></html>");
    frame.window->showHelp();  // the copy beside the program wins
    QCOMPARE(frame.openedUrls.back(), QUrl::fromLocalFile(QString::fromStdString(beside.string())));
    QCOMPARE(frame.dialogs.requests.size(), std::size_t{1});
  }

  void commandLineSwitchAndDocuments() {
    QVERIFY(parseStartArguments({"/A"}).compactWindow);
    const StartArguments mixed = parseStartArguments({"/a", "Mappe.xlsm"});
    QVERIFY(!mixed.compactWindow);
    QCOMPARE(mixed.documents, QStringList{"Mappe.xlsm"});
    QCOMPARE(parseStartArguments({"a.docm", "/b"}).documents, (QStringList{"a.docm", "/b"}));
  }
};

}  // namespace cq

QTEST_MAIN(cq::MainWindowTest)
#include "main_window_test.moc"
