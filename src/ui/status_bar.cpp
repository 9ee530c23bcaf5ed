#include "ui/status_bar.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

#include "app/text_boundary.h"

namespace cq {

namespace {

struct PanelDesign {
  QStringView text;
  QStringView tooltip;
  int widthTwips;  // the panels share the bar in these proportions
};

constexpr std::array<PanelDesign, StatusBar::kPanelCount> kPanels{{
    {u"Modul:", u"", 5292},
    {u"Routine:", u"", 6174},
    {u"<<", u"Eine Routine Zurück (F4)", 529},
    {u">>", u"Eine Routine Weiter (Strg+F4)", 529},
    {u"Aktueller Vorgang", u"", 5292},
}};

}  // namespace

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent) {
  setObjectName("staBar");
  setSizeGripEnabled(false);
  for (int index = 0; index < kPanelCount; ++index) {
    const PanelDesign& design = kPanels[static_cast<std::size_t>(index)];
    auto* label = new QLabel(design.text.toString(), this);
    label->setObjectName(QStringLiteral("staBar_%1").arg(index + 1));
    label->setToolTip(design.tooltip.toString());
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // Ignored size hints let the stretch factors alone divide the width.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setMinimumWidth(1);
    label->installEventFilter(this);
    addWidget(label, design.widthTwips);
    panels_[static_cast<std::size_t>(index)] = label;
  }
}

QLabel* StatusBar::panel(int panel) const {
  if (panel < 1 || panel > kPanelCount) return nullptr;
  return panels_[static_cast<std::size_t>(panel - 1)];
}

void StatusBar::setText(int panel, const QString& text) {
  if (QLabel* label = this->panel(panel)) label->setText(text);
}

void StatusBar::setEngineText(int panel, std::string_view text) {
  setText(panel, toQString(text));
}

QString StatusBar::text(int panel) const {
  const QLabel* label = this->panel(panel);
  return label != nullptr ? label->text() : QString();
}

void StatusBar::setPanelEnabled(int panel, bool enabled) {
  if (QLabel* label = this->panel(panel)) label->setEnabled(enabled);
}

bool StatusBar::isPanelEnabled(int panel) const {
  const QLabel* label = this->panel(panel);
  return label != nullptr && label->isEnabled();
}

bool StatusBar::eventFilter(QObject* watched, QEvent* event) {
  const bool press = event->type() == QEvent::MouseButtonPress;
  const bool doubleClick = event->type() == QEvent::MouseButtonDblClick;
  if (!press && !doubleClick) return QStatusBar::eventFilter(watched, event);
  if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
  for (int index = 0; index < kPanelCount; ++index) {
    QLabel* label = panels_[static_cast<std::size_t>(index)];
    if (watched != label || !label->isEnabled()) continue;
    if (press) emit panelClicked(index + 1);
    if (doubleClick) emit panelDoubleClicked(index + 1);
    return true;
  }
  return false;
}

}  // namespace cq
