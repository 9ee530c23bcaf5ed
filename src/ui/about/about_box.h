#pragma once
// The about box `frmAbout`: program title and version, the program's picture,
// the system information and the program's home page.
#include <QDialog>
#include <QPushButton>

namespace cq {

struct AppState;
class MainWindow;

// `cmdHP`: yellow while the mouse is over it, its own colour again once it leaves.
class HomePageButton : public QPushButton {
  Q_OBJECT

 public:
  using QPushButton::QPushButton;

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
};

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  // `window` owns the box and shows its messages and the home page.
  AboutBox(const AppState& state, MainWindow& window);

 private:
  void showSystemInformation();
  void openHomePage();

  const AppState& state_;
  MainWindow& window_;
};

// "&Info": the about box, modal.
void showAboutBox(const AppState& state, MainWindow& window);

}  // namespace cq
