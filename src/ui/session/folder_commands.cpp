// Project folders in the session: opening a saved project, the recent projects
// menu and saving the working folder as a project.
#include <QAction>
#include <QMenu>
#include <system_error>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "text/path_text.h"
#include "projectfolder/project_saving.h"
#include "projectfolder/recent_projects.h"
#include "ui/browse/project_browser.h"
#include "app/text_boundary.h"
#include "ui/commands/command_table.h"
#include "ui/main_window.h"
#include "ui/session/session.h"
#include "ui/trees/host_view.h"

namespace cq {

namespace fs = std::filesystem;

namespace {

// The project's name: the folder's own name, as engine text.
std::string projectNameOf(const fs::path& folder) {
  std::string text = pathToText(folder);
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return fileNameOf(text);
}

}  // namespace

void Session::openProject() {
  const auto folder = window_.messages().askFolder(QStringLiteral("Bitte Projekt auswählen"),
                                                   pathToQString(state_.defaultProjectFolder));
  if (!folder) return;
  if (const Outcome<void> checked = checkProjectFolder(qStringToPath(*folder)); !checked) {
    window_.messages().show(checked.failure());
    return;
  }
  showSavedProject(qStringToPath(*folder));
}

void Session::openRecentProject(int index) {
  const QAction* slot = window_.commands().recentProjectSlot(index);
  if (slot == nullptr || slot->data().toString().isEmpty()) return;
  const fs::path folder = qStringToPath(slot->data().toString());
  // A folder that lost its code database would only fail to show, so it gets
  // the same check as a folder chosen in the dialog.
  if (const Outcome<void> checked = checkProjectFolder(folder); !checked) {
    window_.messages().show(checked.failure());
    return;
  }
  showSavedProject(folder);
}

void Session::showSavedProject(const fs::path& folder) {
  std::error_code error;
  std::optional<FolderLock> lock;
  // The folder open now is locked already: a second lock of this process would refuse it.
  if (!projectLock_ || !fs::equivalent(folder, workingFolder_, error)) {
    Outcome<FolderLock> taken = FolderLock::lock(folder);
    if (!taken) {
      window_.messages().show(taken.failure());
      return;
    }
    lock.emplace(std::move(taken).value());
  }
  if (!browser_->showProject(folder)) return;
  if (lock) projectLock_ = std::move(lock);
  workingFolder_ = folder;
  unsaved_ = false;
  rememberRecentProject(workingFolder_);
  showProjectCaption(workingFolder_);
  hostView_->model().tag = projectNameOf(workingFolder_);
  window_.setCommandState(CommandState::kSavedOrOpened);
}

bool Session::saveProjectAs() {
  MessagePresenter& messages = window_.messages();
  const auto parent = saveParentFolder();
  if (!parent) return false;
  const auto answer = messages.askText(QStringLiteral("Bitte Projektnamen angeben"), QStringLiteral("Projektname"),
                                       toQString(hostView_->model().tag));
  if (!answer) return false;
  std::string name = cleanedProjectName(toEngineText(*answer));
  // Leading dots would hide the folder, and ".." would leave the chosen one.
  name.erase(0, name.find_first_not_of(". "));
  if (name.empty()) return false;

  const fs::path target = saveTarget(*parent, name);
  // Refusals come before any question, while the project is still open.
  const Outcome<SaveTarget> found = checkSaveTarget(workingFolder_, target);
  if (!found) {
    messages.show(found.failure());
    return false;
  }
  const bool overwrite = found.value() == SaveTarget::Project;
  if (overwrite && messages.question(overwriteQuestion(target), QuestionButtons::YesNo) != Answer::Yes) return false;

  browser_->closeDatabase();
  const Outcome<fs::path> saved = saveProject(workingFolder_, target, overwrite);
  if (!saved) {
    messages.show(saved.failure());
    reopenDatabase();
    return false;
  }
  workingFolder_ = saved.value();
  projectLock_.reset();
  if (Outcome<FolderLock> taken = FolderLock::lock(workingFolder_)) projectLock_.emplace(std::move(taken).value());
  unsaved_ = false;
  reopenDatabase();
  rememberRecentProject(workingFolder_);
  showProjectCaption(workingFolder_);
  window_.setCommandState(CommandState::kSavedOrOpened);
  return true;
}

void Session::reopenDatabase() {
  if (const Outcome<void> reopened = browser_->reopenDatabase(workingFolder_); !reopened)
    window_.messages().show(reopened.failure());
}

std::optional<fs::path> Session::saveParentFolder() {
  std::error_code error;
  if (state_.display.alwaysUseProjectFolder && fs::is_directory(state_.defaultProjectFolder, error))
    return state_.defaultProjectFolder;
  const auto chosen = window_.messages().askFolder(QStringLiteral("Bitte Projektpfad auswählen"),
                                                   pathToQString(state_.defaultProjectFolder));
  if (!chosen) return std::nullopt;
  return qStringToPath(*chosen);
}

void Session::rememberRecentProject(const fs::path& folder) {
  showRecentProjects(addRecentProject(settings_, folder.native()));
}

void Session::showRecentProjects(const std::vector<std::string>& folders) {
  const CommandTable& commands = window_.commands();
  for (int index = 0; QAction* slot = commands.recentProjectSlot(index); ++index) {
    const bool filled = static_cast<std::size_t>(index) < folders.size();
    if (filled) {
      const std::string& folder = folders[static_cast<std::size_t>(index)];
      slot->setText(pathToQString(recentMenuCaption(index, folder)));
      slot->setData(pathToQString(folder));
      // The caption names only the folder; the tooltip says where it lies.
      slot->setToolTip(pathToQString(folder));
      if (auto* menu = qobject_cast<QMenu*>(slot->parent())) menu->setToolTipsVisible(true);
    }
    slot->setVisible(filled);
    slot->setEnabled(filled);
  }
}

void Session::showProjectCaption(const fs::path& folder) {
  setCaption(QStringLiteral(" Projekt: ") + toQString(projectNameOf(folder)));
}

}  // namespace cq
