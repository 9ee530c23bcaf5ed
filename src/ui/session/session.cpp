#include "ui/session/session.h"

#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <functional>

#include "app/app_state.h"
#include "app/settings_store.h"
#include "app/text_boundary.h"
#include "projectfolder/recent_projects.h"
#include "text/path_text.h"
#include "ui/about/about_box.h"
#include "ui/browse/project_browser.h"
#include "ui/commands/command_table.h"
#include "ui/compact/compact_window.h"
#include "ui/exports/export_commands.h"
#include "ui/lookup/code_lookup.h"
#include "ui/main_window.h"
#include "ui/options/options_dialog.h"
#include "ui/search/search_controller.h"
#include "ui/trees/host_view.h"
#include "ui/trees/structure_copy.h"
#include "ui/unused/unused_report.h"
#include "ui/compare/compare_window.h"
#include "ui/window_log.h"

namespace cq {

using namespace Qt::StringLiterals;

namespace {

// The refresh command's caption as the menu shows it, for the host status texts.
std::string refreshCaption(MainWindow& window) {
  return toEngineText(window.commands().action(u"mnuAnsicht_App_Aktualisieren"_s)->text().remove(u'&'));
}

// The local files and folders a drag carries; empty when it carries none.
QStringList droppedPaths(const QMimeData* data) {
  QStringList paths;
  if (data == nullptr || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths.append(url.toLocalFile());
  }
  return paths;
}

}  // namespace

Session::Session(MainWindow& window, AppState& state, SettingsStore& settings)
    : QObject(nullptr),
      window_(window),
      state_(state),
      settings_(settings),
      browser_(std::make_unique<ProjectBrowser>(window, state.display)),
      lookup_(std::make_unique<CodeLookup>(window, *browser_)),
      unusedReport_(std::make_unique<UnusedReport>(window, *browser_)),
      hostView_(std::make_unique<HostView>(window.panes().hostTree(), window.panes().hostStatusText(),
                                           std::string(state.edition.name), refreshCaption(window))),
      compactView_(new CompactView(window, state)),
      instancePath_(state.temporaryFolder),
      workingFolder_(state.temporaryFolder) {
  connectCommands();
  exports_ = std::make_unique<ExportCommands>(window_, state_, *browser_,
                                              [this] { return hostView_->model().tag; });
  new SearchController(window_, *browser_, this);
  window_.setAcceptDrops(true);
  window_.installEventFilter(this);
}

Session::~Session() { shutdown(); }

void Session::connectCommands() {
  CommandTable& commands = window_.commands();
  const auto wire = [&](const QString& name, std::function<void()> operation) {
    QAction* action = commands.action(name);
    connect(action, &QAction::triggered, this, std::move(operation));
  };
  wire(u"mnuDokumentOeffnen"_s, [this] { openDocumentFiles(); });
  wire(u"mnuOrdnerOeffnen"_s, [this] { openModuleFolder(); });
  wire(u"mnuNeu"_s, [this] { refreshHostView(); });
  wire(u"mnuAnsicht_App_Aktualisieren"_s, [this] { refreshHostView(); });
  wire(u"mnuBearbeiten_Code"_s, [this] { readTickedCode(); });
  wire(u"mnuModuleExportieren"_s, [this] { exportModules(); });
  wire(u"mnuProjekteVergleichen"_s, [this] {
    if (!compareWindow_) compareWindow_ = new CompareWindow(&window_, state_, window_.messages());
    compareWindow_->show();
    compareWindow_->raise();
    compareWindow_->activateWindow();
  });
  wire(u"mnuÖffnen"_s, [this] { openProject(); });
  wire(u"mnuSpeichern"_s, [this] { saveProjectAs(); });
  wire(u"mnuExtras_Struktur"_s, [this] { copyShownTreeStructure(window_, state_.display.confirmClipboardCopy); });
  wire(u"mnuAnsicht_Spezial"_s, [this] { compactView_->show(); });
  wire(u"mnuExtras_Optionen"_s, [this] { showOptionsDialog(state_, settings_, window_.messages(), &window_); });
  wire(u"mnuHilfe_Info"_s, [this] { showAboutBox(state_, window_); });
  // These commands are available in every command state; the refresh asks
  // about an unsaved project as "&Neu" does.
  for (const QString& name : {u"mnuDokumentOeffnen"_s, u"mnuOrdnerOeffnen"_s, u"mnuProjekteVergleichen"_s,
                              u"mnuÖffnen"_s, u"mnuExtras_Struktur"_s, u"mnuAnsicht_Spezial"_s,
                              u"mnuExtras_Optionen"_s, u"mnuHilfe_Info"_s, u"mnuAnsicht_App_Aktualisieren"_s})
    commands.action(name)->setEnabled(true);
  for (int index = 0; QAction* slot = commands.recentProjectSlot(index); ++index)
    connect(slot, &QAction::triggered, this, [this, index] { openRecentProject(index); });
  connect(hostView_.get(), &HostView::tickedChanged, this, &Session::enableReadCommand);
  connect(hostView_.get(), &HostView::tickedChanged, this, &Session::enableExportCommand);
}

void Session::start(const QStringList& documents, bool compactWindow) {
  // Only a lone instance may clear away what ended runs left behind.
  if (!anotherInstanceRuns(state_.temporaryFolder)) cleanUpTemporaryFolder(state_.temporaryFolder);
  showRecentProjects(loadRecentProjects(settings_));
  createInstanceFolder();
  window_.commands().toolbarButton(QStringLiteral("blind"))->setVisible(false);
  hostView_->openDocuments(documents);
  refreshHostView();
  if (state_.display.applyScreenPreset) window_.applyScreenPreset();
  if (compactWindow)
    compactView_->show();
  else
    window_.show();
}

void Session::createInstanceFolder() {
  Outcome<InstanceFolder> created = InstanceFolder::create(state_.temporaryFolder);
  if (created) {
    instance_.emplace(std::move(created).value());
    instancePath_ = instance_->path();
  } else {
    window_.messages().show(created.failure(), DialogKind::Plain);
  }
  workingFolder_ = instancePath_;
}

void Session::shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  // Nothing here may keep the window from closing, so failures go to the log only.
  try {
    browser_->closeDatabase();
    workingFolder_ = instancePath_;
    projectLock_.reset();
    if (instance_) instance_->remove();
  } catch (const std::exception& error) {
    logFailure("shutdown", Failure{systemText(error.what())});
  }
}

void Session::setCaption(const QString& suffix) {
  window_.setWindowTitle(toQString(state_.programTitle) + suffix);
}

bool Session::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &window_) return false;
  switch (event->type()) {
    case QEvent::Close:
      if (!mayDropProject()) {
        event->ignore();
        return true;
      }
      shutdown();
      return false;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (droppedPaths(drag->mimeData()).isEmpty()) return false;
      drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QStringList paths = droppedPaths(drop->mimeData());
      if (paths.isEmpty()) return false;
      drop->acceptProposedAction();
      openDocuments(paths);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace cq
