// The about box: caption, title and version lines, the home page button with
// its hover colour and its failure, and the copyable system information.
#include "ui/about/about_box.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QtTest>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "render/html.h"
#include "support/temp_folder.h"
#include "ui/about/program_version.h"
#include "ui/about/system_information.h"
#include "ui/main_window.h"
#include "ui/scripted_dialogs.h"

namespace cq {

namespace {

// The share of the button's pixels that are yellow.
double yellowShare(QWidget* button) {
  const QImage image = button->grab().toImage();
  int yellow = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) yellow += image.pixelColor(x, y) == QColor(255, 255, 0);
  return static_cast<double>(yellow) / (image.width() * image.height());
}

}  // namespace

class AboutBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTitleVersionHomePageAndSystemInformation() {
    test::TempFolder folder;
    SettingsStore settings(folder.path() / "settings.ini");
    AppState state;
    state.edition = builtInEdition();
    state.programTitle = programTitle(state.edition);
    MainWindow window(state, settings);
    ScriptedDialogs dialogs;
    window.messages().setReplier(dialogs.replier());
    std::vector<QUrl> opened;
    window.setUrlOpener([&opened](const QUrl& url) { opened.push_back(url); return true; });

    AboutBox box(state, window);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.windowTitle(), QString("Info zu Access Code Quorix 1.0"));
    QCOMPARE(box.findChild<QLabel*>("lblVersion")->text(), QString("Version ") + kProgramVersion);
    // The build's version: the title's major and minor version and a revision.
    QVERIFY(QRegularExpression("^1\\.0\\.\\d+$").match(QString(kProgramVersion)).hasMatch());
    QVERIFY(box.findChild<QLabel*>("lblTitle")->text().startsWith("Access Code Quorix 1.0\n"));
    QVERIFY(!box.findChild<QLabel*>("picIcon")->pixmap().isNull());

    auto* homePage = box.findChild<QPushButton*>("cmdHP");
    QTest::mouseClick(homePage, Qt::LeftButton);
    QCOMPARE(opened.size(), std::size_t{1});
    QCOMPARE(opened[0], QUrl(QString::fromUtf8(kProgramWebAddress.data(), kProgramWebAddress.size())));
    QVERIFY(dialogs.requests.empty());
    window.setUrlOpener([](const QUrl&) { return false; });
    QTest::mouseClick(homePage, Qt::LeftButton);
    QCOMPARE(dialogs.requests.size(), std::size_t{1});
    QCOMPARE(dialogs.requests[0].kind, DialogKind::Critical);
    QCOMPARE(dialogs.requests[0].text, QString("Keinen Standard-Browser gefunden"));

    // Yellow while the mouse is over the button, its own colour once it has left.
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), homePage->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(homePage, &enter);
    QVERIFY(yellowShare(homePage) > 0.5);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(homePage, &leave);
    QCOMPARE(yellowShare(homePage), 0.0);

    QTest::mouseClick(box.findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
    auto* information = box.findChild<SystemInfoDialog*>("frmSystemInfo");
    QVERIFY(information != nullptr && information->isVisible());
    const QString text = information->findChild<QPlainTextEdit*>("txtSystemInfo")->toPlainText();
    for (const QString& line : {QString("Version: ") + kProgramVersion, QString("Qt: ") + qVersion(),
                                QString("SQLite: 3."), QString("libgsf: 1."), QString("mdbtools: "),
                                QString("zlib: 1."), QString("Betriebssystem: "), QString("Anzeige: offscreen")})
      QVERIFY2(text.contains(line), qPrintable(line + " missing in\n" + text));
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(information->findChild<QPushButton*>("cmdKopieren"), Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), text);
  }
};

}  // namespace cq

QTEST_MAIN(cq::AboutBoxTest)
#include "about_box_test.moc"
