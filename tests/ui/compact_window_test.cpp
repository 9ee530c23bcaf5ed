// The compact clipboard window: the start with "/a", F9, the HTML button, both
// ways of closing it; and the dialogs the commands "&Optionen" and "&Info" open.
#include "ui/compact/compact_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "support/temp_folder.h"
#include "ui/commands/command_table.h"
#include "ui/main_window.h"
#include "ui/scripted_dialogs.h"
#include "ui/session/session.h"
#include "ui/status_bar.h"
#include "ui/test_app_state.h"

namespace cq {

namespace fs = std::filesystem;

namespace {

// Counts the close events the main window receives: the program ends with the first.
struct CloseCounter : QObject {
  int closes = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Close) ++closes;
    return false;
  }
};

struct SessionUnderTest {
  test::TempFolder folder;
  SettingsStore settings{folder.path() / "settings.ini"};
  AppState state;
  ScriptedDialogs dialogs;
  CloseCounter counter;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<Session> session;

  SessionUnderTest() {
    state = test::testAppState(folder.path());
    window = std::make_unique<MainWindow>(state, settings);
    window->messages().setReplier(dialogs.replier());
    window->installEventFilter(&counter);
    session = std::make_unique<Session>(*window, state, settings);
  }
  CompactWindow* compact() const { return session->compactView().window(); }
  QPushButton* button(const char* name) const {
    return compact()->findChild<QPushButton*>(QString::fromUtf8(name));
  }
  // Triggers a command that opens a modal dialog and returns the dialog's name, closing it.
  QString modalOpenedBy(const char* command) const {
    QString opened;
    QTimer::singleShot(0, [&opened] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr) return;
      opened = modal->objectName();
      modal->close();
    });
    window->commands().action(QString::fromUtf8(command))->trigger();
    return opened;
  }
};

}  // namespace

class CompactWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startsWithSlashAOnTopAndConvertsTheClipboard() {
    SessionUnderTest t;
    t.session->start({}, true);
    QVERIFY(t.compact() != nullptr);
    QVERIFY(t.compact()->isVisible() && !t.window->isVisible());
    QVERIFY(t.compact()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(t.compact()->objectName(), QString("frmMin"));
    QCOMPARE(t.compact()->windowTitle(), QString("Access Code Quorix 1.0"));

    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    t.window->statusPanels().setText(StatusBar::kProgressPanel, "Lese Projekt");
    QTest::mouseClick(t.button("cmdHtml"), Qt::LeftButton);
    QCOMPARE(t.dialogs.requests.size(), std::size_t{1});
    QCOMPARE(t.dialogs.requests[0].kind, DialogKind::Information);
    QCOMPARE(t.dialogs.requests[0].text, QString("Kein Text in der Zwischenablage"));
    QCOMPARE(t.window->statusPanels().text(StatusBar::kProgressPanel), QString());

    clipboard->setText("Sub Gr\u00FC\u00DFe() ' <Test>\r\nEnd Sub");
    QTest::mouseClick(t.button("cmdHtml"), Qt::LeftButton);
    const QString fragment = clipboard->text();
    QVERIFY2(fragment.startsWith("<pre><span style=\"font-family:"), qPrintable(fragment));
    QVERIFY(fragment.contains("<span style=\"color:#000080\"; >Sub</span>"));
    QVERIFY(fragment.contains("Gr&uuml;&szlig;e"));
    QVERIFY(fragment.contains("&lt;Test&gt;"));
    QVERIFY(clipboard->mimeData()->hasHtml());
    QCOMPARE(clipboard->mimeData()->html(), fragment);
    // A second press converts the HTML text as code again.
    QTest::mouseClick(t.button("cmdHtml"), Qt::LeftButton);
    QVERIFY(clipboard->text().contains("&lt;pre&gt;"));
    // Each conversion asks for the credit line, as the HTML menu's does ("meld" is on),
    // in a dialog of the compact window, which would cover one of the hidden main window.
    QCOMPARE(t.dialogs.requests.size(), std::size_t{3});
    QCOMPARE(t.dialogs.requests[1].kind, DialogKind::Question);
    QCOMPARE(t.dialogs.requests[2].kind, DialogKind::Question);
    std::vector<QWidget*> owners;
    auto scripted = t.dialogs.replier();
    t.window->messages().setReplier([&](const DialogRequest& request) {
      owners.push_back(t.window->messages().owner());
      return scripted(request);
    });
    QTest::mouseClick(t.button("cmdHtml"), Qt::LeftButton);
    QCOMPARE(owners, std::vector<QWidget*>{t.compact()});
    QCOMPARE(t.window->messages().owner(), static_cast<QWidget*>(t.window.get()));
  }

  void itsButtonBringsTheMainWindowBackItsFrameEndsTheProgram() {
    SessionUnderTest t;
    t.session->start({});
    QVERIFY(t.window->isVisible());
    t.window->move(37, 41);
    const QRect placed = t.window->geometry();
    QVERIFY(t.window->commands().action("mnuAnsicht_Spezial")->isEnabled());
    QCOMPARE(t.window->commands().action("mnuAnsicht_Spezial")->shortcut(), QKeySequence("F9"));
    t.window->commands().action("mnuAnsicht_Spezial")->trigger();
    QVERIFY(t.compact()->isVisible() && !t.window->isVisible());

    QTest::mouseClick(t.button("cmdClose"), Qt::LeftButton);
    QVERIFY(!t.compact()->isVisible() && t.window->isVisible());
    QCOMPARE(t.window->geometry(), placed);  // back where it stood
    QCOMPARE(t.counter.closes, 0);
    QVERIFY(fs::is_directory(t.session->instanceFolder()));

    t.window->commands().action("mnuAnsicht_Spezial")->trigger();
    QVERIFY(t.compact()->isVisible() && !t.window->isVisible());
    t.compact()->close();  // as the frame's close button does
    QCOMPARE(t.counter.closes, 1);
    QVERIFY(!t.compact()->isVisible() && !t.window->isVisible());
    // The session ended with the main window: its instance folder is gone.
    QVERIFY(!fs::exists(t.session->instanceFolder()));
  }

  void optionsAndInfoOpenTheirDialogs() {
    SessionUnderTest t;
    t.session->start({});
    QCOMPARE(t.modalOpenedBy("mnuExtras_Optionen"), QString("frmOptionen"));
    QCOMPARE(t.modalOpenedBy("mnuHilfe_Info"), QString("frmAbout"));
    QVERIFY(t.settings.getAll("optionen").empty());
  }
};

}  // namespace cq

QTEST_MAIN(cq::CompactWindowTest)
#include "compact_window_test.moc"
