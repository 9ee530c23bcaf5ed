#pragma once
// The window `frmVergleich` of "Projekte vergleichen ...": two sources
// (documents, folders of module files or project folders), the modules and
// routines that differ between them as a tree, and the older and the newer
// code of the chosen one side by side, coloured as the code views are, the
// removed and added lines marked.
#include <QWidget>
#include <optional>

#include "app/app_state.h"
#include "compare/project_comparison.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace cq {

class CodeView;
class MessagePresenter;

class CompareWindow : public QWidget {
  Q_OBJECT

 public:
  CompareWindow(QWidget* parent, const AppState& state, MessagePresenter& messages);

  // Compares the sources named in the two fields; a source that cannot be
  // read is reported and leaves the tree empty.
  void compareSources();

 private:
  QLineEdit* sourceRow(const QString& side, const QString& label, QGridLayout* grid, int row);
  void chooseDocument(QLineEdit* field);
  void chooseFolder(QLineEdit* field);
  void fillTree();
  void showItem(const QTreeWidgetItem* item);

  const AppState& state_;
  MessagePresenter& messages_;
  QLineEdit* older_;
  QLineEdit* newer_;
  QLabel* summary_;
  QTreeWidget* tree_;
  CodeView* olderView_;
  CodeView* newerView_;
  std::optional<ProjectComparison> comparison_;
};

}  // namespace cq
