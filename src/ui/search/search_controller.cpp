#include "ui/search/search_controller.h"

#include <QAction>
#include <QEvent>
#include <QLineEdit>
#include <QTimer>

#include "app/text_boundary.h"
#include "ui/browse/project_browser.h"
#include "ui/code/code_view.h"
#include "ui/code/module_views.h"
#include "ui/commands/command_table.h"
#include "ui/main_window.h"

namespace cq {

using namespace Qt::StringLiterals;

namespace {

// Blanks only, as the box's text has always been trimmed; tabs stay searchable.
QString trimmedBlanks(const QString& text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text[first] == u' ') ++first;
  while (last > first && text[last - 1] == u' ') --last;
  return text.mid(first, last - first);
}

}  // namespace

SearchController::SearchController(MainWindow& window, ProjectBrowser& browser, QObject* parent)
    : QObject(parent),
      window_(window),
      browser_(browser),
      box_(window.searchBox()),
      projectSwitch_(window.commands().action(u"mnuBearbeiten_Suchen_Projekt"_s)),
      wordSwitch_(window.commands().action(u"mnuBearbeiten_Suchen_GanzWort"_s)) {
  CommandTable& commands = window_.commands();
  const auto wire = [&](const QString& name, void (SearchController::*operation)()) {
    QAction* action = commands.action(name);
    connect(action, &QAction::triggered, this, operation);
    action->setEnabled(true);
  };
  wire(u"mnuBearbeiten_Suchen"_s, &SearchController::search);
  wire(u"mnuBearbeiten_SuchenWeiter"_s, &SearchController::searchOn);
  // The zoom view shows one routine: searching is off while it is on.
  connect(commands.action(u"mnuAnsicht_Zoom"_s), &QAction::toggled, this, [this](bool zoomOn) {
    for (const QString& name : {u"mnuBearbeiten_Suchen"_s, u"mnuBearbeiten_SuchenWeiter"_s})
      window_.commands().action(name)->setEnabled(!zoomOn);
  });
  wire(u"mnuBearbeiten_Suchen_Auswahl"_s, &SearchController::takeSelection);
  // The switches are the actions' check marks; their buttons follow them.
  for (QAction* toggle : {projectSwitch_, wordSwitch_}) {
    toggle->setChecked(false);
    toggle->setEnabled(true);
  }
  box_->installEventFilter(this);
}

bool SearchController::eventFilter(QObject* watched, QEvent* event) {
  // Typing replaces the whole text however the box got the focus; after the
  // click that gave it, so the click does not put a caret in the selection.
  if (watched == box_ && event->type() == QEvent::FocusIn) QTimer::singleShot(0, box_, &QLineEdit::selectAll);
  return QObject::eventFilter(watched, event);
}

std::optional<SearchController::Query> SearchController::prepare() {
  if (browser_.isZoomOn()) return std::nullopt;  // the commands are off then
  const QString text = trimmedBlanks(box_->text());
  if (text != box_->text()) box_->setText(text);
  if (text.isEmpty()) return std::nullopt;
  const std::string bytes = toEngineText(text);
  return Query{TextSearch(bytes, wordSwitch_->isChecked()), bytes.size(), toQString(bytes) == text};
}

void SearchController::search() {
  const std::optional<Query> query = prepare();
  if (!query) return;
  ModuleViews& views = browser_.moduleViews();
  const bool projectWide = projectSwitch_->isChecked();
  if (query->matchable) {
    if (projectWide) {
      const auto hit =
          findFirstInProject(query->search, views.count(), [&views](int module) { return views.textOf(module - 1); });
      if (hit) return showHit(hit->module - 1, hit->offset, query->length);
    } else {
      const std::size_t at = query->search.find(views.current().text(), kSearchStart);
      if (at != std::string::npos) return showHit(views.currentIndex(), at, query->length);
    }
  }
  notFound(projectWide ? u"Der Suchtext wurde im gesamten Projekt nicht gefunden"_s
                       : u"Der Suchtext\r\nwurde im Modul nicht gefunden .\r\n"_s);
}

void SearchController::searchOn() {
  const std::optional<Query> query = prepare();
  if (!query) return;
  ModuleViews& views = browser_.moduleViews();
  const int current = views.currentIndex();
  // One after the selection's start, so the hit selected now is passed over.
  const std::size_t start = views.current().caretOffset() + 1;
  if (!projectSwitch_->isChecked()) {
    const std::size_t at = query->matchable ? query->search.find(views.current().text(), start) : std::string::npos;
    if (at != std::string::npos) return showHit(current, at, query->length);
    return notFound(u"Der Suchtext\r\nwurde ausgehend von  der letzten Position \r\nim Modul nicht gefunden .\r\n"_s);
  }
  if (query->matchable) {
    const auto hit = findNextInProject(query->search, views.count(), current + 1, start,
                                       [&views](int module) { return views.textOf(module - 1); });
    if (hit) return showHit(hit->module - 1, hit->offset, query->length);
  }
  notFound(u"Der Suchtext wurde nicht gefunden"_s);
}

void SearchController::takeSelection() {
  // With zoom on, the selection the user sees is the zoom view's.
  ModuleViews& views = browser_.moduleViews();
  const CodeView& view = browser_.isZoomOn() ? views.zoomView() : views.current();
  if (view.selectionLength() == 0) return;
  const std::string_view selected = std::string_view(view.text()).substr(view.caretOffset(), view.selectionLength());
  box_->setText(trimmedBlanks(toQString(selected)));
}

void SearchController::showHit(int index, std::size_t offset, std::size_t length) {
  ModuleViews& views = browser_.moduleViews();
  if (index != views.currentIndex()) views.showModule(index);
  views.current().setSelection(offset, length);
  focusCurrentView();
  browser_.showCaretPlace();
}

void SearchController::notFound(const QString& message) {
  window_.messages().warning(message);
  focusCurrentView();
}

void SearchController::focusCurrentView() { browser_.moduleViews().current().setFocus(); }

}  // namespace cq
