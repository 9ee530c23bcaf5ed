#pragma once
// The export commands of the main window: HTML, rich-text and plain-text
// copies, RTF files and emptying the clipboard, wired to their actions.
#include <QObject>
#include <optional>
#include <string>

#include "ui/exports/html_export.h"
#include "ui/exports/rtf_files.h"

namespace cq {

class CodeView;

class ExportCommands : public QObject {
  Q_OBJECT

 public:
  // All outlive the commands; `projectName` gives the current project's name.
  ExportCommands(MainWindow& window, const AppState& state, ProjectBrowser& browser, RtfFiles::ProjectName projectName);

  void copySelection();      // "&Kopieren Auswahl"
  void copyModule();         // "Kopieren &Modul"
  void copyZoomView();       // "&Zoom Kopieren"
  void copySelectionText();  // "&Nur-Text" / "&Auswahl"
  void copyModuleText();     // "&Nur-Text" / "&Modul"

 private:
  void connectCommands();
  // The view the selection commands work on: the zoom view in zoom mode.
  CodeView& selectionView();
  // The selected code; nullopt (after saying so) when nothing is selected.
  std::optional<std::string> selectedCode();
  void confirmTextCopy();

  MainWindow& window_;
  const AppState& state_;
  ProjectBrowser& browser_;
  HtmlExport html_;
  RtfFiles rtf_;
};

}  // namespace cq
