#include "sources/vba/code_page.h"
#include "ui/browse/project_browser.h"

#include <QAction>
#include <QApplication>
#include <QLayout>
#include <QTreeWidget>
#include <charconv>
#include <optional>
#include <string>

#include "app/display_settings.h"
#include "text/path_text.h"
#include "ui/code/code_view.h"
#include "ui/code/module_views.h"
#include "ui/code/text_operations.h"
#include "ui/commands/command_table.h"
#include "ui/main_window.h"
#include "ui/status_bar.h"
#include "ui/trees/project_tree_view.h"
#include "ui/wait_cursor.h"
#include "ui/window_log.h"

namespace cq {

namespace {

// The number of a node key such as "M3" or "R17", from its second character on.
std::optional<long long> numberOfKey(const std::string& key) {
  if (key.size() < 2) return std::nullopt;
  long long number = 0;
  const char* end = key.data() + key.size();
  const auto result = std::from_chars(key.data() + 1, end, number);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return number;
}

}  // namespace

ProjectBrowser::ProjectBrowser(MainWindow& window, const DisplaySettings& settings, QObject* parent)
    : QObject(parent), window_(window), settings_(settings) {
  QWidget* codePane = window_.panes().codePane();
  moduleViews_ = new ModuleViews([this] { return renderOptions(); }, codePane);
  codePane->layout()->addWidget(moduleViews_);
  projectTree_ = std::make_unique<ProjectTreeView>(window_.panes().projectTree());

  connect(projectTree_.get(), &ProjectTreeView::activated, this, &ProjectBrowser::activate);
  connect(moduleViews_, &ModuleViews::caretActivity, this, &ProjectBrowser::trackCaret);
  // A module file that went missing or cannot be read must not just show an empty view.
  connect(moduleViews_, &ModuleViews::moduleUnreadable, this,
          [this](int, const Failure& failure) { window_.messages().show(failure); });
  connect(&window_.statusPanels(), &StatusBar::panelClicked, this, &ProjectBrowser::stepHistory);
  CommandTable& commands = window_.commands();
  connect(commands.action(QStringLiteral("mnuBearbeiten_RouBew_3")), &QAction::triggered, this,
          [this] { stepHistory(StatusBar::kBackPanel); });
  connect(commands.action(QStringLiteral("mnuBearbeiten_RouBew_4")), &QAction::triggered, this,
          [this] { stepHistory(StatusBar::kForwardPanel); });
  // The toolbar button and both popup items run this action, so its check mark
  // is the one zoom state.
  connect(zoomCommand(), &QAction::toggled, this, &ProjectBrowser::showZoom);
  wireContextMenus();
}

ProjectBrowser::~ProjectBrowser() = default;

bool ProjectBrowser::showProject(const std::filesystem::path& workingFolder) {
  StatusBar& panels = window_.statusPanels();
  panels.setText(StatusBar::kProgressPanel, QStringLiteral("Lese Projekt"));
  const WaitCursor waitCursor;
  // The new database and the tree first: when either fails, the project shown
  // so far stays as it was, with its database.
  Outcome<std::unique_ptr<CodeDatabase>> opened = CodeDatabase::open(workingFolder);
  const Outcome<int> filled =
      opened ? projectTree_->fill(*opened.value(), settings_.expandProjectTree) : Outcome<int>(opened.failure());
  const Outcome<int> codePage = filled ? opened.value()->codePage() : Outcome<int>(filled.failure());
  if (!codePage) {
    panels.setText(StatusBar::kProgressPanel, QString());
    window_.messages().show(
        Failure{"Projekt in " + pathToText(workingFolder) + "\r\nist nicht mehr intakt", codePage.failure().text()});
    return false;
  }
  reset();
  database_ = std::move(opened).value();
  folder_ = workingFolder;
  moduleCount_ = filled.value();
  codePage_ = codePage.value();
  window_.panes().showLeftPane(LeftPane::ProjectTree);
  moduleViews_->loadProject(workingFolder, moduleCount_);
  wireContextMenus();
  caretTracking_ = true;
  QTreeWidget* tree = window_.panes().projectTree();
  if (QTreeWidgetItem* first = tree->topLevelItem(0)) {
    tree->setCurrentItem(first);
    projectTree_->activate(first);
  }
  // Which code page the project's code came in, so that a user who sees odd
  // characters knows why.
  panels.setEngineText(StatusBar::kProgressPanel, "Zeichensatz: " + codePageName(codePage_));
  return true;
}

RenderOptions ProjectBrowser::renderOptions() const {
  RenderOptions options = settings_.render;
  options.codePage = codePage_;
  return options;
}

void ProjectBrowser::reset() {
  window_.setHistoryBackEnabled(false);
  window_.setHistoryForwardEnabled(false);
  lastCaretLine_ = -1;
  WindowPanes& panes = window_.panes();
  if (panes.leftPane() == LeftPane::HostStatus) panes.showLeftPane(LeftPane::HostTree);
  history_.clear();
  moduleViews_->reset();
  // Reading needs ticked modules again; the host tree enables it when there are some.
  window_.commands().action(QStringLiteral("mnuBearbeiten_Code"))->setEnabled(false);
  zoomCommand()->setChecked(false);
  moduleViews_->setZoomVisible(false);
  emit viewReset();
}

void ProjectBrowser::closeDatabase() { database_.reset(); }

Outcome<void> ProjectBrowser::reopenDatabase(const std::filesystem::path& workingFolder) {
  database_.reset();
  folder_ = workingFolder;
  moduleViews_->moveProject(workingFolder);
  Outcome<std::unique_ptr<CodeDatabase>> opened = CodeDatabase::open(workingFolder);
  if (!opened) return opened.failure();
  database_ = std::move(opened).value();
  return {};
}

void ProjectBrowser::activate(const NodeActivation& node) {
  const auto moduleNumber = numberOfKey(node.moduleKey);
  if (!moduleNumber) return;
  switchToModule(static_cast<int>(*moduleNumber - 1));
  StatusBar& panels = window_.statusPanels();
  CodeView& view = moduleViews_->current();
  if (node.key == node.moduleKey) {
    panels.setEngineText(StatusBar::kModulePanel, node.text);
    projectTree_->highlightModule(moduleViews_->currentIndex());
    panels.setText(StatusBar::kRoutinePanel, QString());
    view.setCaret(0);
  } else {
    // A routine that is no longer in the table leaves the view where it was.
    const auto routineNumber = numberOfKey(node.key);
    std::optional<std::int64_t> start;
    if (routineNumber && database_) {
      const Outcome<std::optional<std::int64_t>> found = database_->routineStart(*routineNumber);
      if (found)
        start = found.value();
      else
        logFailure("start of the routine", found.failure());
    }
    if (start) goToLine(view, *start);
    panels.setEngineText(StatusBar::kModulePanel, node.moduleText);
    projectTree_->highlightModule(moduleViews_->currentIndex());
    panels.setEngineText(StatusBar::kRoutinePanel, node.text);
    rememberPosition();
  }
  focusCode();
}

// Also for the module shown, which takes options changed meanwhile.
void ProjectBrowser::switchToModule(int index) { moduleViews_->showModule(index); }

void ProjectBrowser::trackCaret(int viewIndex) {
  if (!caretTracking_ || !database_) return;
  CodeView& view = moduleViews_->view(viewIndex);
  if (view.text().empty()) return;
  const auto line = static_cast<long long>(caretLine(view));
  if (line == lastCaretLine_) return;
  lastCaretLine_ = line;
  const Outcome<std::optional<RoutineAtLine>> routine = database_->routineAtLine(line + 1, viewIndex + 1);
  if (!routine) logFailure("routine at the caret", routine.failure());
  StatusBar& panels = window_.statusPanels();
  if (routine && routine.value())
    panels.setEngineText(StatusBar::kRoutinePanel, routine.value()->name);
  else
    panels.setText(StatusBar::kRoutinePanel, QString());
}

void ProjectBrowser::showCaretPlace() {
  const int index = moduleViews_->currentIndex();
  lastCaretLine_ = -1;  // another module may have had its caret on the same line
  trackCaret(index);
  if (const QTreeWidgetItem* module = projectTree_->nodeByKey(std::string("M").append(std::to_string(index + 1))))
    window_.statusPanels().setText(StatusBar::kModulePanel, module->text(0));
  projectTree_->highlightModule(index);
}

}  // namespace cq
