#pragma once
// The middle of the main window, `fraContainer`: the left pane with its four
// views in one place, the splitter bar `fraTeiler` and the right pane
// `rechterBereich` that will hold the module views.
#include <QSplitter>

class QPlainTextEdit;
class QStackedWidget;
class QTreeWidget;

namespace cq {

enum class LeftPane { HostTree, ProjectTree, CallList, HostStatus };

class WindowPanes : public QSplitter {
  Q_OBJECT

 public:
  // Tree width at design time and the limits of the splitter, in twips.
  static constexpr int kDesignTreeWidthTwips = 3000;
  static constexpr int kMinimumTreeWidthTwips = 200;
  static constexpr int kMinimumRightGapTwips = 100;
  static constexpr int kSplitterWidthTwips = 80;

  explicit WindowPanes(QWidget* parent = nullptr);

  // Shows exactly one view of the left pane; the others are hidden and keep
  // the same rectangle.
  void showLeftPane(LeftPane pane);
  LeftPane leftPane() const;

  QTreeWidget* hostTree() const { return hostTree_; }                 // treApp
  QTreeWidget* projectTree() const { return projectTree_; }           // treProjekt
  QTreeWidget* callListTree() const { return callListTree_; }         // treRoutSuche
  QPlainTextEdit* hostStatusText() const { return hostStatusText_; }  // txtAppAktiv
  QWidget* leftPaneWidget(LeftPane pane) const;
  QWidget* codePane() const { return codePane_; }  // rechterBereich
  QSplitterHandle* splitterBar() const;            // fraTeiler

 private:
  QStackedWidget* leftStack_;
  QTreeWidget* hostTree_;
  QTreeWidget* projectTree_;
  QTreeWidget* callListTree_;
  QPlainTextEdit* hostStatusText_;
  QWidget* codePane_;
};

}  // namespace cq
