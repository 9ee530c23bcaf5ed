#pragma once
// The window `frmUnbenutzt`: the routines that no code names, in the groups
// unused, called by the host (with the reason and who calls it) and named only in strings, each
// with its module, its picture from the project tree and its first line. It
// stays open beside the main window; Enter or a double click on a routine asks
// for a jump there, a button copies the list as text.
#include <QWidget>
#include <cstdint>
#include <vector>

#include "analysis/code_index.h"
#include "analysis/unused_routines.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace cq {

class UnusedWindow : public QWidget {
  Q_OBJECT

 public:
  explicit UnusedWindow(QWidget* parent);

  // Shows the report; `modules` name the routines' modules.
  void showReport(const std::vector<UnusedRoutine>& report, const std::vector<ModuleFacts>& modules);
  // Widens the window to show every column whole and puts it over `owner`,
  // inside the screen `owner` is on.
  void placeOver(const QWidget& owner);
  // Empties the list (its project is no longer shown).
  void clearReport();

  // The list as text: per group its caption, then one line per routine with
  // module, routine, line and (host group) the reason and the caller, separated by tabs.
  QString listText() const;

 signals:
  // A routine of the list was chosen: its routine number.
  void routineChosen(std::int64_t routine);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void choose(const QTreeWidgetItem* item);
  void copyList();

  QLabel* summary_;
  QTreeWidget* list_;
};

}  // namespace cq
