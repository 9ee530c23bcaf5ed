// The browser's ways about the code: the history of visited routines, the zoom
// view and the popup menus of the code views.
#include <QAction>
#include <QMenu>
#include <algorithm>
#include <exception>
#include <optional>
#include <string>

#include "text/path_text.h"
#include "ui/browse/project_browser.h"
#include "ui/code/code_view.h"
#include "ui/code/module_views.h"
#include "ui/code/text_operations.h"
#include "ui/commands/command_table.h"
#include "ui/main_window.h"
#include "ui/status_bar.h"
#include "ui/trees/project_tree_view.h"

namespace cq {

namespace {

constexpr char kPartSeparator = '|';

}  // namespace

void ProjectBrowser::rememberPosition() {
  const StatusBar& panels = window_.statusPanels();
  // The label holds both panels, so callers set them before remembering.
  std::string label = panels.text(StatusBar::kModulePanel).toStdString();
  label += kPartSeparator;
  label += panels.text(StatusBar::kRoutinePanel).toStdString();
  std::string position = std::to_string(moduleViews_->currentIndex());
  position += kPartSeparator;
  position += std::to_string(moduleViews_->current().caretOffset());
  history_.push(std::move(position), std::move(label));
  showHistoryState();
}

void ProjectBrowser::stepHistory(int panel) {
  std::optional<PositionHistory::Entry> entry;
  if (panel == StatusBar::kBackPanel || panel == StatusBar::kForwardPanel) {
    const bool back = panel == StatusBar::kBackPanel;
    if (back ? !history_.canGoBack() : !history_.canGoForward()) return;
    entry = back ? history_.back() : history_.forward();
    if (!entry) return;
    const auto position = parseHistoryPosition(entry->position);
    if (!position) return;
    switchToModule(position->moduleIndex);
    CodeView& view = moduleViews_->current();
    view.setCaret(static_cast<std::size_t>(std::max(position->caret, 0)));
    StatusBar& panels = window_.statusPanels();
    const std::string_view separator(&kPartSeparator, 1);
    panels.setText(StatusBar::kModulePanel, QString::fromStdString(textBeforeFirst(entry->label, separator)));
    projectTree_->highlightModule(moduleViews_->currentIndex());
    panels.setText(StatusBar::kRoutinePanel, QString::fromStdString(textAfterLast(entry->label, kPartSeparator)));
    selectFirstWordOfLine(view);
    showHistoryState();
  }
  focusCode();
}

void ProjectBrowser::showHistoryState() {
  window_.setHistoryBackEnabled(history_.canGoBack());
  window_.setHistoryForwardEnabled(history_.canGoForward());
}

QAction* ProjectBrowser::zoomCommand() const { return window_.commands().action(QStringLiteral("mnuAnsicht_Zoom")); }

bool ProjectBrowser::isZoomOn() const { return zoomCommand()->isChecked(); }

void ProjectBrowser::showZoom(bool on) {
  moduleViews_->setZoomVisible(on);
  if (on) fillZoomForCaret();
}

void ProjectBrowser::fillZoomForCaret() {
  if (!database_) return;
  CodeView& view = moduleViews_->current();
  const auto line = static_cast<std::int64_t>(caretLine(view)) + 1;
  try {
    // A module without routines has no range: the zoom view stays as it was.
    if (const auto range = database_->zoomRange(line, moduleViews_->currentIndex() + 1))
      fillZoomForLine(view, moduleViews_->zoomView(), *range);
  } catch (const std::exception&) {
    // The zoom view simply keeps what it showed.
  }
}

void ProjectBrowser::focusCode() {
  if (isZoomOn()) {
    fillZoomForCaret();
    moduleViews_->zoomView().setFocus();
  } else {
    moduleViews_->current().setFocus();
  }
}

// Views come and go with every project, so each one present is (re)wired.
void ProjectBrowser::wireContextMenus() {
  for (CodeView* view : moduleViews_->findChildren<CodeView*>(QString(), Qt::FindDirectChildrenOnly)) {
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    disconnect(view, &QWidget::customContextMenuRequested, this, nullptr);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](const QPoint& position) { showContextMenu(view, position); });
  }
}

void ProjectBrowser::showContextMenu(CodeView* view, const QPoint& viewportPosition) {
  const bool zoom = view == &moduleViews_->zoomView();
  QMenu* menu = window_.commands().popupMenu(zoom ? QStringLiteral("mnuPopUp_Zoom") : QStringLiteral("mnuPopUpHaupt"));
  if (menu) menu->popup(view->viewport()->mapToGlobal(viewportPosition));
}

}  // namespace cq
