#pragma once
// The HTML export: a fragment of the clipboard's text, the selection, the zoom
// view, the current module or the whole project goes to the clipboard, with the
// credit line on request and, when "vor" is on, as a preview page in the browser.
#include <filesystem>
#include <string>
#include <string_view>

namespace cq {

struct AppState;
class MainWindow;
class ProjectBrowser;

// Where the preview page is written: the per-user data folder, which holds the
// temporary folder.
std::filesystem::path previewPagePath(const AppState& state);

class HtmlExport {
 public:
  // All three outlive the export.
  HtmlExport(MainWindow& window, const AppState& state, ProjectBrowser& browser);

  void fromClipboard();  // "&Zwischenablage"
  // "&Auswahl" with the selected code, "Zoom nach &Html" with the zoom view's.
  void fromCode(std::string_view code);
  void fromModule();   // "&Modul"
  void fromProject();  // "&Projekt"

 private:
  // The fragment of marked-up text, with "Erzeuge Html Code" in the status bar meanwhile.
  std::string fragmentOf(std::string_view marked);
  // The credit line on request, the clipboard, the preview.
  void finish(std::string fragment);
  void showPreview(std::string_view fragment);

  MainWindow& window_;
  const AppState& state_;
  ProjectBrowser& browser_;
};

}  // namespace cq
