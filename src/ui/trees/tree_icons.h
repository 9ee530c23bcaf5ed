#pragma once
// The pictures of the tree nodes, by image key: "Fahne" for a project, "Warnung"
// for a document that could not be read, "M<type>" for a module,
// "R<type>O<visibility>" for a routine, "XXX" for anything else.
#include <QIcon>
#include <string>

class QString;
class QTreeWidgetItem;

namespace cq {

QIcon treeIcon(const std::string& imageKey);

// Sets a node's text, and the same as its tooltip, for names the pane cuts.
void setNodeText(QTreeWidgetItem* item, const QString& text);

}  // namespace cq
