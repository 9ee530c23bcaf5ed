#pragma once
// The compact window `frmMin`: a small window above all others that turns the
// clipboard's code into coloured HTML without the main window. Its own button
// `cmdClose` brings the main window back; closing its frame ends the program.
#include <QByteArray>
#include <QObject>
#include <QWidget>
#include <memory>

namespace cq {

struct AppState;
class MainWindow;

class CompactWindow : public QWidget {
  Q_OBJECT

 public:
  CompactWindow(MainWindow& mainWindow, const AppState& state);

  // Where the main window goes again when this window's button closes it
  // (saved by QWidget::saveGeometry); empty leaves its placement to the desktop.
  void setMainPlacement(QByteArray placement) { mainPlacement_ = std::move(placement); }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  MainWindow& mainWindow_;
  QByteArray mainPlacement_;
  bool closedByButton_ = false;
};

// "&Spezialansicht" (F9) and the start with "/a": the compact window in place
// of the main window. A child of the main window, so the compact window never
// outlives it.
class CompactView : public QObject {
  Q_OBJECT

 public:
  CompactView(MainWindow& mainWindow, const AppState& state);
  ~CompactView() override;

  // Hides the main window and shows the compact one.
  void show();
  // nullptr until first shown.
  CompactWindow* window() const { return window_.get(); }

 private:
  MainWindow& mainWindow_;
  const AppState& state_;
  std::unique_ptr<CompactWindow> window_;
};

}  // namespace cq
