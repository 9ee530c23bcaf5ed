// "&Unbenutzte Routinen ..." in the real main window on the navigation project:
// the groups of the window `frmUnbenutzt`, the jump into the code and the copy.
#include "ui/unused/unused_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include "support/navigation_project.h"
#include "support/sample_project.h"
#include "ui/navigation_window.h"
#include "ui/trees/tree_icons.h"

namespace cq {

namespace {

using test::NavigationWindow;

// Each group's caption, then its rows as module, routine and line.
QStringList rows(const QTreeWidget* list) {
  QStringList lines;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* group = list->topLevelItem(i);
    lines << group->text(0);
    for (int j = 0; j < group->childCount(); ++j) {
      const QTreeWidgetItem* row = group->child(j);
      lines << row->text(0) + u' ' + row->text(1) + u' ' + row->text(2);
    }
  }
  return lines;
}

QImage picture(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }

}  // namespace

class UnusedWindowTest : public QObject {
  Q_OBJECT

  test::TempFolder work_;
  std::filesystem::path project() const { return work_.path() / "projekt"; }

 private slots:
  void initTestCase() {
    test::writeNavigationModules(work_.path() / "quellen");
    QVERIFY(test::readModuleFolder(work_.path() / "quellen", project()));
  }

  void reportListsJumpsAndCopies() {
    NavigationWindow t(project());
    QAction* command = t.command("mnuTest");
    QVERIFY(command->isVisible() && command->isEnabled());
    QCOMPARE(command->text(), QString("&Unbenutzte Routinen ..."));
    QVERIFY(t.window->findChild<QMenu*>("mnuExtras")->actions().contains(command));
    command->trigger();
    auto* report = t.window->findChild<QWidget*>("frmUnbenutzt");
    QVERIFY(report && report->isVisible() && report->isWindow() && !report->isModal());
    auto* list = report->findChild<QTreeWidget*>("treUnbenutzt");
    // Inside the main window's screen, every column whole.
    QVERIFY(t.window->screen()->availableGeometry().contains(report->frameGeometry()));
    QVERIFY(list->header()->length() <= list->viewport()->width() && !list->horizontalScrollBar()->isVisible());
    QCOMPARE(report->findChild<QLabel*>("lblUnbenutzt")->text(),
             QString("5 unbenutzt, 7 vom Host aufgerufen, 3 nur in Zeichenketten genannt"));
    QCOMPARE(rows(list),
             (QStringList{"Unbenutzt", "Kunden Liste_Fuellen 11", "Haupt Start 5", "Haupt Übrig 29",
                          "Klasse Ungenutzt 18", "ThisWorkbook Workbook_Wunder 8", "Vom Host aufgerufen",
                          "Andere Auto_Open 16", "Kunden Form_Load 3", "Kunden cmdOK_Click 7",
                          "Klasse Class_Initialize 5", "Klasse mKnopf_Click 12", "Klasse IAusgabe_Zeige 15",
                          "ThisWorkbook Workbook_Open 3", "Nur in Zeichenketten genannt", "Andere Knopfdruck 19",
                          "Haupt Größe 26", "Klasse Rechner 24"}));
    // Host rows give their reason and who calls them; routines show the project tree's picture.
    const QTreeWidgetItem* hostGroup = list->topLevelItem(1);
    QCOMPARE(list->headerItem()->text(4), QString("Aufgerufen von"));
    for (int j = 0; j < hostGroup->childCount(); ++j)
      QVERIFY(!hostGroup->child(j)->text(3).isEmpty() && !hostGroup->child(j)->text(4).isEmpty());
    QCOMPARE(hostGroup->child(4)->text(4), QString("Ereignis von mKnopf"));
    QVERIFY(list->topLevelItem(0)->child(0)->text(3).isEmpty() && list->topLevelItem(0)->child(0)->text(4).isEmpty());
    QCOMPARE(picture(list->topLevelItem(0)->child(0)->icon(1)), picture(treeIcon("R1O2")));
    QCOMPARE(picture(list->topLevelItem(2)->child(2)->icon(1)), picture(treeIcon("R2O3")));

    // Enter on a routine jumps there as a tree click does; on a group caption it does nothing.
    const int visits = t.browser->history().top();
    list->setCurrentItem(list->topLevelItem(0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(t.browser->history().top(), visits);
    list->setCurrentItem(list->topLevelItem(0)->child(3));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(t.moduleIndex(), 3);
    QCOMPARE(t.caretLine(), 18LL);
    QCOMPARE((QStringList{t.panel(StatusBar::kModulePanel), t.panel(StatusBar::kRoutinePanel)}),
             (QStringList{"Klasse", "Ungenutzt"}));
    QCOMPARE(t.browser->history().top(), visits + 1);
    // The window stays open beside the main window.
    QTreeWidgetItem* wunder = list->topLevelItem(0)->child(4);
    list->scrollToItem(wunder);
    // A double click as the mouse gives it: a click first, then the second press as a double click.
    const QPoint centre = list->visualItemRect(wunder).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(t.browser->history().top(), visits + 1);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(t.moduleIndex(), 4);
    QCOMPARE(t.caretLine(), 8LL);
    QCOMPARE(t.panel(StatusBar::kRoutinePanel), QString("Workbook_Wunder"));
    QCOMPARE(t.browser->history().top(), visits + 2);
    QVERIFY(report->isVisible());

    // The copy: per group its caption and tab-separated rows, the host rows with their reason.
    QTest::mouseClick(report->findChild<QPushButton*>("cmdKopieren"), Qt::LeftButton);
    const QString copied = QGuiApplication::clipboard()->text();
    QVERIFY2(copied.startsWith("Unbenutzt\nKunden\tListe_Fuellen\t11\nHaupt\tStart\t5\n"), qPrintable(copied));
    QVERIFY(copied.contains("\n\nVom Host aufgerufen\nAndere\tAuto_Open\t16\t" + hostGroup->child(0)->text(3) +
                            "\tOffice-Anwendung\nKunden\tForm_Load\t3\t"));
    QVERIFY(
        copied.endsWith("\n\nNur in Zeichenketten genannt\nAndere\tKnopfdruck\t19\nHaupt\tGröße\t26\n"
                        "Klasse\tRechner\t24\n"));
    QCOMPARE(report->findChild<QLabel*>("lblUnbenutzt")->text(), QString("Die Liste steht in der Zwischenablage."));

    // The list belongs to its project: a reset of the code view takes it away.
    t.browser->reset();
    QVERIFY(!report->isVisible() && list->topLevelItemCount() == 0);
    QVERIFY(t.dialogs.requests.empty());
  }
};

}  // namespace cq

QTEST_MAIN(cq::UnusedWindowTest)
#include "unused_window_test.moc"
