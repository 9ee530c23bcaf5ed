#include "ui/code/module_views.h"

#include "projectfolder/project_folder.h"
#include "render/styled_text.h"
#include "ui/code/code_view.h"
#include "ui/redraw_freeze.h"

namespace cq {

ModuleViews::ModuleViews(OptionsSource currentOptions, QWidget* parent)
    : QWidget(parent), currentOptions_(std::move(currentOptions)) {
  zoom_ = new CodeView(this);
  zoom_->setObjectName(QStringLiteral("rtbZoom"));
  zoom_->hide();
  addView();
  views_.front().filled = true;
  views_.front().view->show();
}

void ModuleViews::addView() {
  const int index = count();
  auto* view = new CodeView(this);
  view->setObjectName(QStringLiteral("rtbHaupt_%1").arg(index));
  view->hide();
  connect(view, &CodeView::caretActivity, this, [this, index] { emit caretActivity(index); });
  views_.push_back({view, false, std::nullopt});
  zoom_->raise();
}

// The views go once control returns to the event loop, since one of them may be
// handling the event that led here.
void ModuleViews::removeViewsAfterFirst() {
  for (std::size_t i = 1; i < views_.size(); ++i) {
    CodeView* view = views_[i].view;
    view->hide();
    view->disconnect(this);
    view->setParent(nullptr);
    view->deleteLater();
  }
  views_.resize(1);
}

void ModuleViews::reset() {
  removeViewsAfterFirst();
  Slot& first = views_.front();
  first.view->clearText();
  first.filled = true;
  first.unshownText.reset();
  folder_.clear();
  current_ = 0;
  first.view->show();
  placeCurrentAndZoom();
}

void ModuleViews::loadProject(const std::filesystem::path& folder, int moduleCount) {
  const RedrawFreeze frozen(*this);
  reset();
  folder_ = folder;
  if (moduleCount > 0) views_.front().filled = false;
  for (int i = 1; i < moduleCount; ++i) addView();
  fill(0);
}

void ModuleViews::fill(int index) {
  Slot& slot = views_[static_cast<std::size_t>(index)];
  if (slot.filled) return;
  slot.filled = true;
  slot.unshownText.reset();  // the view holds the same text from now on
  const Outcome<std::string> marked = readModuleFile(folder_, index + 1);
  if (marked) {
    slot.view->setMarkedText(marked.value(), currentOptions_());
  } else {
    slot.view->clearText();
    emit moduleUnreadable(index, marked.failure());
  }
}

CodeView& ModuleViews::view(int index) {
  if (!isValidIndex(index)) index = current_;
  fill(index);
  return *views_[static_cast<std::size_t>(index)].view;
}

void ModuleViews::showModule(int index) {
  if (!isValidIndex(index)) return;
  if (index != current_) views_[static_cast<std::size_t>(current_)].view->hide();
  current_ = index;
  CodeView& shown = view(index);
  if (!shown.text().empty() && shown.renderOptions() != currentOptions_()) {
    // Read again, since the routine lines' boldness is decided while decoding.
    const std::size_t caret = shown.caretOffset();
    views_[static_cast<std::size_t>(index)].filled = false;
    fill(index);
    shown.setCaret(caret);
  }
  placeCurrentAndZoom();
  shown.show();
}

const std::string& ModuleViews::textOf(int index) {
  static const std::string kNone;
  if (!isValidIndex(index)) return kNone;
  Slot& slot = views_[static_cast<std::size_t>(index)];
  if (slot.filled) return slot.view->text();
  if (!slot.unshownText) {
    Outcome<std::string> marked = readModuleFile(folder_, index + 1);
    slot.unshownText = marked ? plainTextOfMarked(marked.value()) : std::string();
    if (!marked) emit moduleUnreadable(index, marked.failure());
  }
  return *slot.unshownText;
}

void ModuleViews::setZoomVisible(bool visible) {
  placeCurrentAndZoom();
  zoom_->setVisible(visible);
}

bool ModuleViews::isZoomVisible() const { return zoom_->isVisibleTo(this); }

void ModuleViews::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  placeCurrentAndZoom();
}

void ModuleViews::placeCurrentAndZoom() {
  CodeView* current = views_[static_cast<std::size_t>(current_)].view;
  current->setGeometry(rect());
  zoom_->setGeometry(current->geometry());
  zoom_->raise();
}

}  // namespace cq
