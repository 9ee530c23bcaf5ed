// The frame of the main window: commands, their states, the status bar, the
// panes and splitter, the screen preset, the help command and the dialogs seam.
#include "ui/main_window.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QtTest>
#include <memory>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "support/temp_folder.h"
#include "ui/scripted_dialogs.h"
#include "ui/commands/command_table.h"
#include "ui/start_arguments.h"
#include "ui/status_bar.h"
#include "ui/twips.h"

namespace cq {

namespace {

// A window on settings in a temporary folder, with its program folder there too.
struct WindowUnderTest {
  test::TempFolder folder;
  SettingsStore settings{folder.path() / "settings.ini"};
  AppState state;
  ScriptedDialogs dialogs;
  std::vector<QUrl> openedUrls;
  std::unique_ptr<MainWindow> window;

  WindowUnderTest() {
    state.edition = builtInEdition();
    state.programTitle = programTitle(state.edition);
    state.programFolder = folder.path() / "program/";
    std::filesystem::create_directories(state.programFolder);
    window = std::make_unique<MainWindow>(state, settings);
    window->messages().setReplier(dialogs.replier());
    window->setInstalledDataFolder(folder.path() / "installed/");
    window->setUrlOpener([this](const QUrl& url) {
      openedUrls.push_back(url);
      return true;
    });
  }

  QAction* command(const char* name) const { return window->commands().action(QString::fromUtf8(name)); }
  QAction* button(const char* key) const { return window->commands().toolbarButton(QString::fromUtf8(key)); }
};

void sendMouse(QWidget* widget, QEvent::Type type, QPoint local, Qt::MouseButton button,
               Qt::MouseButtons held) {
  QMouseEvent event(type, QPointF(local), QPointF(widget->mapToGlobal(local)), button, held, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

void dragSplitterTo(QSplitterHandle* bar, int x) {
  const QPoint start(1, bar->height() / 2);
  sendMouse(bar, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
  sendMouse(bar, QEvent::MouseMove, QPoint(x, start.y()), Qt::NoButton, Qt::LeftButton);
  sendMouse(bar, QEvent::MouseButtonRelease, QPoint(x, start.y()), Qt::LeftButton, Qt::NoButton);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void commandsCarryNameCaptionAndShortcut_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    const auto row = [](const char* name, const char* caption, const char* shortcut) {
      QTest::newRow(name) << QString::fromUtf8(caption) << QString::fromUtf8(shortcut);
    };
    row("mnuÖffnen", "&Öffnen ...", "Ctrl+O");
    row("mnuNeu", "&Neu", "Ctrl+N");
    row("mnuAnsicht_App_Aktualisieren", "&Aktualisieren Access VBA Projekte", "F5");
    row("mnuSpeichern", "&Speichern Unter ...", "Ctrl+S");
    row("mnuDokumentOeffnen", "Dokument &öffnen ...", "");
    row("mnuOrdnerOeffnen", "&Ordner öffnen ...", "");
    row("mnuEnde", "&Beenden", "");
    row("mnuOpenIndex_0", "&0 - ", "");
    row("mnuOpenIndex_9", "&9 - ", "");
    row("mnuBearbeiten_Code", "&Code Einlesen", "F2");
    row("mnuBearbeiten_Suchen", "&Suchen", "F3");
    row("mnuBearbeiten_SuchenWeiter", "Suchen ab P&osition", "Ctrl+F3");
    row("mnuBearbeiten_Suchen_Projekt", "&Projektsuche An/Aus", "");
    row("mnuBearbeiten_Suchen_GanzWort", "&Ganzes Wort Suche An/Aus", "");
    row("mnuBearbeiten_Suchen_Auswahl", "&Auswahl nach Suche", "Ctrl+F");
    row("mnuBearbeiten_Rout", "Aktuelle &Routine Aufrufe", "Ctrl+F8");
    row("mnuBearbeiten_Definition", "&Definition", "F8");
    row("mnuBearbeiten_RouBew_3", "Routine &Zurück", "F4");
    row("mnuBearbeiten_RouBew_4", "Routine &Vor", "Ctrl+F4");
    row("mnuBearbeiten_Kopieren_Modul", "Kopieren &Modul", "");
    row("mnuBearbeiten_Kopieren_Auswahl", "&Kopieren Auswahl", "");
    row("mnuAnsicht_Zoom", "&Zoom", "");
    row("mnuAnsicht_RouClose", "&Routinensuche schliessen", "");
    row("mnuAnsicht_Spezial", "&Spezialansicht", "F9");
    row("mnuVB", "&VB Einlesen", "");
    row("mnuExtras_Struktur", "&Struktur nach Zwischenablage", "");
    row("mnuExtras_Optionen", "&Optionen", "Ctrl+E");
    row("mnuExtras_Screen_define", "Benutzer Bildschirm &Festlegen", "");
    row("mnuExtras_Screen_call", "&Benutzer Bildschirm Aufrufen", "");
    row("mnuExtras_ClearClip", "&Zwischenablage Leeren", "Ctrl+Q");
    row("mnuTest", "Tests", "");
    row("mnuHtml_Clipboard", "&Zwischenablage", "");
    row("mnuHtml_Auswahl", "&Auswahl", "");
    row("mnuHtml_Modul", "&Modul", "");
    row("mnuHtml_projekt", "&Projekt", "");
    row("mnuRtf", "RTF", "");
    row("mnuHtml", "HTML", "");
    row("mnuText", "&Nur-Text", "");
    row("mnuHilfe", "&?", "");
    row("mnuHilfe_Hilfe", "&Hilfe", "F1");
    row("mnuHilfe_Info", "&Info", "");
    row("mnuPopUpHaupt_Html_Index_3", "&Projekt", "");
    row("mnuPopUpEinlesen_Code", "&Code Einlesen", "");
    row("mnuPopUp_Zoom_Aus", "&Zoom Aus", "");
  }

  void commandsCarryNameCaptionAndShortcut() {
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    WindowUnderTest frame;
    const QString name = QString::fromUtf8(QTest::currentDataTag());
    QAction* action = frame.window->commands().action(name);
    QVERIFY(action != nullptr);
    QCOMPARE(action->objectName(), name);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), QKeySequence(shortcut, QKeySequence::PortableText));
  }

  void windowAndMenusAreLaidOutAsDesigned() {
    WindowUnderTest frame;
    QCOMPARE(frame.window->objectName(), QString("frmHaupt"));
    QCOMPARE(frame.window->windowTitle(), QString("Access Code Quorix 1.0"));
    QStringList topMenus;
    for (QAction* menu : frame.window->menuBar()->actions()) topMenus << menu->text();
    QCOMPARE(topMenus,
             (QStringList{"&Datei", "&Bearbeiten", "&Ansicht", "&Extras", "RTF", "HTML", "&Nur-Text", "&?"}));
    for (const char* hidden : {"mnuVB", "mnuTest", "mnuOpenIndex_0", "mnuOpenIndex_5", "mnuOpenIndex_9"}) {
      QVERIFY2(!frame.command(hidden)->isVisible(), hidden);
    }
    QCOMPARE(frame.window->commands().recentProjectSlot(3), frame.command("mnuOpenIndex_3"));
    QVERIFY(frame.window->commands().recentProjectSlot(10) == nullptr);
    QVERIFY(frame.window->commands().recentProjectSlot(-1) == nullptr);
    // The recent slots sit in the file menu between its other items and "Beenden".
    auto* fileMenu = frame.window->menuBar()->findChild<QMenu*>("mnuDatei");
    QVERIFY(fileMenu != nullptr);
    const QList<QAction*> fileItems = fileMenu->actions();
    QVERIFY(fileItems.indexOf(frame.command("mnuOrdnerOeffnen")) <
            fileItems.indexOf(frame.command("mnuOpenIndex_0")));
    QCOMPARE(fileItems.back(), frame.command("mnuEnde"));
    QVERIFY(fileItems.at(fileItems.indexOf(frame.command("mnuOpenIndex_0")) - 1)->isSeparator());
    for (const char* popup : {"mnuPopUpHaupt", "mnuPopUpEinlesen", "mnuPopUp_Zoom"}) {
      QVERIFY2(frame.window->commands().popupMenu(popup) != nullptr, popup);
    }
    QCOMPARE(frame.window->searchBox()->objectName(), QString("txtSuche"));
    QCOMPARE(frame.window->searchBox()->text(), QString("Text für Suche"));
  }

  void toolbarButtonsInOrderFoundIgnoringCase() {
    WindowUnderTest frame;
    QToolBar* toolbar = frame.window->commands().mainToolbar();
    QCOMPARE(toolbar->objectName(), QString("tobSymb1"));
    QStringList keys;
    QStringList tooltips;
    for (QAction* button : toolbar->actions()) {
      keys << button->objectName();
      tooltips << button->toolTip();
    }
    QCOMPARE(keys, (QStringList{"neu", "open", "save", "refresh", "doit", "blind", "ht_clip", "ht_aus",
                                "ht_mod", "ht_pro", "su_a", "su_w", "su_p", "su_g", "su_i", "zoom"}));
    QCOMPARE(tooltips, (QStringList{"Neu", "Öffnen", "Speichern", "Aktualisieren Access VBA Projekte (F5)",
                                    "Code Lesen", "", "Zwischenablage nach HTML", "Auswahl nach HTML",
                                    "Modul nach HTML", "Projekt nach HTML", "Suchen (F3)",
                                    "Suchen ab Position(STRG+F3)", "Projektweite Suche Ein/Aus",
                                    "Ganzes Wort Ein/Aus", "Markierten Text in's Suchfenster", "Zoom"}));
    QVERIFY(!frame.button("blind")->isVisible());
    for (QAction* button : toolbar->actions()) {
      const bool isSwitch = QStringList{"su_p", "su_g", "zoom"}.contains(button->objectName());
      QCOMPARE(button->isCheckable(), isSwitch);
    }
    QCOMPARE(frame.button("DOIT"), frame.button("doit"));
    QCOMPARE(frame.button("Su_P"), frame.button("su_p"));
    QVERIFY(frame.button("doi") == nullptr);

    QToolBar* callList = frame.window->commands().searchToolbar();
    QCOMPARE(callList->objectName(), QString("tobSuche"));
    QVERIFY(callList->isHidden());
    QCOMPARE(frame.button("CLOSE")->toolTip(), QString("Schliesst die Routinensuche"));
    frame.window->showCallListToolbar("Berechne");
    QVERIFY(toolbar->isHidden() && !callList->isHidden());
    QCOMPARE(frame.window->commands().callListLabel()->text(), QString("Berechne"));
    frame.window->showMainToolbar();
    QVERIFY(!toolbar->isHidden() && callList->isHidden());
  }

  void buttonsAndPopupItemsRunAndMirrorTheirCommand() {
    WindowUnderTest frame;
    QAction* projectSearch = frame.command("mnuBearbeiten_Suchen_Projekt");
    QVERIFY(!frame.button("su_p")->isEnabled());  // unwired commands stay off
    projectSearch->setEnabled(true);
    QVERIFY(frame.button("su_p")->isEnabled());
    frame.button("su_p")->trigger();
    QVERIFY(projectSearch->isChecked());
    QVERIFY(frame.button("su_p")->isChecked());
    projectSearch->trigger();
    QVERIFY(!frame.button("su_p")->isChecked());

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
    // Popup items of the zoom view's own operations have no command behind them.
    QVERIFY(!frame.command("mnuPopUp_Zoom_Html")->isEnabled());
  }

  void commandStateSwitchesTheCommands() {
    WindowUnderTest frame;
    const QStringList onWithProject{"mnuBearbeiten_Definition",
                                    "mnuBearbeiten_Rout",
                                    "mnuRtf",
                                    "mnuText",
                                    "mnuSpeichern",
                                    "mnuHtml_Auswahl",
                                    "mnuHtml_Modul",
                                    "mnuHtml_projekt",
                                    "mnuNeu",
                                    "mnuAnsicht_Zoom",
                                    "mnuBearbeiten_Kopieren_Auswahl",
                                    "mnuBearbeiten_Kopieren_Modul"};
    const QStringList buttonsWithProject{"save", "ht_aus", "ht_mod", "ht_pro", "neu", "zoom"};
    const QStringList onWithoutProject{"mnuBearbeiten_Code", "mnuAnsicht_App_Aktualisieren"};
    const QStringList buttonsWithoutProject{"doit", "refresh"};
    const auto expectState = [&](bool projectLoaded) {
      for (const QString& name : onWithProject) {
        QVERIFY2(frame.window->commands().action(name)->isEnabled() == projectLoaded, qPrintable(name));
      }
      for (const QString& key : buttonsWithProject) {
        QVERIFY2(frame.window->commands().toolbarButton(key)->isEnabled() == projectLoaded, qPrintable(key));
      }
      for (const QString& name : onWithoutProject) {
        QVERIFY2(frame.window->commands().action(name)->isEnabled() != projectLoaded, qPrintable(name));
      }
      for (const QString& key : buttonsWithoutProject) {
        QVERIFY2(frame.window->commands().toolbarButton(key)->isEnabled() != projectLoaded, qPrintable(key));
      }
      QCOMPARE(frame.window->codeLoaded(), projectLoaded);
    };
    StatusBar& panels = frame.window->statusPanels();

    frame.window->setCommandState(2);
    expectState(true);
    // Commands outside the state's reach keep what they had.
    QVERIFY(!frame.command("mnuHtml_Clipboard")->isEnabled());
    QVERIFY(!frame.command("mnuAnsicht_RouClose")->isEnabled());
    QVERIFY(frame.command("mnuHilfe_Hilfe")->isEnabled());

    frame.window->setCommandState(0);
    expectState(false);
    QCOMPARE(panels.text(1), QString("Modul"));
    QCOMPARE(panels.text(2), QString("Routine"));
    QCOMPARE(panels.text(5), QString("Aktion"));

    panels.setText(1, "Modul1");
    panels.setText(5, "Lese Projekt");
    frame.window->setCommandState(1);
    expectState(true);
    QCOMPARE(panels.text(1), QString("Modul1"));
    QCOMPARE(panels.text(5), QString("Lese Projekt"));

    for (int outside : {3, -1}) {
      frame.window->setCommandState(outside);
      expectState(true);
      QCOMPARE(panels.text(1), QString("Modul1"));
    }
  }

  void statusPanelsShowTheirDesignAndReportClicks() {
    WindowUnderTest frame;
    StatusBar& panels = frame.window->statusPanels();
    QCOMPARE(panels.objectName(), QString("staBar"));
    const QStringList texts{"Modul:", "Routine:", "<<", ">>", "Aktueller Vorgang"};
    for (int panel = 1; panel <= 5; ++panel) {
      QCOMPARE(panels.text(panel), texts[panel - 1]);
      QCOMPARE(panels.panel(panel)->objectName(), QString("staBar_%1").arg(panel));
    }
    QCOMPARE(panels.panel(3)->toolTip(), QString("Eine Routine Zurück (F4)"));
    QCOMPARE(panels.panel(4)->toolTip(), QString("Eine Routine Weiter (Strg+F4)"));
    QVERIFY(panels.panel(0) == nullptr && panels.panel(6) == nullptr);
    QCOMPARE(panels.text(6), QString());

    panels.setEngineText(2, std::string("\xC4nderung_\x9F"));
    QCOMPARE(panels.text(2), QString::fromUtf8("Änderung_Ÿ"));

    frame.window->resize(1200, 700);
    frame.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.window.get()));
    const double moduleWidth = panels.panel(1)->width();
    QVERIFY(std::abs(panels.panel(2)->width() / moduleWidth - 6174.0 / 5292.0) < 0.05);
    QVERIFY(std::abs(panels.panel(5)->width() - moduleWidth) <= 2);
    QVERIFY(std::abs(panels.panel(3)->width() / moduleWidth - 529.0 / 5292.0) < 0.05);

    QSignalSpy clicks(&panels, &StatusBar::panelClicked);
    QSignalSpy doubleClicks(&panels, &StatusBar::panelDoubleClicked);
    // The history starts empty, so both step panels and their menu items are off.
    QVERIFY(!panels.isPanelEnabled(3) && !frame.command("mnuBearbeiten_RouBew_3")->isEnabled());
    QVERIFY(!panels.isPanelEnabled(4) && !frame.command("mnuBearbeiten_RouBew_4")->isEnabled());
    QTest::mouseClick(panels.panel(3), Qt::LeftButton);
    QCOMPARE(clicks.count(), 0);
    frame.window->setHistoryBackEnabled(true);
    QVERIFY(panels.isPanelEnabled(3) && frame.command("mnuBearbeiten_RouBew_3")->isEnabled());
    QVERIFY(!panels.isPanelEnabled(4) && !frame.command("mnuBearbeiten_RouBew_4")->isEnabled());
    QTest::mouseClick(panels.panel(3), Qt::LeftButton);
    QTest::mouseClick(panels.panel(1), Qt::LeftButton);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(clicks.at(0).at(0).toInt(), 3);
    QCOMPARE(clicks.at(1).at(0).toInt(), 1);
    QCOMPARE(doubleClicks.count(), 0);
    QTest::mouseDClick(panels.panel(2), Qt::LeftButton);
    QCOMPARE(doubleClicks.count(), 1);
    QCOMPARE(doubleClicks.at(0).at(0).toInt(), 2);
    frame.window->setHistoryForwardEnabled(true);
    frame.window->setHistoryBackEnabled(false);
    QVERIFY(panels.isPanelEnabled(4) && frame.command("mnuBearbeiten_RouBew_4")->isEnabled());
    QVERIFY(!panels.isPanelEnabled(3) && !frame.command("mnuBearbeiten_RouBew_3")->isEnabled());
  }

  void leftPaneShowsOneViewInOnePlace() {
    WindowUnderTest frame;
    frame.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.window.get()));
    WindowPanes& panes = frame.window->panes();
    QCOMPARE(panes.hostTree()->objectName(), QString("treApp"));
    QCOMPARE(panes.projectTree()->objectName(), QString("treProjekt"));
    QCOMPARE(panes.callListTree()->objectName(), QString("treRoutSuche"));
    QCOMPARE(panes.hostStatusText()->objectName(), QString("txtAppAktiv"));
    QVERIFY(panes.hostStatusText()->isReadOnly());
    QCOMPARE(panes.codePane()->objectName(), QString("rechterBereich"));
    QCOMPARE(panes.leftPane(), LeftPane::HostTree);  // the host view shows first

    const QList<LeftPane> all{LeftPane::HostTree, LeftPane::ProjectTree, LeftPane::CallList,
                              LeftPane::HostStatus};
    QRect place;
    for (LeftPane shown : all) {
      panes.showLeftPane(shown);
      QCoreApplication::processEvents();
      QCOMPARE(panes.leftPane(), shown);
      for (LeftPane other : all) QCOMPARE(panes.leftPaneWidget(other)->isVisible(), other == shown);
      const QRect rect = panes.leftPaneWidget(shown)->geometry();
      if (place.isNull()) place = rect;
      QCOMPARE(rect, place);
    }
    QVERIFY(place.width() > 0 && place.height() > 0);
  }

  void splitterStopsAtItsLimits() {
    WindowUnderTest frame;
    frame.window->resize(900, 600);
    frame.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.window.get()));
    WindowPanes& panes = frame.window->panes();
    QSplitterHandle* bar = panes.splitterBar();
    QCOMPARE(bar->objectName(), QString("fraTeiler"));
    QCOMPARE(panes.sizes().front(), twipsToPixels(3000));

    // While dragging only the bar moves; the panes follow on release.
    sendMouse(bar, QEvent::MouseButtonPress, QPoint(1, 5), Qt::LeftButton, Qt::LeftButton);
    sendMouse(bar, QEvent::MouseMove, QPoint(-100, 5), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(panes.sizes().front(), twipsToPixels(3000));
    sendMouse(bar, QEvent::MouseButtonRelease, QPoint(-100, 5), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(panes.sizes().front(), twipsToPixels(3000) - 101);

    dragSplitterTo(bar, -5000);
    QCOMPARE(panes.sizes().front(), twipsToPixelsAtLeast(200));
    QVERIFY(pixelsToTwips(panes.sizes().front()) >= 200);

    dragSplitterTo(bar, 5000);
    QCOMPARE(panes.sizes().back(), twipsToPixelsAtLeast(100));
    QCOMPARE(panes.sizes().front() + panes.handleWidth() + panes.sizes().back(), panes.width());

    dragSplitterTo(bar, -(bar->x() - 300));
    QVERIFY(std::abs(panes.sizes().front() - 300) <= 1);
  }

  void screenPresetIsStoredAndApplied() {
    WindowUnderTest frame;
    MainWindow& window = *frame.window;
    window.move(60, 45);
    window.resize(800, 600);

    frame.dialogs.replies.push_back({Answer::No, {}, {}});
    frame.command("mnuExtras_Screen_define")->trigger();
    QCOMPARE(frame.dialogs.requests.size(), std::size_t{1});
    QCOMPARE(frame.dialogs.requests[0].kind, DialogKind::Question);
    QCOMPARE(frame.dialogs.requests[0].buttons, QuestionButtons::YesNo);
    QCOMPARE(frame.dialogs.requests[0].text, QString("Aktuelle Anzeigegrösse als Standard festlegen ?"));
    QCOMPARE(frame.state.display.screenPreset, std::string("max"));
    QCOMPARE(frame.settings.get("optionen", "bis"), std::string());

    frame.dialogs.replies.push_back({Answer::Yes, {}, {}});
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

    // A damaged preset applies its parts up to the first that is no number.
    frame.state.display.screenPreset = "300;abc;12000;9000";
    window.applyScreenPreset();
    QVERIFY(!window.isMaximized());
    QCOMPARE(window.pos(), QPoint(20, 50));
    QCOMPARE(window.size(), QSize(600, 400));
    frame.state.display.screenPreset = "";
    window.applyScreenPreset();
    QCOMPARE(window.pos(), QPoint(20, 50));
  }

  void helpOpensTheManualOrSaysWhereItBelongs() {
    WindowUnderTest frame;
    frame.command("mnuHilfe_Hilfe")->trigger();
    QCOMPARE(frame.dialogs.requests.size(), std::size_t{1});
    const DialogRequest& message = frame.dialogs.requests[0];
    QCOMPARE(message.kind, DialogKind::Plain);
    QCOMPARE(message.title, QString("Access Code Quorix 1.0"));
    const QString folder = QString::fromStdString(frame.state.programFolder.string());
    QVERIFY(folder.endsWith('/'));
    QCOMPARE(message.text, QString("Die Hilfsdatei:\r\nCodeQuorix.html\r\nkonnte nicht gefunden werden. \r\n"
                                   "Diese muss im selben Verzeichnis wieAQX_ZT.exe installiert werden.\r\n"
                                   "Bitte kopieren Sie also AQX.chm nach:\r\n") +
                               folder);
    QVERIFY(frame.openedUrls.empty());

    frame.folder.writeFile("installed/CodeQuorix.html", "<html></html>");
    frame.window->showHelp();
    QCOMPARE(frame.openedUrls.size(), std::size_t{1});
    const auto beside = frame.folder.writeFile("program/CodeQuorix.html", "<html></html>");
    frame.window->showHelp();
    QCOMPARE(frame.openedUrls.size(), std::size_t{2});
    QCOMPARE(frame.openedUrls[1], QUrl::fromLocalFile(QString::fromStdString(beside.string())));
    QCOMPARE(frame.dialogs.requests.size(), std::size_t{1});
  }

  void commandLineSwitchAndDocuments() {
    QVERIFY(parseStartArguments({"/A"}).compactWindow);
    QVERIFY(parseStartArguments({"/A"}).documents.isEmpty());
    const StartArguments mixed = parseStartArguments({"/a", "Mappe.xlsm"});
    QVERIFY(!mixed.compactWindow);
    QCOMPARE(mixed.documents, QStringList{"Mappe.xlsm"});
    QCOMPARE(parseStartArguments({"a.docm", "/b"}).documents, (QStringList{"a.docm", "/b"}));
    QVERIFY(!parseStartArguments({}).compactWindow);

    WindowUnderTest frame;
    frame.window->setStartDocuments(mixed.documents);
    QCOMPARE(frame.window->startDocuments(), QStringList{"Mappe.xlsm"});
  }
};

}  // namespace cq

QTEST_MAIN(cq::MainWindowTest)
#include "main_window_test.moc"
