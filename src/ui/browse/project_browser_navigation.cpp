// The browser's ways about the code: the history of visited routines, the zoom
// view and the popup menus of the code views.
#include <QAction>
#include <QMenu>
#include <QTreeWidget>
#include <optional>

#include "ui/browse/project_browser.h"
#include "ui/code/code_view.h"
#include "ui/code/module_views.h"
#include "ui/code/text_operations.h"
#include "ui/commands/command_table.h"
#include "ui/main_window.h"
#include "ui/status_bar.h"
#include "ui/trees/project_tree_view.h"
#include "ui/window_log.h"

namespace cq {

void ProjectBrowser::rememberPosition() {
  const StatusBar& panels = window_.statusPanels();
  // The entry keeps both panels' texts, so callers set them before remembering.
  history_.push({moduleViews_->currentIndex(), moduleViews_->current().caretOffset(),
                 panels.text(StatusBar::kModulePanel), panels.text(StatusBar::kRoutinePanel)});
  showHistoryState();
}

void ProjectBrowser::stepHistory(int panel) {
  if (panel == StatusBar::kBackPanel || panel == StatusBar::kForwardPanel) {
    const bool back = panel == StatusBar::kBackPanel;
    if (back ? !history_.canGoBack() : !history_.canGoForward()) return;
    const std::optional<PositionHistory::Entry> entry = back ? history_.back() : history_.forward();
    if (!entry) return;
    switchToModule(entry->moduleIndex);
    CodeView& view = moduleViews_->current();
    view.setCaret(entry->caret);
    StatusBar& panels = window_.statusPanels();
    panels.setText(StatusBar::kModulePanel, entry->moduleName);
    projectTree_->highlightModule(moduleViews_->currentIndex());
    panels.setText(StatusBar::kRoutinePanel, entry->routineName);
    showCaretLineAtTop(view);
    selectNodeAtCaret();
    showHistoryState();
  }
  focusCode();
}

void ProjectBrowser::selectNodeAtCaret() {
  if (!database_) return;
  const int index = moduleViews_->currentIndex();
  const auto line = static_cast<std::int64_t>(caretLine(moduleViews_->current())) + 1;
  const Outcome<std::optional<RoutineAtLine>> routine = database_->routineAtLine(line, index + 1);
  if (!routine) logFailure("routine at the caret", routine.failure());
  const std::string key = routine && routine.value() ? std::string("R").append(std::to_string(routine.value()->number))
                                                     : std::string("M").append(std::to_string(index + 1));
  if (QTreeWidgetItem* node = projectTree_->nodeByKey(key)) window_.panes().projectTree()->setCurrentItem(node);
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
  const auto range = database_->zoomRange(line, moduleViews_->currentIndex() + 1);
  // Without a range (a module without routines, or a failed query) the zoom view keeps what it showed.
  if (!range)
    logFailure("zoom range", range.failure());
  else if (range.value())
    fillZoomForLine(view, moduleViews_->zoomView(), *range.value());
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
  // Without loaded code the module view offers only reading and the clipboard's HTML.
  const QString name = view == &moduleViews_->zoomView() ? QStringLiteral("mnuPopUp_Zoom")
                       : window_.codeLoaded()            ? QStringLiteral("mnuPopUpHaupt")
                                                         : QStringLiteral("mnuPopUpEinlesen");
  QMenu* menu = window_.commands().popupMenu(name);
  if (menu) menu->popup(view->viewport()->mapToGlobal(viewportPosition));
}

}  // namespace cq
