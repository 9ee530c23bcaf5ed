#include "ui/exports/export_commands.h"

#include <QAction>
#include <functional>

#include "app/app_state.h"
#include "ui/browse/project_browser.h"
#include "ui/code/code_view.h"
#include "ui/code/module_views.h"
#include "ui/commands/command_table.h"
#include "ui/exports/clipboard_content.h"
#include "ui/main_window.h"

namespace cq {

using namespace Qt::StringLiterals;

ExportCommands::ExportCommands(MainWindow& window, const AppState& state, ProjectBrowser& browser,
                               RtfFiles::ProjectName projectName)
    : QObject(nullptr),
      window_(window),
      state_(state),
      browser_(browser),
      html_(window, state, browser),
      rtf_(window, browser, std::move(projectName)) {
  connectCommands();
}

void ExportCommands::connectCommands() {
  CommandTable& commands = window_.commands();
  const auto wire = [&](const QString& name, std::function<void()> operation) {
    connect(commands.action(name), &QAction::triggered, this, std::move(operation));
  };
  wire(u"mnuHtml_Clipboard"_s, [this] { html_.fromClipboard(); });
  wire(u"mnuHtml_Auswahl"_s, [this] {
    if (const auto code = selectedCode()) html_.fromCode(*code);
  });
  wire(u"mnuHtml_Modul"_s, [this] { html_.fromModule(); });
  wire(u"mnuHtml_projekt"_s, [this] { html_.fromProject(); });
  wire(u"mnuPopUp_Zoom_Html"_s, [this] {
    if (const std::string& code = browser_.moduleViews().zoomView().text(); !code.empty()) html_.fromCode(code);
  });
  wire(u"mnuBearbeiten_Kopieren_Auswahl"_s, [this] { copySelection(); });
  wire(u"mnuBearbeiten_Kopieren_Modul"_s, [this] { copyModule(); });
  wire(u"mnuPopUp_Zoom_Kopieren"_s, [this] { copyZoomView(); });
  wire(u"mnuText_Auswahl"_s, [this] { copySelectionText(); });
  wire(u"mnuText_Modul"_s, [this] { copyModuleText(); });
  wire(u"mnuRtf_Modul"_s, [this] { rtf_.saveModule(); });
  wire(u"mnuRtf_Projekt"_s, [this] { rtf_.saveProject(); });
  wire(u"mnuExtras_ClearClip"_s, [] { clearClipboard(); });
  // The clipboard commands work in every command state; the items of the RTF
  // and plain-text menus and of the zoom view's popup are reached only while
  // their menu is, which the command state switches.
  for (const QString& name :
       {u"mnuHtml_Clipboard"_s, u"mnuExtras_ClearClip"_s, u"mnuText_Auswahl"_s, u"mnuText_Modul"_s, u"mnuRtf_Modul"_s,
        u"mnuRtf_Projekt"_s, u"mnuPopUp_Zoom_Html"_s, u"mnuPopUp_Zoom_Kopieren"_s})
    commands.action(name)->setEnabled(true);
}

CodeView& ExportCommands::selectionView() {
  ModuleViews& views = browser_.moduleViews();
  return browser_.isZoomOn() ? views.zoomView() : views.current();
}

std::optional<std::string> ExportCommands::selectedCode() {
  if (!window_.codeLoaded()) return std::nullopt;
  const CodeView& view = selectionView();
  if (view.selectionLength() == 0) {
    window_.messages().warning(u"Bitte markieren Sie den gew\u00FCnschten Text"_s);
    return std::nullopt;
  }
  return view.text().substr(view.caretOffset(), view.selectionLength());
}

void ExportCommands::confirmTextCopy() {
  if (state_.display.confirmClipboardCopy) window_.messages().plain(u"Text in Zwischenablage"_s);
}

void ExportCommands::copySelection() {
  if (!selectedCode()) return;
  const CodeView& view = selectionView();
  const std::size_t start = view.caretOffset();
  putRichTextOnClipboard(view.styledRange(start, start + view.selectionLength()), view.renderOptions());
}

void ExportCommands::copyModule() {
  if (!window_.codeLoaded()) return;
  if (browser_.isZoomOn()) {
    window_.messages().information(u"Steht im Zoom Modus nicht zur Verf\u00FCgung"_s);
    return;
  }
  ModuleViews& views = browser_.moduleViews();
  const CodeView& view = views.view(views.currentIndex());
  putRichTextOnClipboard(view.styledRange(0, view.text().size()), view.renderOptions());
}

void ExportCommands::copyZoomView() {
  const CodeView& view = browser_.moduleViews().zoomView();
  putRichTextOnClipboard(view.styledRange(0, view.text().size()), view.renderOptions());
}

void ExportCommands::copySelectionText() {
  const std::optional<std::string> code = selectedCode();
  if (!code) return;
  putPlainTextOnClipboard(*code);
  confirmTextCopy();
}

void ExportCommands::copyModuleText() {
  if (!window_.codeLoaded()) return;
  ModuleViews& views = browser_.moduleViews();
  const std::string text = views.textOf(views.currentIndex());
  if (text.empty()) return;
  putPlainTextOnClipboard(text);
  confirmTextCopy();
}

}  // namespace cq
