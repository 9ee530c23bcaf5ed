#pragma once
// The screen preset: the window's placement as "max" or as left;top;width;height
// in twips, kept as setting "bis".
#include <QString>

class QWidget;

namespace cq {

inline constexpr QStringView kMaximisedPreset = u"max";

// "max" for a maximised window, else the frame's position and the window's
// size in twips, each as the decimal text of a single-precision number.
QString screenPresetOf(const QWidget& window);

// Maximises for "max"; otherwise sets the normal state, then left, top, width
// and height in that order, stopping quietly at the first part that is no
// number, so what was set before stays.
void applyScreenPreset(QWidget& window, const QString& preset);

}  // namespace cq
