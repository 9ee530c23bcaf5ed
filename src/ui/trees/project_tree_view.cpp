#include "ui/trees/project_tree_view.h"

#include <QKeyEvent>
#include <QTreeWidget>
#include <unordered_map>

#include "app/text_boundary.h"
#include "ui/redraw_freeze.h"
#include "ui/trees/tree_icons.h"

namespace cq {

namespace {

constexpr int kKeyRole = Qt::UserRole;

std::string keyOf(const QTreeWidgetItem* item) { return toEngineText(item->data(0, kKeyRole).toString()); }
std::string engineText(const QTreeWidgetItem* item) { return toEngineText(item->text(0)); }

void setNode(QTreeWidgetItem* item, const std::string& key, std::string_view text, const std::string& image) {
  setNodeText(item, toQString(text));
  item->setData(0, kKeyRole, toQString(key));
  item->setIcon(0, treeIcon(image));
}

}  // namespace

ProjectTreeView::ProjectTreeView(QTreeWidget* tree, QObject* parent) : QObject(parent), tree_(tree) {
  qRegisterMetaType<NodeActivation>();
  watch(tree_);
}

void ProjectTreeView::watch(QTreeWidget* tree) {
  tree->installEventFilter(this);
  connect(tree, &QTreeWidget::itemClicked, this, &ProjectTreeView::onClicked);
}

Outcome<int> ProjectTreeView::fill(CodeDatabase& database, bool expandAll) {
  // Both lists before the tree is touched: a query that fails leaves it as it was.
  const Outcome<std::vector<ModuleListEntry>> list = database.moduleList();
  if (!list) return list.failure();
  const Outcome<std::vector<RoutineListEntry>> routines = database.routineList();
  if (!routines) return routines.failure();
  const RedrawFreeze frozen(*tree_);
  clear();
  std::unordered_map<std::string, QTreeWidgetItem*> modules;
  for (const ModuleListEntry& module : list.value()) {
    auto* item = new QTreeWidgetItem(tree_);
    const std::string key = std::string("M").append(std::to_string(module.number));
    setNode(item, key, module.name, std::string("M").append(std::to_string(moduleTypeCode(module.type))));
    modules.emplace(key, item);
  }
  for (const RoutineListEntry& routine : routines.value()) {
    const auto module = modules.find(routine.moduleKey);
    if (module == modules.end()) continue;
    setNode(new QTreeWidgetItem(module->second), routine.routineKey, routine.name, routine.imageKey);
  }
  if (expandAll) tree_->expandAll();
  return static_cast<int>(list->size());
}

void fillCallListTree(QTreeWidget* tree, const std::vector<CallListNode>& nodes) {
  const RedrawFreeze frozen(*tree);
  tree->clear();
  QTreeWidgetItem* module = nullptr;
  for (const CallListNode& node : nodes) {
    if (!node.isModule() && module == nullptr) continue;  // a routine always follows its module
    auto* item = node.isModule() ? new QTreeWidgetItem(tree) : new QTreeWidgetItem(module);
    setNode(item, node.key(), node.name, node.image());
    if (node.isModule()) module = item;
  }
  tree->expandAll();
}

void ProjectTreeView::clear() {
  tree_->clear();
  highlightedKey_.clear();
}

QTreeWidgetItem* ProjectTreeView::nodeByKey(const std::string& key) const {
  for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* module = tree_->topLevelItem(i);
    if (keyOf(module) == key) return module;
    for (int j = 0; j < module->childCount(); ++j)
      if (keyOf(module->child(j)) == key) return module->child(j);
  }
  return nullptr;
}

void ProjectTreeView::highlightModule(int moduleIndex) {
  if (QTreeWidgetItem* previous = nodeByKey(highlightedKey_)) {
    previous->setBackground(0, Qt::white);
    previous->setForeground(0, Qt::black);
  }
  const std::string key = std::string("M").append(std::to_string(moduleIndex + 1));
  if (QTreeWidgetItem* current = nodeByKey(key)) {
    current->setBackground(0, Qt::black);
    current->setForeground(0, Qt::yellow);
  }
  highlightedKey_ = key;
}

void ProjectTreeView::activate(QTreeWidgetItem* item) {
  if (!item) return;
  NodeActivation node;
  node.key = keyOf(item);
  node.text = engineText(item);
  const QTreeWidgetItem* module = item->parent() ? item->parent() : item;
  node.moduleKey = keyOf(module);
  node.moduleText = engineText(module);
  emit activated(node);
}

void ProjectTreeView::onClicked(QTreeWidgetItem* item) {
  if (keyNavigation_) {
    keyNavigation_ = false;  // moving the selection with keys never loads code
    return;
  }
  activate(item);
}

bool ProjectTreeView::eventFilter(QObject* watched, QEvent* event) {
  auto* tree = qobject_cast<QTreeWidget*>(watched);
  if (!tree || event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    keyNavigation_ = false;
    activate(tree->currentItem());
    return true;
  }
  keyNavigation_ = true;
  // Typed characters are not an incremental search here; keys that move do move.
  const bool typed = !key->text().isEmpty() && key->text().at(0).isPrint();
  return typed;
}

}  // namespace cq
