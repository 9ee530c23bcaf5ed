#include "ui/window_panes.h"

#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/twips.h"

namespace cq {

namespace {

QTreeWidget* makeTree(const char* name, QWidget* parent) {
  auto* tree = new QTreeWidget(parent);
  tree->setObjectName(name);
  tree->setHeaderHidden(true);
  tree->setColumnCount(1);
  return tree;
}

}  // namespace

WindowPanes::WindowPanes(QWidget* parent) : QSplitter(Qt::Horizontal, parent) {
  setObjectName("fraContainer");
  leftStack_ = new QStackedWidget(this);
  leftStack_->setObjectName("linkerBereich");
  // The order of the stack follows LeftPane.
  hostTree_ = makeTree("treApp", leftStack_);
  projectTree_ = makeTree("treProjekt", leftStack_);
  callListTree_ = makeTree("treRoutSuche", leftStack_);
  hostStatusText_ = new QPlainTextEdit(leftStack_);
  hostStatusText_->setObjectName("txtAppAktiv");
  hostStatusText_->setReadOnly(true);
  for (QWidget* view : {static_cast<QWidget*>(hostTree_), static_cast<QWidget*>(projectTree_),
                        static_cast<QWidget*>(callListTree_), static_cast<QWidget*>(hostStatusText_)}) {
    view->setMinimumWidth(0);
    leftStack_->addWidget(view);
  }

  codePane_ = new QWidget(this);
  codePane_->setObjectName("rechterBereich");
  auto* codeLayout = new QVBoxLayout(codePane_);
  codeLayout->setContentsMargins(0, 0, 0, 0);

  addWidget(leftStack_);
  addWidget(codePane_);
  splitterBar()->setObjectName("fraTeiler");
  setHandleWidth(twipsToPixels(kSplitterWidthTwips));
  // The tree keeps at least its minimum width, and the bar stops short of the
  // right edge by the right gap: both are the panes' minimum widths.
  leftStack_->setMinimumWidth(twipsToPixelsAtLeast(kMinimumTreeWidthTwips));
  codePane_->setMinimumWidth(twipsToPixelsAtLeast(kMinimumRightGapTwips));
  setChildrenCollapsible(false);
  // Only the bar follows the mouse while dragging; the panes follow on release.
  setOpaqueResize(false);
  setStretchFactor(0, 0);
  setStretchFactor(1, 1);
  setSizes({twipsToPixels(kDesignTreeWidthTwips), twipsToPixels(kDesignTreeWidthTwips) * 3});
  showLeftPane(LeftPane::HostTree);
}

void WindowPanes::showLeftPane(LeftPane pane) { leftStack_->setCurrentWidget(leftPaneWidget(pane)); }

LeftPane WindowPanes::leftPane() const { return static_cast<LeftPane>(leftStack_->currentIndex()); }

QWidget* WindowPanes::leftPaneWidget(LeftPane pane) const {
  switch (pane) {
    case LeftPane::HostTree:
      return hostTree_;
    case LeftPane::ProjectTree:
      return projectTree_;
    case LeftPane::CallList:
      return callListTree_;
    case LeftPane::HostStatus:
      return hostStatusText_;
  }
  return hostTree_;
}

QSplitterHandle* WindowPanes::splitterBar() const { return handle(1); }

}  // namespace cq
