// The host tree in the window: documents opened, nodes with keys and pictures,
// ticking limited to one project, and the host status texts.
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include "support/office_samples.h"
#include "support/temp_folder.h"
#include "ui/trees/host_view.h"

namespace cq {

class HostViewTest : public QObject {
  Q_OBJECT

  static QString keyOf(QTreeWidgetItem* item) { return item->data(0, Qt::UserRole).toString(); }

 private slots:
  void listsOpenDocumentsAndKeepsTicksToOneProject() {
    test::TempFolder temp;
    temp.writeFile("Module/Eins.bas", "Attribute VB_Name = \"Eins\"\r\nSub A()\r\n  x = 1\r\nEnd Sub\r\n");
    const auto samples = test::officeSamples();
    const auto xlsm = std::find_if(samples.begin(), samples.end(),
                                   [](const auto& s) { return s.fileName.ends_with(".xlsm"); });
    QVERIFY(xlsm != samples.end());
    const auto workbook = temp.writeFile(xlsm->fileName, xlsm->bytes);

    QTreeWidget tree;
    QPlainTextEdit status;
    HostView view(&tree, &status, "Access");
    view.openDocuments({QString::fromStdString((temp.path() / "Module").string()),
                        QString::fromStdString(workbook.string())});
    QVERIFY(view.refresh().ok);
    QVERIFY(status.isHidden());
    QCOMPARE(tree.topLevelItemCount(), 2);
    QTreeWidgetItem* folder = tree.topLevelItem(0);
    QTreeWidgetItem* document = tree.topLevelItem(1);
    QCOMPARE(keyOf(folder), QString("A1\\"));
    QCOMPARE(keyOf(folder->child(0)), QString("A1\\Eins"));
    QCOMPARE(keyOf(document), QString("A2\\"));
    QVERIFY(document->childCount() > 0);
    QVERIFY(!folder->icon(0).isNull());
    QVERIFY(document->isExpanded());

    QSignalSpy ticked(&view, &HostView::tickedChanged);
    document->setCheckState(0, Qt::Checked);  // a project passes its tick on to its modules
    QCOMPARE(ticked.count(), 1);
    QCOMPARE(ticked.last().at(0).toBool(), true);
    for (int i = 0; i < document->childCount(); ++i) QCOMPARE(document->child(i)->checkState(0), Qt::Checked);
    folder->child(0)->setCheckState(0, Qt::Checked);  // ticking in the other project unticks the first
    QCOMPARE(document->checkState(0), Qt::Unchecked);
    QCOMPARE(document->child(0)->checkState(0), Qt::Unchecked);
    QVERIFY(view.anyTicked());
    folder->child(0)->setCheckState(0, Qt::Unchecked);
    QCOMPARE(ticked.last().at(0).toBool(), false);
  }

  void showsTheStatusTextWhenNothingCanBeRead() {
    QTreeWidget tree;
    QPlainTextEdit status;
    HostView view(&tree, &status, "Access");
    QVERIFY(!view.refresh().ok);
    QVERIFY(!status.isHidden());
    QVERIFY(status.toPlainText().startsWith(
        "Access ist im Moment nicht ge\u00F6ffnet. Es k\u00F6nnen daher keine Projekte aus Access angezeigt werden. "));
    QVERIFY(status.toPlainText().contains("Klicken Sie danach auf Aktualisieren Access Projekte."));

    test::TempFolder temp;
    temp.writeFile("leer/Kurz.bas", "Attribute VB_Name = \"Kurz\"\r\nOption Explicit\r\n");
    view.openDocuments({QString::fromStdString((temp.path() / "leer").string())});
    QVERIFY(view.refresh().ok);
    QCOMPARE(tree.topLevelItemCount(), 0);
    QVERIFY(status.toPlainText().startsWith("Access ist zwar im Moment ge\u00F6ffnet"));
  }
};

}  // namespace cq

QTEST_MAIN(cq::HostViewTest)
#include "host_view_test.moc"
