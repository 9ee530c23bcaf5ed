#include "ui/lookup/code_lookup.h"

#include <QAction>
#include <QMenu>
#include <QTreeWidget>

#include "analysis/call_search.h"
#include "analysis/definition_lookup.h"
#include "analysis/identifiers.h"
#include "app/text_boundary.h"
#include "codedb/code_database_index.h"
#include "projectfolder/module_texts.h"
#include "ui/browse/project_browser.h"
#include "ui/code/code_view.h"
#include "ui/code/module_views.h"
#include "ui/code/text_operations.h"
#include "ui/commands/command_table.h"
#include "ui/main_window.h"
#include "ui/status_bar.h"
#include "ui/trees/project_tree_view.h"
#include "ui/wait_cursor.h"

namespace cq {

using namespace Qt::StringLiterals;

CodeLookup::CodeLookup(MainWindow& window, ProjectBrowser& browser, QObject* parent)
    : QObject(parent), window_(window), browser_(browser) {
  CommandTable& commands = window_.commands();
  connect(commands.action(u"mnuBearbeiten_Definition"_s), &QAction::triggered, this, &CodeLookup::goToDefinition);
  connect(commands.action(u"mnuBearbeiten_Rout"_s), &QAction::triggered, this, &CodeLookup::showCallers);
  connect(commands.action(u"mnuAnsicht_RouClose"_s), &QAction::triggered, this, &CodeLookup::closeCallList);
  connect(&window_.statusPanels(), &StatusBar::panelDoubleClicked, this, [this](int panel) {
    if (panel == StatusBar::kRoutinePanel) showCallers();
  });
  connect(commands.popupMenu(u"mnuPopUpHaupt"_s), &QMenu::aboutToShow, this, &CodeLookup::prepareCodeViewPopup);
  // Its nodes carry the project tree's keys: clicks and Enter show them the same way.
  browser_.projectTree().watch(window_.panes().callListTree());
  connect(&browser_, &ProjectBrowser::viewReset, this, &CodeLookup::closeCallList);
}

void CodeLookup::goToDefinition() {
  if (browser_.isZoomOn()) {
    window_.messages().information(u"Steht im Zoom Modus nicht zur Verfügung"_s);
    return;
  }
  ModuleViews& views = browser_.moduleViews();
  const std::size_t departure = views.current().caretOffset();
  const std::string name = wordAtCaret(views.current().text(), departure);
  if (!name.empty() && jumpToDefinition(name)) {
    // "Routine Zurück" then returns to the very place of the jump.
    browser_.rememberDeparture(departure);
    browser_.rememberPosition();
    selectFirstWordOfLine(views.current());
  }
  views.current().setFocus();
}

bool CodeLookup::jumpToDefinition(const std::string& name) {
  CodeDatabase* database = browser_.database();
  if (database == nullptr) return false;
  CodeDatabaseIndex index(*database);
  ModuleViews& views = browser_.moduleViews();
  const Outcome<std::optional<DefinitionTarget>> target = findDefinition(index, name, views.currentIndex() + 1);
  if (!target) {
    window_.messages().show(target.failure());
    return false;
  }
  if (!target.value()) {
    window_.messages().plain(std::string(kDefinitionNotFound));
    return false;
  }
  const DefinitionTarget& found = *target.value();
  StatusBar& panels = window_.statusPanels();
  const int moduleIndex = found.module - 1;
  if (moduleIndex != views.currentIndex()) {
    views.showModule(moduleIndex);
    goToLine(views.current(), found.line);
    panels.setEngineText(StatusBar::kModulePanel, found.moduleName);
    browser_.projectTree().highlightModule(views.currentIndex());
  } else {
    goToLine(views.current(), found.line);
  }
  panels.setEngineText(StatusBar::kRoutinePanel, name);
  return true;
}

void CodeLookup::showCallers() {
  const QString routine = window_.statusPanels().text(StatusBar::kRoutinePanel);
  // Without a project the panel only shows its name.
  if (routine.isEmpty() || !window_.codeLoaded() || browser_.database() == nullptr) return;
  CodeDatabaseIndex index(*browser_.database());
  const Outcome<CallList> list = [&] {
    const WaitCursor waiting;
    return findCallers(index, moduleFilesOf(browser_.workingFolder()), toEngineText(routine),
                       browser_.moduleViews().currentIndex() + 1, moduleFilesMayHold(browser_.workingFolder()));
  }();
  // A refused lookup leaves the call list as it was.
  if (!list) {
    window_.messages().show(list.failure());
    return;
  }
  if (list->lookup != CallList::Lookup::kSearched) {
    window_.messages().warning(std::string(list->message()));
    return;
  }
  WindowPanes& panes = window_.panes();
  fillCallListTree(panes.callListTree(), list->nodes);
  // Without any caller the project tree returns, which alone would look as if nothing happened.
  window_.statusPanels().setText(StatusBar::kProgressPanel,
                                 list->nodes.empty() ? u"Keine Aufrufe von "_s + routine : QString());
  if (list->nodes.empty()) {
    closeCallList();
    return;
  }
  panes.showLeftPane(LeftPane::CallList);
  window_.showCallListToolbar(routine);
  window_.commands().action(u"mnuAnsicht_RouClose"_s)->setEnabled(true);
}

void CodeLookup::closeCallList() {
  WindowPanes& panes = window_.panes();
  window_.hideCallListToolbar();
  panes.callListTree()->clear();
  // The project tree takes its place again; after a reset the caller decides
  // which view the left pane shows.
  if (panes.leftPane() == LeftPane::CallList) panes.showLeftPane(LeftPane::ProjectTree);
  window_.commands().action(u"mnuAnsicht_RouClose"_s)->setEnabled(false);
}

void CodeLookup::prepareCodeViewPopup() {
  CommandTable& commands = window_.commands();
  const CodeView& view = browser_.moduleViews().current();
  const std::string name = wordAtCaret(view.text(), view.caretOffset());
  QAction* definition = commands.action(u"mnuPopUpHaupt_Definition"_s);
  definition->setText(name.empty() ? u"&Definition "_s : u"&Definition : "_s + toQString(name));
  definition->setEnabled(!name.empty());
  const QString routine = window_.statusPanels().text(StatusBar::kRoutinePanel);
  QAction* callers = commands.action(u"mnuPopUpHaupt_Aufruf"_s);
  callers->setText(routine.isEmpty() ? u"Aufrufe"_s : u"Aufrufe: "_s + routine);
  callers->setEnabled(!routine.isEmpty());
}

}  // namespace cq
