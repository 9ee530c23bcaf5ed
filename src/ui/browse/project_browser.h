#pragma once
// Browsing a project that is shown: the project tree, the module views, node
// activation, the routine at the caret, the history of visited routines and the
// zoom view. It owns the open code database of the working folder.
#include <QObject>
#include <filesystem>
#include <memory>

#include "codedb/code_database.h"
#include "render/render_options.h"
#include "ui/history/position_history.h"

class QAction;
class QPoint;

namespace cq {

class CodeView;
class MainWindow;
class ModuleViews;
class ProjectTreeView;
struct DisplaySettings;
struct NodeActivation;

class ProjectBrowser : public QObject {
  Q_OBJECT

 public:
  // Puts the module views into the window's code pane and wires the history,
  // zoom and status bar commands. `window` and `settings` outlive the browser.
  ProjectBrowser(MainWindow& window, const DisplaySettings& settings, QObject* parent = nullptr);
  ~ProjectBrowser() override;

  // Shows the project in `workingFolder` ("Lese Projekt"): opens its code
  // database, fills the project tree and the module views, activates the first
  // node. False (after showing "Projekt in … ist nicht mehr intakt" with the
  // cause) when the database cannot be opened or read; the project shown before
  // then stays shown, with its database open.
  bool showProject(const std::filesystem::path& workingFolder);

  // The code view reset: history, module views, zoom, panels, read command off.
  void reset();

  // The open code database, or nullptr. closeDatabase() never reports anything;
  // reopenDatabase() opens the database of the shown project where it now lies
  // (after a save; the module views follow it there) and fails like
  // CodeDatabase::open.
  CodeDatabase* database() const { return database_.get(); }
  void closeDatabase();
  Outcome<void> reopenDatabase(const std::filesystem::path& workingFolder);

  // Caret tracking runs only while a shown project is browsed.
  void setCaretTracking(bool on) { caretTracking_ = on; }
  bool caretTracking() const { return caretTracking_; }

  // The display settings' rendering with the shown project's code page, which
  // RTF names and writes its characters for.
  RenderOptions renderOptions() const;

  // The folder and module count of the project shown last.
  const std::filesystem::path& workingFolder() const { return folder_; }
  int moduleCount() const { return moduleCount_; }

  // The caret of the current view was put there by other means than a node
  // (a search hit): the routine panel asks again for its line, the module panel
  // and the highlight follow the current module. Nothing enters the history.
  void showCaretPlace();

  ModuleViews& moduleViews() { return *moduleViews_; }
  ProjectTreeView& projectTree() { return *projectTree_; }
  const PositionHistory& history() const { return history_; }
  bool isZoomOn() const;

  // Pushes the current module and caret with the texts of panels 1 and 2, which
  // callers set before.
  void rememberPosition();
  // The current history entry keeps `caret` as where the user left (a jump away
  // from there follows).
  void rememberDeparture(std::size_t caret) { history_.setCurrentCaret(caret); }

 signals:
  // The code view was reset: whatever was shown of the project before is gone.
  void viewReset();

 private:
  void activate(const NodeActivation& node);
  void switchToModule(int index);
  void stepHistory(int panel);
  void trackCaret(int viewIndex);
  void showZoom(bool on);
  void fillZoomForCaret();
  void focusCode();
  void showHistoryState();
  // The tree's current node becomes the routine the caret stands in, or the
  // current module's node outside every routine.
  void selectNodeAtCaret();
  void wireContextMenus();
  void showContextMenu(CodeView* view, const QPoint& viewportPosition);
  QAction* zoomCommand() const;

  MainWindow& window_;
  const DisplaySettings& settings_;
  std::unique_ptr<CodeDatabase> database_;
  ModuleViews* moduleViews_ = nullptr;  // owned by the code pane
  std::unique_ptr<ProjectTreeView> projectTree_;
  PositionHistory history_;
  std::filesystem::path folder_;
  int moduleCount_ = 0;
  int codePage_ = 1252;
  long long lastCaretLine_ = -1;
  bool caretTracking_ = false;
};

}  // namespace cq
