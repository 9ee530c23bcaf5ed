#include "ui/screen_preset.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

#include "ui/twips.h"

namespace cq {

namespace {

QString twipsText(int pixels) {
  return QString::number(static_cast<double>(static_cast<float>(pixelsToTwips(pixels))), 'g', 7);
}

std::optional<int> pixelsOf(const QString& twipsText) {
  bool ok = false;
  const double twips = twipsText.trimmed().toDouble(&ok);
  if (!ok) return std::nullopt;
  return twipsToPixels(twips);
}

}  // namespace

QString screenPresetOf(const QWidget& window) {
  if (window.isMaximized()) return kMaximisedPreset.toString();
  // Position of the frame and size of the window: exactly what move() and
  // resize() take back, so applying a stored preset restores the placement.
  return QStringList{twipsText(window.x()), twipsText(window.y()), twipsText(window.width()),
                     twipsText(window.height())}
      .join(u';');
}

void applyScreenPreset(QWidget& window, const QString& preset) {
  if (preset == kMaximisedPreset) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    return;
  }
  const QStringList parts = preset.split(u';');
  window.setWindowState(window.windowState() &
                        ~(Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
  const std::function<void(int)> setters[] = {
      [&window](int left) { window.move(left, window.y()); },
      [&window](int top) { window.move(window.x(), top); },
      [&window](int width) { window.resize(width, window.height()); },
      [&window](int height) { window.resize(window.width(), height); },
  };
  for (qsizetype index = 0; index < 4; ++index) {
    if (index >= parts.size()) return;
    const std::optional<int> pixels = pixelsOf(parts[index]);
    if (!pixels) return;
    setters[index](*pixels);
  }
}

}  // namespace cq
