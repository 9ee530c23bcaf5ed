#pragma once
// The status bar `staBar`: five panels (module, routine, back, forward, step in
// progress) that report clicks, so the history steps can be wired to them.
#include <QStatusBar>
#include <array>
#include <string_view>

class QLabel;

namespace cq {

class StatusBar : public QStatusBar {
  Q_OBJECT

 public:
  static constexpr int kPanelCount = 5;
  static constexpr int kModulePanel = 1;
  static constexpr int kRoutinePanel = 2;
  static constexpr int kBackPanel = 3;
  static constexpr int kForwardPanel = 4;
  static constexpr int kProgressPanel = 5;

  explicit StatusBar(QWidget* parent = nullptr);

  // Panels are numbered 1..5; other numbers are ignored (or read as "").
  void setText(int panel, const QString& text);
  // Texts of the engine (module and routine names, steps).
  void setEngineText(int panel, std::string_view text);
  QString text(int panel) const;
  void setPanelEnabled(int panel, bool enabled);
  bool isPanelEnabled(int panel) const;
  // The panel widget `staBar_<panel>`, nullptr outside 1..5.
  QLabel* panel(int panel) const;

 signals:
  // A left click on an enabled panel; a disabled panel reports nothing.
  void panelClicked(int panel);
  // A left double click; the call list listens to panel 2.
  void panelDoubleClicked(int panel);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::array<QLabel*, kPanelCount> panels_{};
};

}  // namespace cq
