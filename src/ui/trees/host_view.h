#pragma once
// The host side of the window: the documents open in the host, the host tree
// `treApp` with its check boxes, and the host status text `txtAppAktiv`.
#include <QObject>
#include <QStringList>
#include <string>

#include "sources/document_host.h"
#include "sources/host_tree.h"

class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace cq {

class HostView : public QObject {
  Q_OBJECT

 public:
  // `refreshCaption` names the refresh command in the status texts.
  HostView(QTreeWidget* tree, QPlainTextEdit* statusText, std::string editionName, std::string refreshCaption,
           QObject* parent = nullptr);

  // Adds documents (files or folders) to those open in the host; they are read
  // at the next refresh.
  void openDocuments(const QStringList& paths);

  // Reads every open document again and fills the tree. Shows the status text
  // when nothing is open or nothing can be read; returns the walk's result.
  // Reads the open documents again, module files in `moduleFileCodePage`
  // (kDetectCodePage: detected for each project's files).
  Outcome<HostTreeFill> refresh(int moduleFileCodePage);

  DocumentHost& host() { return host_; }
  HostTree& model() { return model_; }
  bool anyTicked() const { return cq::anyTicked(model_); }

 signals:
  // A module or project was ticked or unticked: the read command follows this.
  void tickedChanged(bool anyTicked);

 private:
  void onItemChanged(QTreeWidgetItem* item);
  void showTicks();
  void showStatus(const std::string& text);

  QTreeWidget* tree_;
  QPlainTextEdit* statusText_;
  std::string editionName_;
  std::string refreshCaption_;
  DocumentHost host_;
  HostTree model_;
  std::vector<QTreeWidgetItem*> items_;  // one per model node, same index
  bool filling_ = false;
};

// The host status texts, naming the refresh command by `refreshCaption`: with no
// document open, how to open one; with nothing readable, with the edition's
// name in place of "Excel".
std::string hostNotRunningText(const std::string& refreshCaption);
std::string noReadableProjectText(const std::string& editionName, const std::string& refreshCaption);

}  // namespace cq
