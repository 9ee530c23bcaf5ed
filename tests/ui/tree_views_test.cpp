// The two trees of the left pane. Host tree: documents opened, nodes with keys and pictures,
// ticking limited to one project, the host status texts. Project tree: modules and routines
// of a read project, the current module's highlight, keys move but only Enter or a click loads.
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>
#include <sqlite3.h>

#include "sources/source_file.h"
#include "support/corpus.h"
#include "support/office_samples.h"
#include "support/sample_project.h"
#include "support/temp_folder.h"
#include "sources/module_file_encoding.h"
#include "ui/trees/host_view.h"
#include "ui/trees/project_tree_view.h"

namespace cq {

class TreeViewsTest : public QObject {
  Q_OBJECT

  static QString keyOf(QTreeWidgetItem* item) { return item->data(0, Qt::UserRole).toString(); }
  static QStringList texts(QTreeWidgetItem* parent) {
    QStringList all;
    for (int i = 0; i < parent->childCount(); ++i) all << parent->child(i)->text(0);
    return all;
  }

 private slots:
  void listsDocumentsKeepsTicksToOneProjectAndShowsStatusTexts() {
    test::TempFolder temp;
    QTreeWidget tree;
    QPlainTextEdit status;
    {  // nothing open, then an open folder without code
      HostView view(&tree, &status, "Access", "Neu laden");
      QVERIFY(!view.refresh(kDetectCodePage)->attached);  // nothing open
      QVERIFY(!status.isHidden());
      QVERIFY(status.toPlainText().startsWith("Im Moment ist kein Dokument ge\u00F6ffnet. Es k\u00F6nnen daher "
                                              "keine Projekte angezeigt werden. "));
      QVERIFY(status.toPlainText().contains("klicken Sie danach auf Neu laden."));
      temp.writeFile("leer/Kurz.bas", "Attribute VB_Name = \"Kurz\"\r\nOption Explicit\r\n");
      view.openDocuments({QString::fromStdString((temp.path() / "leer").string())});
      QVERIFY(view.refresh(kDetectCodePage)->attached);  // open, but without code: listed, saying so
      QCOMPARE(tree.topLevelItemCount(), 1);
      QCOMPARE(tree.topLevelItem(0)->text(0), QString("leer: enth\u00E4lt kein Modul mit Code"));
      QVERIFY(status.isHidden());
    }

    temp.writeFile("Module/Eins.bas", "Attribute VB_Name = \"Eins\"\r\nSub A()\r\n  x = 1\r\nEnd Sub\r\n");
    const auto samples = test::officeSamples();
    const auto xlsm = std::find_if(samples.begin(), samples.end(),
                                   [](const auto& s) { return s.fileName.ends_with(".xlsm"); });
    QVERIFY(xlsm != samples.end());
    const auto workbook = temp.writeFile(xlsm->fileName, xlsm->bytes);
    HostView view(&tree, &status, "Access", "Neu laden");
    view.openDocuments({QString::fromStdString((temp.path() / "Module").string()),
                        QString::fromStdString(workbook.string())});
    QVERIFY(view.refresh(kDetectCodePage)->attached && status.isHidden());
    QCOMPARE(tree.topLevelItemCount(), 2);
    QTreeWidgetItem* folder = tree.topLevelItem(0);
    QTreeWidgetItem* document = tree.topLevelItem(1);
    QCOMPARE((QStringList{keyOf(folder), keyOf(folder->child(0)), keyOf(document)}),
             (QStringList{"A1\\", "A1\\Eins", "A2\\"}));
    QVERIFY(document->childCount() > 0 && document->isExpanded() && !folder->icon(0).isNull());

    QSignalSpy ticked(&view, &HostView::tickedChanged);
    document->setCheckState(0, Qt::Checked);  // a project passes its tick on to its modules
    QVERIFY(ticked.count() == 1 && ticked.last().at(0).toBool());
    for (int i = 0; i < document->childCount(); ++i) QCOMPARE(document->child(i)->checkState(0), Qt::Checked);
    folder->child(0)->setCheckState(0, Qt::Checked);  // ticking in the other project unticks the first
    QVERIFY(document->checkState(0) == Qt::Unchecked && document->child(0)->checkState(0) == Qt::Unchecked);
    QVERIFY(view.anyTicked());
    folder->child(0)->setCheckState(0, Qt::Unchecked);
    QCOMPARE(ticked.last().at(0).toBool(), false);
  }

  void damagedDocumentsAreListedWithTheirReasonAndAWarning() {
    test::TempFolder temp;
    temp.writeFile("Module/Eins.bas", "Attribute VB_Name = \"Eins\"\r\nSub A()\r\n  x = 1\r\nEnd Sub\r\n");
    QStringList documents{QString::fromStdString((temp.path() / "Module").string()),
                          QString::fromStdString(temp.writeFile("Notizen.accdb", "keine Datenbank").string())};
    // A real database cut after its first 100 kB, where the corpus has one.
    const std::filesystem::path database =
        test::corpusRoot().empty() ? std::filesystem::path()
                                   : test::corpusRoot() / "AccessCodeLib__AccUnit/access-add-in/AccUnitLoader.accda";
    const bool withDatabase = !database.empty() && std::filesystem::is_regular_file(database);
    if (withDatabase) {
      std::string bytes = readSourceFile(database);
      bytes.resize(100 * 1024);
      documents << QString::fromStdString(temp.writeFile("Abgeschnitten.accda", bytes).string());
    }
    QTreeWidget tree;
    QPlainTextEdit status;
    HostView view(&tree, &status, "Access", "Neu laden");
    view.openDocuments(documents);
    QVERIFY(view.refresh(kDetectCodePage)->attached);
    QCOMPARE(tree.topLevelItemCount(), documents.size());
    QTreeWidgetItem* folder = tree.topLevelItem(0);
    const QImage projectImage = folder->icon(0).pixmap(16, 16).toImage();
    for (int i = 1; i < tree.topLevelItemCount(); ++i) {
      QTreeWidgetItem* damaged = tree.topLevelItem(i);
      QVERIFY2(damaged->text(0).contains("besch\u00E4digt"), qPrintable(damaged->text(0)));
      QVERIFY(!(damaged->flags() & Qt::ItemIsUserCheckable));
      QVERIFY(!damaged->icon(0).isNull() && damaged->icon(0).pixmap(16, 16).toImage() != projectImage);
    }
    // Every node shows its full text as tooltip, for names the pane cuts.
    for (QTreeWidgetItem* item : {folder, folder->child(0), tree.topLevelItem(1)})
      QCOMPARE(item->toolTip(0), item->text(0));
    if (!withDatabase) QSKIP("corpus database not present: only the made-up damaged document was listed");
  }

  void fillsHighlightsAndLoadsOnlyOnEnterOrClick() {
    test::TempFolder folder;
    QVERIFY(test::readSampleProject(folder.path()));
    QTreeWidget tree;
    ProjectTreeView view(&tree);
    auto database = CodeDatabase::open(folder.path()).value();
    QCOMPARE(view.fill(*database, false).value(), 4);
    // Modules by type: form, standard module, class, document module; routines by name.
    QCOMPARE(texts(tree.invisibleRootItem()), QStringList({"frmBestellung", "modLager", "clsArtikel", "ThisWorkbook"}));
    QTreeWidgetItem* lager = tree.topLevelItem(1);
    QCOMPARE(keyOf(lager), QString("M3"));
    QStringList sorted = texts(lager);
    std::sort(sorted.begin(), sorted.end(), [](auto& a, auto& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QCOMPARE(texts(lager), sorted);
    QVERIFY(keyOf(lager->child(0)).startsWith('R') && !lager->child(0)->icon(0).isNull());
    QCOMPARE(lager->toolTip(0), lager->text(0));
    QCOMPARE(lager->child(0)->toolTip(0), lager->child(0)->text(0));
    QVERIFY(!tree.topLevelItem(0)->isExpanded());
    QVERIFY(view.fill(*database, true));
    QVERIFY(tree.topLevelItem(0)->isExpanded());

    // A query that fails leaves the tree as it was, and never frozen against redrawing.
    test::TempFolder damaged;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
      std::filesystem::copy_file(entry.path(), damaged.path() / entry.path().filename());
    {
      auto broken = CodeDatabase::open(damaged.path()).value();
      QCOMPARE(sqlite3_exec(broken->handle(), "DROP TABLE td_rout", nullptr, nullptr, nullptr), SQLITE_OK);
      QVERIFY(!view.fill(*broken, false));
    }
    QVERIFY(tree.updatesEnabled());
    QCOMPARE(texts(tree.invisibleRootItem()), QStringList({"frmBestellung", "modLager", "clsArtikel", "ThisWorkbook"}));
    QVERIFY(tree.topLevelItem(1)->childCount() > 0);

    view.highlightModule(2);  // module M3
    QCOMPARE(view.nodeByKey("M3")->foreground(0).color(), QColor(Qt::yellow));
    view.highlightModule(0);
    QCOMPARE(view.nodeByKey("M3")->background(0).color(), QColor(Qt::white));
    QCOMPARE(view.nodeByKey("M1")->background(0).color(), QColor(Qt::black));

    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    QSignalSpy activated(&view, &ProjectTreeView::activated);
    tree.setCurrentItem(tree.topLevelItem(0));
    QTest::keyClick(&tree, Qt::Key_Down);
    QTreeWidgetItem* selected = tree.currentItem();
    QVERIFY(selected != tree.topLevelItem(0));
    QTest::keyClick(&tree, Qt::Key_M);  // typing searches nothing
    QCOMPARE(tree.currentItem(), selected);
    QCOMPARE(activated.count(), 0);
    const QRect rect = tree.visualItemRect(selected);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(activated.count(), 0);  // the click after a key only clears the key state
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(activated.count(), 1);
    QTest::keyClick(&tree, Qt::Key_Return);
    QCOMPARE(activated.count(), 2);
    const auto node = activated.last().at(0).value<NodeActivation>();
    QCOMPARE(QString::fromStdString(node.key), keyOf(selected));
    QCOMPARE(QString::fromStdString(node.moduleKey), keyOf(selected->parent() ? selected->parent() : selected));
  }
};

}  // namespace cq

QTEST_MAIN(cq::TreeViewsTest)
#include "tree_views_test.moc"
