#include "ui/options/colour_frame.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <array>

namespace cq {

using namespace Qt::StringLiterals;

namespace {

constexpr int kSwatchPixels = 13;
constexpr int kSwatchesPerRow = 8;

// The comment swatches run from white through the dark and bright colours to
// black; keywords and strings share a second order.
constexpr std::array<std::int32_t, kSwatchesPerKind> kCommentSwatches{
    16777215, 8388608, 32768, 8421376, 128,   8388736,  32896,    12632256,
    8421504,  16711680, 65280, 16776960, 255, 16711935, 65535, 0};
constexpr std::array<std::int32_t, kSwatchesPerKind> kKeywordAndStringSwatches{
    16777215, 0,        65535, 16711935, 255,    16776960, 65280, 16711680,
    8421504,  12632256, 32896, 8388736,  128, 8421376,  32768, 8388608};

QColor colourOf(std::int32_t stored) {
  return QColor(stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF);
}

}  // namespace

std::int32_t swatchColour(int index) {
  const auto k = static_cast<std::size_t>(index % kSwatchesPerKind);
  return swatchKind(index) == ColourKind::Comment ? kCommentSwatches[k] : kKeywordAndStringSwatches[k];
}

ColourKind swatchKind(int index) {
  if (index < kSwatchesPerKind) return ColourKind::Comment;
  return index < 2 * kSwatchesPerKind ? ColourKind::Keyword : ColourKind::String;
}

ColourFrame::ColourFrame(const QString& name, const QString& caption, ColourKind kind, std::int32_t colour,
                         QWidget* parent)
    : QGroupBox(caption, parent), kind_(kind) {
  setObjectName(name);
  auto* grid = new QGridLayout(this);
  grid->setSpacing(2);
  const int first = static_cast<int>(kind) * kSwatchesPerKind;
  for (int k = 0; k < kSwatchesPerKind; ++k) {
    auto* swatch = new QLabel(this);
    swatch->setObjectName(u"lblFarbe_%1"_s.arg(first + k));
    swatch->setFixedSize(kSwatchPixels, kSwatchPixels);
    swatch->setFrameShape(QFrame::Box);
    swatch->setAutoFillBackground(true);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, colourOf(swatchColour(first + k)));
    swatch->setPalette(palette);
    swatch->setCursor(Qt::PointingHandCursor);
    swatch->installEventFilter(this);
    grid->addWidget(swatch, k / kSwatchesPerRow, k % kSwatchesPerRow);
    swatches_.append(swatch);
  }
  setColour(colour);
}

void ColourFrame::setColour(std::int32_t colour) {
  colour_ = colour;
  // The caption shows the chosen colour; the swatches keep their own backgrounds.
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, colourOf(colour));
  setPalette(palette);
}

QLabel* ColourFrame::swatch(int index) const {
  const int k = index - static_cast<int>(kind_) * kSwatchesPerKind;
  return k >= 0 && k < swatches_.size() ? swatches_[k] : nullptr;
}

bool ColourFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    const auto k = swatches_.indexOf(qobject_cast<QLabel*>(watched));
    if (k >= 0) {
      setColour(swatchColour(static_cast<int>(kind_) * kSwatchesPerKind + static_cast<int>(k)));
      return true;
    }
  }
  return QGroupBox::eventFilter(watched, event);
}

}  // namespace cq
