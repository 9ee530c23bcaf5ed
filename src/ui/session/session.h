#pragma once
// The life of the main window: start and shutdown, the working folder with the
// private instance folder, the host documents and the host view, reading ticked
// modules into a project, and opening and saving project folders. It wires these
// operations to the window's commands and keeps caption and command state.
#include <QObject>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "projectfolder/folder_lock.h"
#include "projectfolder/working_folders.h"

namespace cq {

struct AppState;
class CodeLookup;
class CompactView;
class CompareWindow;
class HostView;
class MainWindow;
class ExportCommands;
class ProjectBrowser;
class SettingsStore;
class UnusedReport;

class Session : public QObject {
  Q_OBJECT

 public:
  // The marker of a project read from the host and not yet saved.
  static constexpr QStringView kUnsavedMarker = u" [nicht gespeichert !!!]";

  // `window`, `state` and `settings` outlive the session.
  Session(MainWindow& window, AppState& state, SettingsStore& settings);
  ~Session() override;

  // Cleans up after ended runs, fills the recent projects menu, creates the
  // instance folder, opens `documents` in the host, refreshes the host view and
  // shows the window (placed by the screen preset when "usb" is on), or with
  // `compactWindow` ("/a") the compact clipboard window in its place.
  void start(const QStringList& documents, bool compactWindow = false);
  // Closes the code database and removes the instance folder. Silent; runs once,
  // when the window closes (an unsaved project is asked about first, and
  // "Abbrechen" keeps the window open) or the session ends.
  void shutdown();

  // The commands, callable directly as well as through the window's actions.
  void openDocumentFiles();  // "Dokument &öffnen ..."
  void openModuleFolder();   // "&Ordner öffnen ..."
  void openDocuments(const QStringList& paths);  // command line, drops
  void refreshHostView();    // "&Aktualisieren", "&Neu"
  void readTickedCode();     // "&Code Einlesen"
  void exportModules();      // "Module &exportieren ..."
  void openProject();        // "&Öffnen ..."
  void openRecentProject(int index);
  bool saveProjectAs();      // "&Speichern Unter ..."; true when saved

  const std::filesystem::path& workingFolder() const { return workingFolder_; }
  // A project read from the host is shown and has not been saved.
  bool hasUnsavedProject() const { return unsaved_; }
  // The saved instance folder; the temporary folder when none could be created.
  const std::filesystem::path& instanceFolder() const { return instancePath_; }
  HostView& hostView() { return *hostView_; }
  CompactView& compactView() { return *compactView_; }
  ProjectBrowser& browser() { return *browser_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void connectCommands();
  void createInstanceFolder();
  void setCaption(const QString& suffix);
  // Before an unsaved project would be dropped: asks "Projekt jetzt speichern ?";
  // Ja saves it, Nein lets it go. False when the project stays (Abbrechen, or the
  // save did not happen).
  bool mayDropProject();

  // The host view in the left pane, refilled from the open documents.
  void showHostView();
  void enableReadCommand(bool anyTicked);
  void enableExportCommand(bool anyTicked);

  // Makes `folder` (a saved project) the working folder, locked, and shows it;
  // when it cannot be locked or shown, everything stays as it was.
  void showSavedProject(const std::filesystem::path& folder);
  void showRecentProjects(const std::vector<std::string>& folders);
  void rememberRecentProject(const std::filesystem::path& folder);
  void showProjectCaption(const std::filesystem::path& folder);
  std::optional<std::filesystem::path> saveParentFolder();
  // Opens the working folder's code database again after a save.
  void reopenDatabase();

  MainWindow& window_;
  AppState& state_;
  SettingsStore& settings_;
  std::unique_ptr<ProjectBrowser> browser_;
  std::unique_ptr<CodeLookup> lookup_;
  std::unique_ptr<UnusedReport> unusedReport_;
  std::unique_ptr<HostView> hostView_;
  CompactView* compactView_ = nullptr;  // a child of the window
  CompareWindow* compareWindow_ = nullptr;  // a child of the window, made when first asked for
  std::unique_ptr<ExportCommands> exports_;
  std::optional<InstanceFolder> instance_;
  std::filesystem::path instancePath_;
  std::filesystem::path workingFolder_;
  // Held while a saved project is the working folder, so that no command-line
  // read or export writes into the project the window shows.
  std::optional<FolderLock> projectLock_;
  bool unsaved_ = false;
  bool shutDown_ = false;
};

}  // namespace cq
