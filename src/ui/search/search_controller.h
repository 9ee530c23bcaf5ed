#pragma once
// Plain text search over the module views from the search box `txtSuche`: in the
// current module or across the project, optionally for whole words, never
// minding case. A hit is selected in its view and the status panels follow it;
// the position history is left alone.
#include <QObject>
#include <cstddef>
#include <optional>

#include "analysis/text_search.h"

class QAction;
class QLineEdit;

namespace cq {

class MainWindow;
class ProjectBrowser;

class SearchController : public QObject {
  Q_OBJECT

 public:
  // Wires the search commands, their switches and the search box. `window` and
  // `browser` outlive the controller.
  SearchController(MainWindow& window, ProjectBrowser& browser, QObject* parent = nullptr);

  void search();         // "&Suchen": from the start of the module or the project
  void searchOn();       // "Suchen ab P&osition": on from the caret, around the project
  void takeSelection();  // "&Auswahl nach Suche"

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Query {
    TextSearch search;
    std::size_t length = 0;  // of a hit, in bytes
    bool matchable = true;   // false when the text holds a character no module can hold
  };

  // The common start of both searches: refuses in zoom mode, trims the box's
  // text and writes it back. nullopt when there is nothing to search.
  std::optional<Query> prepare();
  // Selects the hit in view `index`, showing that view first when it is another module.
  void showHit(int index, std::size_t offset, std::size_t length);
  void notFound(const QString& message);
  void focusCurrentView();

  MainWindow& window_;
  ProjectBrowser& browser_;
  QLineEdit* box_;
  QAction* projectSwitch_;
  QAction* wordSwitch_;
};

}  // namespace cq
