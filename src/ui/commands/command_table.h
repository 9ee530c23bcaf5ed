#pragma once
// Every command of the main window as a QAction named after its menu item, the
// menus, the toolbars `tobSymb1` and `tobSuche`, and the code view's popup menus.
//
// Wiring an operation: connect to the menu action's `triggered` signal and
// enable it. Toolbar buttons and popup items trigger their menu action and
// follow its enabled and checked state, so one connection serves all of them.
// Commands whose operation is not wired stay disabled.
#include <QHash>
#include <QObject>
#include <QString>
#include <span>
#include <vector>

#include "app/edition.h"
#include "ui/commands/command_definitions.h"

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;

namespace cq {

// What the commands can work on, which decides the ones enabled.
enum class CommandState {
  kNoProject = 0,
  kReadNotSaved = 1,   // read from documents, not saved yet
  kSavedOrOpened = 2,  // saved as a project folder, or opened from one
};

class CommandTable : public QObject {
  Q_OBJECT

 public:
  // Builds the menus into `menuBar`; the toolbars are created without a place
  // and put into the window's top band by the window.
  CommandTable(QMenuBar* menuBar, const Edition& edition, QWidget* owner);

  // A menu item, a menu ("mnuRtf") or a popup item by its objectName; nullptr
  // when there is none.
  QAction* action(const QString& name) const;
  // A toolbar button by its key, compared without regard to case.
  QAction* toolbarButton(const QString& key) const;
  // The menu slot of recent project `index` (0..9), nullptr outside.
  QAction* recentProjectSlot(int index) const;
  // "mnuPopUpHaupt", "mnuPopUpEinlesen" or "mnuPopUp_Zoom".
  QMenu* popupMenu(const QString& name) const;

  QToolBar* mainToolbar() const { return mainToolbar_; }
  QToolBar* searchToolbar() const { return searchToolbar_; }
  // `lblRoutSuche`: the routine whose call list is shown, beside "close".
  QLabel* callListLabel() const { return callListLabel_; }

  // Enables and disables the commands that depend on the command state.
  void applyCommandState(CommandState state);

 private:
  void buildMenus(QMenuBar* menuBar);
  QToolBar* buildToolbar(const char* name, std::span<const ToolbarButtonDefinition> buttons, QWidget* owner);
  void buildPopups(QWidget* owner);
  // Lets `follower` run `command` and show its enabled (and checked) state.
  void follow(QAction* follower, QAction* command);
  QAction* requireAction(const QString& name) const;

  QHash<QString, QAction*> actions_;
  QHash<QString, QMenu*> popups_;
  std::vector<QAction*> toolbarButtons_;
  QToolBar* mainToolbar_ = nullptr;
  QToolBar* searchToolbar_ = nullptr;
  QLabel* callListLabel_ = nullptr;
};

}  // namespace cq
