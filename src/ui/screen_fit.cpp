#include "ui/screen_fit.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace cq {

namespace {

// The frame of a window not shown yet is unknown: a title bar and thin borders.
constexpr QSize kAssumedFrame(8, 40);

int clampedStart(int start, int length, int areaStart, int areaLength) {
  return std::clamp(start, areaStart, std::max(areaStart, areaStart + areaLength - length));
}

}  // namespace

void keepInsideScreen(QWidget& window, const QScreen* screen) {
  if (screen == nullptr) screen = window.screen();
  // A maximised window is the screen's business.
  if (screen == nullptr || window.isMaximized() || window.isFullScreen()) return;
  const QRect area = screen->availableGeometry();
  const QSize frame = window.isVisible() ? window.frameGeometry().size() - window.size() : kAssumedFrame;
  window.resize(window.size().boundedTo(area.size() - frame));
  const QSize outer = window.size() + frame;
  const QPoint inside(clampedStart(window.x(), outer.width(), area.x(), area.width()),
                      clampedStart(window.y(), outer.height(), area.y(), area.height()));
  // A window not placed yet is left to the window manager while it would fit anyway.
  if (inside != window.pos()) window.move(inside);
}

}  // namespace cq
