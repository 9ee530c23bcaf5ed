#include "ui/unused/unused_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <map>
#include <string>

#include "app/text_boundary.h"
#include "ui/redraw_freeze.h"
#include "ui/screen_fit.h"
#include "ui/trees/tree_icons.h"

namespace cq {

using namespace Qt::StringLiterals;

namespace {

enum Column { kModuleColumn, kRoutineColumn, kLineColumn, kReasonColumn, kCallerColumn };
constexpr int kRoutineRole = Qt::UserRole;

constexpr std::array kGroups{UnusedGroup::kUnused, UnusedGroup::kHostCalled, UnusedGroup::kNamedInStrings};

std::string routineImage(const RoutineFacts& routine) {
  return std::string("R").append(std::to_string(routine.type)).append("O").append(std::to_string(routine.visibility));
}

}  // namespace

UnusedWindow::UnusedWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(u"frmUnbenutzt"_s);
  setWindowTitle(u"Unbenutzte Routinen"_s);
  resize(640, 420);
  auto* layout = new QVBoxLayout(this);
  summary_ = new QLabel(this);
  summary_->setObjectName(u"lblUnbenutzt"_s);
  layout->addWidget(summary_);
  list_ = new QTreeWidget(this);
  list_->setObjectName(u"treUnbenutzt"_s);
  list_->setHeaderLabels({u"Modul"_s, u"Routine"_s, u"Zeile"_s, u"Grund"_s, u"Aufgerufen von"_s});
  list_->setRootIsDecorated(true);
  list_->setUniformRowHeights(true);
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  list_->installEventFilter(this);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { choose(item); });
  layout->addWidget(list_, 1);
  auto* buttons = new QHBoxLayout;
  auto* copy = new QPushButton(u"Liste &kopieren"_s, this);
  copy->setObjectName(u"cmdKopieren"_s);
  connect(copy, &QPushButton::clicked, this, &UnusedWindow::copyList);
  auto* close = new QPushButton(u"&Schliessen"_s, this);
  close->setObjectName(u"cmdSchliessen"_s);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  buttons->addStretch(1);
  buttons->addWidget(copy);
  buttons->addWidget(close);
  layout->addLayout(buttons);
}

void UnusedWindow::showReport(const std::vector<UnusedRoutine>& report, const std::vector<ModuleFacts>& modules) {
  std::map<int, const ModuleFacts*> moduleOf;
  for (const ModuleFacts& module : modules) moduleOf.emplace(module.number, &module);
  const RedrawFreeze frozen(*list_);
  list_->clear();
  std::map<UnusedGroup, int> counts;
  for (const UnusedGroup group : kGroups) {
    auto* groupItem = new QTreeWidgetItem(list_);
    for (const UnusedRoutine& entry : report) {
      if (entry.group != group) continue;
      const RoutineFacts& routine = entry.routine;
      const auto module = moduleOf.find(routine.module);
      auto* item = new QTreeWidgetItem(groupItem);
      item->setText(kModuleColumn, module != moduleOf.end() ? toQString(module->second->name) : QString());
      item->setText(kRoutineColumn, toQString(routine.name));
      item->setIcon(kRoutineColumn, treeIcon(routineImage(routine)));
      item->setText(kLineColumn, QString::number(routine.start));
      item->setTextAlignment(kLineColumn, Qt::AlignRight | Qt::AlignVCenter);
      item->setText(kReasonColumn, toQString(entry.reason));
      item->setText(kCallerColumn, toQString(entry.caller));
      item->setData(0, kRoutineRole, static_cast<qlonglong>(routine.number));
      ++counts[group];
    }
    groupItem->setText(kModuleColumn, toQString(groupCaption(group)));
    groupItem->setFirstColumnSpanned(true);
    QFont bold = groupItem->font(kModuleColumn);
    bold.setBold(true);
    groupItem->setFont(kModuleColumn, bold);
  }
  list_->expandAll();
  summary_->setText(
      u"%1 unbenutzt, %2 vom Host aufgerufen, %3 nur in Zeichenketten genannt"_s.arg(counts[UnusedGroup::kUnused])
          .arg(counts[UnusedGroup::kHostCalled])
          .arg(counts[UnusedGroup::kNamedInStrings]));
  if (QTreeWidgetItem* first = list_->topLevelItem(0)) list_->setCurrentItem(first);
}

void UnusedWindow::placeOver(const QWidget& owner) {
  // Every column as wide as its widest text, with room for the list's frame and scroll bar.
  const QAbstractItemView& view = *list_;  // where the hint is public
  int columns = 0;
  for (int column = 0; column < list_->columnCount(); ++column)
    columns += std::max(view.sizeHintForColumn(column), list_->header()->sectionSizeHint(column));
  const QMargins margins = layout()->contentsMargins();
  const int wanted = columns + 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width() +
                     margins.left() + margins.right();
  resize(std::max(width(), wanted), height());
  const QRect over = owner.frameGeometry();
  move(over.center() - QPoint(width() / 2, height() / 2));
  keepInsideScreen(*this, owner.screen());
}

void UnusedWindow::clearReport() {
  list_->clear();
  summary_->clear();
}

QString UnusedWindow::listText() const {
  QString text;
  for (int g = 0; g < list_->topLevelItemCount(); ++g) {
    const QTreeWidgetItem* group = list_->topLevelItem(g);
    if (g > 0) text += u"\n"_s;
    text += group->text(kModuleColumn) + u"\n"_s;
    for (int r = 0; r < group->childCount(); ++r) {
      const QTreeWidgetItem* item = group->child(r);
      QStringList fields{item->text(kModuleColumn), item->text(kRoutineColumn), item->text(kLineColumn)};
      for (const int column : {kReasonColumn, kCallerColumn})
        if (!item->text(column).isEmpty()) fields << item->text(column);
      text += fields.join(u'\t') + u"\n"_s;
    }
  }
  return text;
}

bool UnusedWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      choose(list_->currentItem());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void UnusedWindow::choose(const QTreeWidgetItem* item) {
  // Group captions lead nowhere.
  if (item == nullptr || item->parent() == nullptr) return;
  emit routineChosen(item->data(0, kRoutineRole).toLongLong());
}

void UnusedWindow::copyList() {
  QGuiApplication::clipboard()->setText(listText());
  summary_->setText(u"Die Liste steht in der Zwischenablage."_s);
}

}  // namespace cq
