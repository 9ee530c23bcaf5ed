#pragma once
// "&Unbenutzte Routinen ..." (`mnuTest`): the report of routines nobody calls
// on the shown project, in the window `frmUnbenutzt`, whose routines jump into
// the code as a click in the project tree does.
#include <QObject>
#include <cstdint>

namespace cq {

class MainWindow;
class ProjectBrowser;
class UnusedWindow;

class UnusedReport : public QObject {
  Q_OBJECT

 public:
  // `window` and `browser` outlive the report; the report window belongs to `window`.
  UnusedReport(MainWindow& window, ProjectBrowser& browser, QObject* parent = nullptr);

  // Computes the report and shows it; a failure is shown and changes nothing.
  void run();
  UnusedWindow& reportWindow() { return *reportWindow_; }

 private:
  void jumpTo(std::int64_t routine);

  MainWindow& window_;
  ProjectBrowser& browser_;
  UnusedWindow* reportWindow_;  // owned by the main window
};

}  // namespace cq
