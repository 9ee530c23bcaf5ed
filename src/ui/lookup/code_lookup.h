#pragma once
// Go to definition (F8) and the call list (Ctrl+F8, a double click on the
// routine panel) on the shown project, the call list tree `treRoutSuche` with
// its toolbar, and the captions of the code view's popup items for both.
#include <QObject>
#include <string>

namespace cq {

class MainWindow;
class ProjectBrowser;

class CodeLookup : public QObject {
  Q_OBJECT

 public:
  // `window` and `browser` outlive the lookup.
  CodeLookup(MainWindow& window, ProjectBrowser& browser, QObject* parent = nullptr);

  // Jumps from the identifier at the caret to the first line of the routine of
  // that name: two history entries, where the user left and where they arrived.
  void goToDefinition();
  // Lists every routine naming the routine of the routine panel in `treRoutSuche`,
  // which takes the project tree's place; with none, the project tree returns.
  void showCallers();
  // "&Routinensuche schliessen" (also after a reset of the code view): the
  // project tree and the main toolbar return.
  void closeCallList();

 private:
  bool jumpToDefinition(const std::string& name);
  void prepareCodeViewPopup();

  MainWindow& window_;
  ProjectBrowser& browser_;
};

}  // namespace cq
