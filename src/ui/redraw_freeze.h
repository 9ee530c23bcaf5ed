#pragma once
// A tree or view does not redraw while an object of this class lives, so that
// filling it shows once at the end; redrawing resumes however the filling ends.
#include <QWidget>

namespace cq {

class RedrawFreeze {
 public:
  explicit RedrawFreeze(QWidget& widget) : widget_(widget) { widget_.setUpdatesEnabled(false); }
  ~RedrawFreeze() { widget_.setUpdatesEnabled(true); }
  RedrawFreeze(const RedrawFreeze&) = delete;
  RedrawFreeze& operator=(const RedrawFreeze&) = delete;

 private:
  QWidget& widget_;
};

}  // namespace cq
