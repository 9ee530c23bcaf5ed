#pragma once
// The main window `frmHaupt`: menus and toolbars in the top band with the
// search box, the panes in the middle, the status bar at the bottom.
//
// The host tree, project tree, reading, history and zoom are wired in from
// outside through commands(), panes(), statusPanels() and the setters below.
#include <QMainWindow>
#include <QStringList>
#include <filesystem>
#include <functional>

#include "ui/message_presenter.h"
#include "ui/window_panes.h"

class QLineEdit;
class QUrl;

namespace cq {

struct AppState;
class CommandTable;
enum class CommandState;
class SettingsStore;
class StatusBar;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  using UrlOpener = std::function<bool(const QUrl&)>;

  // `state` and `settings` outlive the window.
  MainWindow(AppState& state, SettingsStore& settings, QWidget* parent = nullptr);
  ~MainWindow() override;

  CommandTable& commands() { return *commands_; }
  StatusBar& statusPanels() { return *statusPanels_; }
  WindowPanes& panes() { return *panes_; }
  MessagePresenter& messages() { return messages_; }
  QLineEdit* searchBox() const { return searchBox_; }  // txtSuche

  // Enables the commands of a command state and sets the code-loaded flag;
  // with no project the status panels show their names again.
  void setCommandState(CommandState state);
  bool codeLoaded() const { return codeLoaded_; }

  // Back and forward through the position history: the status panel and its
  // menu item always together.
  void setHistoryBackEnabled(bool enabled);
  void setHistoryForwardEnabled(bool enabled);

  // The call list's toolbar `tobSuche` (with the routine's name and its close
  // button) beside `tobSymb1`, and away again.
  void showCallListToolbar(const QString& routineName);
  void hideCallListToolbar();

  // Asks, then stores the window's placement in the state and as setting "bis".
  void storeScreenPreset();
  // Applies the stored placement; does not show the window.
  void applyScreenPreset();

  // Opens the HTML manual, or says where it should be.
  void showHelp();
  // Where the manual is looked for after the program folder.
  void setInstalledDataFolder(std::filesystem::path folder) { installedDataFolder_ = std::move(folder); }
  // Replaces the desktop's URL handler (tests).
  void setUrlOpener(UrlOpener opener) { urlOpener_ = std::move(opener); }
  // Opens a page or file with the desktop's program; false when none took it.
  bool openUrl(const QUrl& url) const { return urlOpener_(url); }

  // Documents named on the command line. They are only recorded here until
  // the host view takes them over.
  void setStartDocuments(const QStringList& paths) { startDocuments_ = paths; }
  const QStringList& startDocuments() const { return startDocuments_; }

 private:
  QWidget* buildTopBand();
  void connectFrameCommands();

  AppState& state_;
  SettingsStore& settings_;
  MessagePresenter messages_;
  CommandTable* commands_ = nullptr;
  StatusBar* statusPanels_ = nullptr;
  WindowPanes* panes_ = nullptr;
  QLineEdit* searchBox_ = nullptr;
  bool codeLoaded_ = false;
  std::filesystem::path installedDataFolder_;
  UrlOpener urlOpener_;
  QStringList startDocuments_;
};

}  // namespace cq
