// The host side of the session: documents opened in the host, the host view and
// reading the ticked modules into the instance folder.
#include <QAction>
#include <QPlainTextEdit>

#include "app/app_state.h"
#include "sources/project_reader.h"
#include "ui/browse/project_browser.h"
#include "app/text_boundary.h"
#include "ui/commands/command_table.h"
#include "ui/main_window.h"
#include "ui/session/read_progress_host.h"
#include "ui/session/read_report.h"
#include "ui/session/session.h"
#include "ui/dialogs/document_filter.h"
#include "ui/wait_cursor.h"
#include "ui/status_bar.h"
#include "ui/trees/host_view.h"
#include "ui/trees/project_tree_view.h"

namespace cq {

void Session::openDocumentFiles() {
  const QStringList files = window_.messages().askFiles(QStringLiteral("Dokument öffnen"),
                                                        pathToQString(state_.defaultProjectFolder), documentFileFilter());
  if (!files.isEmpty()) openDocuments(files);
}

void Session::openModuleFolder() {
  const auto folder = window_.messages().askFolder(QStringLiteral("Ordner mit Moduldateien öffnen"),
                                                   pathToQString(state_.defaultProjectFolder));
  if (folder) openDocuments({*folder});
}

void Session::openDocuments(const QStringList& paths) {
  // Asked before the documents open, so that "Abbrechen" leaves the host as it was.
  if (!mayDropProject()) return;
  hostView_->openDocuments(paths);
  refreshHostView();
}

bool Session::mayDropProject() {
  if (!unsaved_) return true;
  const Answer answer = window_.messages().question(
      QStringLiteral("Projekt wurde nicht gespeichert !\r\nProjekt jetzt speichern ?"), QuestionButtons::YesNoCancel);
  if (answer == Answer::Cancel) return false;
  // A save that was cancelled or refused keeps the project, as "Abbrechen" does.
  if (answer == Answer::Yes) return saveProjectAs();
  unsaved_ = false;
  return true;
}

void Session::refreshHostView() {
  if (!mayDropProject()) return;
  setCaption({});
  window_.setCommandState(CommandState::kNoProject);
  showHostView();
}

void Session::showHostView() {
  browser_->closeDatabase();
  browser_->setCaretTracking(false);
  browser_->projectTree().clear();
  browser_->reset();
  window_.hideCallListToolbar();  // a call list that was open closes with the project
  WindowPanes& panes = window_.panes();
  panes.showLeftPane(LeftPane::HostTree);
  const Outcome<HostTreeFill> fill = hostView_->refresh(state_.display.moduleFileCodePage);
  // The host view shows its status text when there is nothing to tick.
  panes.showLeftPane(panes.hostStatusText()->isHidden() ? LeftPane::HostTree : LeftPane::HostStatus);
  enableReadCommand(hostView_->anyTicked());
  enableExportCommand(hostView_->anyTicked());
  if (!fill) window_.messages().show(fill.failure(), DialogKind::Plain);
}

void Session::enableReadCommand(bool anyTicked) {
  window_.commands().action(QStringLiteral("mnuBearbeiten_Code"))->setEnabled(anyTicked);
}

void Session::readTickedCode() {
  browser_->setCaretTracking(false);
  if (!hostView_->anyTicked()) {
    window_.messages().plain(QStringLiteral("Bitte wählen Sie erst etwas aus"));
    return;
  }
  browser_->closeDatabase();
  workingFolder_ = instancePath_;
  projectLock_.reset();
  // Without an instance folder of its own the session must not empty the
  // temporary folder that other instances share.
  if (instance_) deleteTemporaryFiles(workingFolder_);
  unsaved_ = false;  // an unsaved project lived in the instance folder: it is gone now

  StatusBar& panels = window_.statusPanels();
  const Outcome<ProjectRead> read = [&] {
    const WaitCursor waiting;
    panels.setText(StatusBar::kProgressPanel, QStringLiteral("Erzeuge Projekt"));
    ReadProgressHost host(hostView_->host(), [&panels](const std::string& componentName) {
      panels.setEngineText(StatusBar::kModulePanel, "Modul: " + componentName);
      panels.repaint();
    });
    Outcome<ProjectRead> result =
        readTickedModules(host, hostView_->model(),
                          ProjectReadRequest{state_.templateFile, workingFolder_, state_.display.markup});
    panels.setText(StatusBar::kProgressPanel, {});
    return result;
  }();
  if (!read || !read->attached) {
    // Nothing open to read from says nothing; the refresh shows the host status.
    if (!read) window_.messages().show(read.failure());
    refreshHostView();
    return;
  }
  if (!browser_->showProject(workingFolder_)) {
    refreshHostView();
    return;
  }
  unsaved_ = true;
  setCaption(QStringLiteral(" Projekt: ") + toQString(hostView_->model().tag) +
             kUnsavedMarker.toString());
  window_.setCommandState(CommandState::kReadNotSaved);
  if (!read->warnings.empty()) window_.messages().information(readWarningsText(read->warnings));
}

}  // namespace cq
