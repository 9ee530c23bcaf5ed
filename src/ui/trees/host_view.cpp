#include "ui/trees/host_view.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTreeWidget>

#include "app/text_boundary.h"
#include "ui/redraw_freeze.h"
#include "ui/trees/tree_icons.h"

namespace cq {

namespace {

std::string withEditionName(std::string text, const std::string& editionName) {
  QString replaced = toQString(text);
  replaced.replace(QRegularExpression(QStringLiteral("excel"), QRegularExpression::CaseInsensitiveOption),
                   toQString(editionName));
  return toEngineText(replaced);
}

}  // namespace

// The refresh command is named by the caption it has in the menu. The host is
// this program: the text says how a document gets opened here.
std::string hostNotRunningText(const std::string& refreshCaption) {
  return "Im Moment ist kein Dokument geöffnet. Es können daher keine Projekte angezeigt werden. \r\n"
         "\r\n"
         "Bitte öffnen Sie das Dokument, dessen Code Sie einlesen möchten: mit Datei / Dokument öffnen ..., "
         "einen Ordner mit Moduldateien mit Datei / Ordner öffnen ..., beim Start auf der Kommandozeile "
         "(codequorix DOKUMENT) oder indem Sie die Datei auf dieses Fenster ziehen.\r\n"
         "Hat sich ein geöffnetes Dokument geändert, klicken Sie danach auf " +
         refreshCaption +
         ".\r\n"
         "\r\n"
         "\r\n"
         "Alternativ können Sie über Öffnen Projekte einlesen, die mit Code Quorix erzeugt wurden.";
}

std::string noReadableProjectText(const std::string& editionName, const std::string& refreshCaption) {
  const std::string beforeCaption = withEditionName(
      "Excel ist zwar im Moment geöffnet, aber es gibt keine auslesbaren Projekte.\r\n"
      "\r\n"
      "Bitte öffnen Sie in Excel die Datei, deren Code Sie einlesen möchten und klicken Sie danach auf ",
      editionName);
  return beforeCaption + refreshCaption +
         ".\r\n"
         "\r\n"
         "Alternativ können Sie über Öffnen Projekte einlesen, die mit Code Quorix erzeugt wurden.\r\n";
}

HostView::HostView(QTreeWidget* tree, QPlainTextEdit* statusText, std::string editionName, std::string refreshCaption,
                   QObject* parent)
    : QObject(parent),
      tree_(tree),
      statusText_(statusText),
      editionName_(std::move(editionName)),
      refreshCaption_(std::move(refreshCaption)) {
  connect(tree_, &QTreeWidget::itemChanged, this, &HostView::onItemChanged);
}

void HostView::openDocuments(const QStringList& paths) {
  for (const QString& path : paths) host_.open(qStringToPath(path));
}

Outcome<HostTreeFill> HostView::refresh(int moduleFileCodePage) {
  filling_ = true;
  const RedrawFreeze frozen(*tree_);
  tree_->clear();
  items_.clear();
  host_.forgetRead();  // a refresh shows what is on disk now
  host_.setModuleFileCodePage(moduleFileCodePage);
  Outcome<HostTreeFill> fill = fillHostTree(host_, model_);
  for (const HostTreeNode& node : model_.nodes) {
    auto* item = node.parent == kNoParent ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(items_[node.parent]);
    setNodeText(item, toQString(node.text));
    item->setIcon(0, treeIcon(node.image));
    item->setData(0, Qt::UserRole, toQString(node.key));
    item->setFlags(node.checkable ? item->flags() | Qt::ItemIsUserCheckable : item->flags() & ~Qt::ItemIsUserCheckable);
    if (node.checkable) item->setCheckState(0, node.checked ? Qt::Checked : Qt::Unchecked);
    items_.push_back(item);
  }
  tree_->expandAll();
  filling_ = false;

  if (!fill || !fill->attached)
    showStatus(hostNotRunningText(refreshCaption_));  // the window shows a walk's failure itself
  else if (model_.nodes.empty())
    showStatus(noReadableProjectText(editionName_, refreshCaption_));
  else
    statusText_->hide();
  return fill;
}

void HostView::onItemChanged(QTreeWidgetItem* item) {
  if (filling_) return;
  const auto at = std::find(items_.begin(), items_.end(), item);
  if (at == items_.end()) return;
  const auto index = static_cast<std::size_t>(at - items_.begin());
  const bool ticked = item->checkState(0) == Qt::Checked;
  if (ticked == model_.nodes[index].checked) return;
  setTicked(model_, index, ticked);
  showTicks();
  emit tickedChanged(cq::anyTicked(model_));
}

void HostView::showTicks() {
  filling_ = true;
  {
    const RedrawFreeze frozen(*tree_);
    for (std::size_t i = 0; i < items_.size(); ++i)
      if (model_.nodes[i].checkable) items_[i]->setCheckState(0, model_.nodes[i].checked ? Qt::Checked : Qt::Unchecked);
  }
  filling_ = false;
}

void HostView::showStatus(const std::string& text) {
  statusText_->setPlainText(toQString(text));
  statusText_->show();
}

}  // namespace cq
