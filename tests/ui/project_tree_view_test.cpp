// The project tree: modules and routines from a read project, the highlight of
// the current module, and the keyboard rules (keys move, Enter or a click loads).
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include "support/sample_project.h"
#include "support/temp_folder.h"
#include "ui/trees/project_tree_view.h"

namespace cq {

class ProjectTreeViewTest : public QObject {
  Q_OBJECT

  test::TempFolder folder_;

  static QString keyOf(QTreeWidgetItem* item) { return item->data(0, Qt::UserRole).toString(); }

 private slots:
  void initTestCase() { QVERIFY(test::readSampleProject(folder_.path())); }

  void fillsModulesByTypeAndRoutinesByName() {
    QTreeWidget tree;
    ProjectTreeView view(&tree);
    auto database = CodeDatabase::open(folder_.path());
    QCOMPARE(view.fill(*database, false), 4);
    QStringList modules;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) modules << tree.topLevelItem(i)->text(0);
    // By type: form (1), standard module (2), class (3), document module (5).
    QCOMPARE(modules, QStringList({"frmBestellung", "modLager", "clsArtikel", "ThisWorkbook"}));
    QTreeWidgetItem* lager = tree.topLevelItem(1);
    QCOMPARE(keyOf(lager), QString("M3"));
    QStringList routines;
    for (int i = 0; i < lager->childCount(); ++i) routines << lager->child(i)->text(0);
    QStringList sorted = routines;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
      return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    QCOMPARE(routines, sorted);
    QVERIFY(keyOf(lager->child(0)).startsWith('R'));
    QVERIFY(!lager->child(0)->icon(0).isNull());
    QVERIFY(!tree.topLevelItem(0)->isExpanded());
    view.fill(*database, true);
    QVERIFY(tree.topLevelItem(0)->isExpanded());

    view.highlightModule(2);  // module M3
    QCOMPARE(view.nodeByKey("M3")->foreground(0).color(), QColor(Qt::yellow));
    view.highlightModule(0);
    QCOMPARE(view.nodeByKey("M3")->background(0).color(), QColor(Qt::white));
    QCOMPARE(view.nodeByKey("M1")->background(0).color(), QColor(Qt::black));
  }

  void keysMoveTheSelectionAndOnlyEnterOrAClickLoads() {
    QTreeWidget tree;
    ProjectTreeView view(&tree);
    auto database = CodeDatabase::open(folder_.path());
    view.fill(*database, true);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    QSignalSpy activated(&view, &ProjectTreeView::activated);
    tree.setCurrentItem(tree.topLevelItem(0));

    QTest::keyClick(&tree, Qt::Key_Down);
    QCOMPARE(activated.count(), 0);
    QTreeWidgetItem* selected = tree.currentItem();
    QTest::keyClick(&tree, Qt::Key_M);  // typing searches nothing
    QCOMPARE(tree.currentItem(), selected);

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

QTEST_MAIN(cq::ProjectTreeViewTest)
#include "project_tree_view_test.moc"
