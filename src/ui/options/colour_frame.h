#pragma once
// The colour choice of the options dialog: 48 swatches `lblFarbe_<i>`, 0 to 15
// for comments, 16 to 31 for keywords, 32 to 47 for strings, in three frames
// whose caption shows the chosen colour.
#include <QGroupBox>
#include <QList>
#include <cstdint>

class QLabel;

namespace cq {

enum class ColourKind { Comment = 0, Keyword = 1, String = 2 };

inline constexpr int kSwatchesPerKind = 16;
inline constexpr int kSwatchCount = 3 * kSwatchesPerKind;

// The colour of swatch `index` (0 to 47) as stored: red in the low byte.
std::int32_t swatchColour(int index);
// The kind that swatch `index` (0 to 47) chooses the colour of.
ColourKind swatchKind(int index);

// One kind's frame with its 16 swatches; a click on a swatch makes its colour
// the frame's.
class ColourFrame : public QGroupBox {
  Q_OBJECT

 public:
  ColourFrame(const QString& name, const QString& caption, ColourKind kind, std::int32_t colour, QWidget* parent);

  std::int32_t colour() const { return colour_; }
  void setColour(std::int32_t colour);
  // Swatch `index` (0 to 47) of this frame's kind.
  QLabel* swatch(int index) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ColourKind kind_;
  std::int32_t colour_ = 0;
  QList<QLabel*> swatches_;
};

}  // namespace cq
