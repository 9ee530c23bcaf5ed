#pragma once
// The code pane: one code view per module of the shown project ("rtbHaupt_<i>"
// holds module i + 1), of which the current one is visible, and the zoom view
// "rtbZoom" lying exactly over it. A view is filled from its module file the first
// time it is shown or used, so a large project shows its first module at once.
// Views are coloured with the display settings of the time they are shown: a
// view shown again after the options changed is coloured anew.
#include <QString>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "render/render_options.h"
#include "text/failure.h"

namespace cq {

class CodeView;

class ModuleViews : public QWidget {
  Q_OBJECT

 public:
  using OptionsSource = std::function<RenderOptions()>;

  // `currentOptions` gives the rendering in effect whenever a view is filled or shown.
  explicit ModuleViews(OptionsSource currentOptions, QWidget* parent = nullptr);

  // Replaces the views by one per module file "M1.txt" … "M<moduleCount>.txt" of
  // the project folder; view 0 becomes current.
  void loadProject(const std::filesystem::path& folder, int moduleCount);
  // Back to one empty view 0 as the current view.
  void reset();
  // The project's files now lie in `folder` (it was saved there): views not
  // filled yet read their module files from there.
  void moveProject(const std::filesystem::path& folder) { folder_ = folder; }

  int count() const { return static_cast<int>(views_.size()); }
  int currentIndex() const { return current_; }
  // Hides the current view and shows view `index` in its place, coloured anew
  // when the rendering changed since it was filled; ignores a number outside
  // the views.
  void showModule(int index);
  CodeView& current() { return view(current_); }
  // The view of module index + 1, filled from its file; the current view for an
  // index outside the views.
  CodeView& view(int index);
  CodeView& zoomView() { return *zoom_; }

  // The plain text of module index + 1 (as its view shows it). While
  // the view has not been filled, the module file is read the first time it is
  // asked for and its text kept, so searching a project builds no views. Empty
  // for a missing or unreadable module.
  const std::string& textOf(int index);

  void setZoomVisible(bool visible);
  bool isZoomVisible() const;

 signals:
  // A key went up or the left mouse button was released in view `index`.
  void caretActivity(int index);
  // A module file could not be read; its view stays empty.
  void moduleUnreadable(int index, const cq::Failure& failure);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Slot {
    CodeView* view = nullptr;
    bool filled = false;
    std::optional<std::string> unshownText;  // the text read for searching before the view is filled
  };

  void addView();
  void removeViewsAfterFirst();
  void fill(int index);
  void placeCurrentAndZoom();
  bool isValidIndex(int index) const { return index >= 0 && index < count(); }

  std::vector<Slot> views_;
  CodeView* zoom_ = nullptr;
  int current_ = 0;
  std::filesystem::path folder_;
  OptionsSource currentOptions_;
};

}  // namespace cq

Q_DECLARE_METATYPE(cq::Failure)
