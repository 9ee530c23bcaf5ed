#pragma once
// The project tree `treProjekt` (and the call list `treRoutSuche`, which uses
// the same keys): modules with their routines from the code database, the
// current module's node highlighted, and the keyboard rules of the trees.
#include <QObject>
#include <string>

#include <vector>

#include "analysis/call_search.h"
#include "codedb/code_database.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace cq {

// What activating a node asks for: a module ("M<n>") or a routine ("R<n>") with
// the module node above it.
struct NodeActivation {
  std::string key;
  std::string text;
  std::string moduleKey;   // the node's own key for a module
  std::string moduleText;
};

class ProjectTreeView : public QObject {
  Q_OBJECT

 public:
  explicit ProjectTreeView(QTreeWidget* tree, QObject* parent = nullptr);

  // Refills the tree: module nodes by type and name, routines below them by name.
  // Returns the number of modules. A query that fails fails the fill before the
  // tree is touched.
  Outcome<int> fill(CodeDatabase& database, bool expandAll);
  void clear();

  // Shows the node of module index `moduleIndex` (0-based) yellow on black and
  // the one shown so before black on white again.
  void highlightModule(int moduleIndex);

  // Watches another tree (the call list) with the same keyboard rules.
  void watch(QTreeWidget* tree);

  QTreeWidgetItem* nodeByKey(const std::string& key) const;

 signals:
  void activated(const cq::NodeActivation& node);

 public:
  // Activates `item` as a click would without a preceding key (used after a read).
  void activate(QTreeWidgetItem* item);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void onClicked(QTreeWidgetItem* item);

  QTreeWidget* tree_;
  bool keyNavigation_ = false;  // a key moved the selection: the next click only clears this
  std::string highlightedKey_;
};

// Refills the call list `treRoutSuche` with the nodes of a call search, keyed,
// named and pictured as in the project tree, every module opened.
void fillCallListTree(QTreeWidget* tree, const std::vector<CallListNode>& nodes);

}  // namespace cq

Q_DECLARE_METATYPE(cq::NodeActivation)
