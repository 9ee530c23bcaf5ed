#include "ui/trees/structure_copy.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTreeWidget>

#include "ui/main_window.h"

namespace cq {

using namespace Qt::StringLiterals;

QString treeOutline(const QTreeWidget& tree) {
  QString outline;
  for (int i = 0; i < tree.topLevelItemCount(); ++i) {
    const QTreeWidgetItem* root = tree.topLevelItem(i);
    outline += root->text(0) + u"\r\n"_s;
    for (int j = 0; j < root->childCount(); ++j) outline += u'\t' + root->child(j)->text(0) + u"\r\n"_s;
  }
  return outline;
}

void copyShownTreeStructure(MainWindow& window, bool confirm) {
  const WindowPanes& panes = window.panes();
  const QTreeWidget* tree = panes.hostTree();
  if (panes.leftPane() == LeftPane::ProjectTree) tree = panes.projectTree();
  if (panes.leftPane() == LeftPane::CallList) tree = panes.callListTree();
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(treeOutline(*tree));
  if (confirm) window.messages().information(u"Struktur in der Zwischenablage erstellt"_s);
}

}  // namespace cq
