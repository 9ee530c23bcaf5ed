#pragma once
// The current module or the whole project as an RTF file, named in the save dialog.
#include <QString>
#include <functional>
#include <optional>
#include <string>

namespace cq {

class MainWindow;
class ProjectBrowser;

// The chosen name with the extension "RTF": ".rtf" in any case stays as typed,
// another three-letter extension (".doc") is replaced, any other name gets ".RTF"
// appended, so no name loses characters that were not its extension.
QString withRtfExtension(const QString& chosen);

class RtfFiles {
 public:
  using ProjectName = std::function<std::string()>;

  // All outlive this; `projectName` gives the current project's name.
  // The browser gives the module, the project's modules and how they are rendered.
  RtfFiles(MainWindow& window, ProjectBrowser& browser, ProjectName projectName);

  void saveModule();   // RTF "&Modul"
  void saveProject();  // RTF "&Projekt"

 private:
  // The target from the save dialog, nullopt when cancelled.
  std::optional<QString> askTarget(const QString& proposedName);
  // Renders the document and writes it, with `step` in the status bar meanwhile.
  template <typename Render>
  void write(const QString& target, const QString& step, Render render);

  MainWindow& window_;
  ProjectBrowser& browser_;
  ProjectName projectName_;
  QString lastFolder_;  // where the last file was saved; the home folder at first
};

}  // namespace cq
