#include "ui/exports/html_export.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QUrl>

#include "app/app_state.h"
#include "app/text_boundary.h"
#include "projectfolder/atomic_file.h"
#include "projectfolder/project_folder.h"
#include "render/html.h"
#include "render/markup.h"
#include "render/project_export.h"
#include "text/text_decoding.h"
#include "ui/browse/project_browser.h"
#include "ui/code/module_views.h"
#include "ui/exports/clipboard_content.h"
#include "ui/main_window.h"
#include "ui/status_bar.h"
#include "ui/wait_cursor.h"

namespace cq {

using namespace Qt::StringLiterals;

namespace {

constexpr std::string_view kPreviewFileName = "TempCodeQuor.htm";

QString creditQuestion() {
  return u"Die Daten sind jetzt f\u00FCr die Zwischenablage vorbereitet \r\n"
         u"und stehen Ihnen nach Schliessen des Dialoges dort zur Verf\u00FCgung !\r\n\r\n"
         u"Hinweis auf Erstellungsprogramm Hinzuf\u00FCgen ?"_s;
}

}  // namespace

std::filesystem::path previewPagePath(const AppState& state) {
  // The temporary folder ends in "/": its parent path is the folder itself.
  return state.temporaryFolder.parent_path().parent_path() / kPreviewFileName;
}

HtmlExport::HtmlExport(MainWindow& window, const AppState& state, ProjectBrowser& browser)
    : window_(window), state_(state), browser_(browser) {}

void HtmlExport::fromClipboard() {
  const QString text = QGuiApplication::clipboard()->text();
  if (text.isEmpty()) {
    window_.messages().information(u"Kein Text in der Zwischenablage"_s);
    return;
  }
  fromCode(normalizeLineEnds(toEngineText(text)));
}

void HtmlExport::fromModule() {
  if (!window_.codeLoaded()) return;
  const int number = browser_.moduleViews().currentIndex() + 1;
  const Outcome<std::string> marked = readModuleFile(browser_.workingFolder(), number);
  if (!marked) {
    window_.messages().show(marked.failure());
    return;
  }
  finish(fragmentOf(marked.value()));
}

void HtmlExport::fromProject() {
  CodeDatabase* database = browser_.database();
  if (database == nullptr) return;
  Outcome<std::vector<ExportModule>> modules = loadProjectModules(browser_.workingFolder(), *database);
  if (!modules) {
    window_.messages().show(modules.failure());
    return;
  }
  StatusBar& panels = window_.statusPanels();
  std::string html;
  {
    const WaitCursor waitCursor;
    panels.setText(StatusBar::kProgressPanel, u"Erzeuge Html Code"_s);
    html = projectToHtml(modules.value(), state_.display.render);
    panels.setText(StatusBar::kProgressPanel, QString());
  }
  finish(std::move(html));
}

void HtmlExport::fromCode(std::string_view code) { finish(fragmentOf(markUpSelection(code, state_.display.markup))); }

std::string HtmlExport::fragmentOf(std::string_view marked) {
  StatusBar& panels = window_.statusPanels();
  panels.setText(StatusBar::kProgressPanel, u"Erzeuge Html Code"_s);
  std::string fragment = markedToHtml(marked, state_.display.render);
  panels.setText(StatusBar::kProgressPanel, QString());
  return fragment;
}

void HtmlExport::finish(std::string fragment) {
  if (state_.display.confirmClipboardCopy &&
      window_.messages().question(creditQuestion(), QuestionButtons::YesNo) == Answer::Yes) {
    fragment += "\r\n<br>";
    fragment += htmlCreditLine(state_.edition.name, kProgramWebAddress);
  }
  putHtmlFragmentOnClipboard(fragment);
  if (state_.display.htmlPreview) showPreview(fragment);
}

void HtmlExport::showPreview(std::string_view fragment) {
  const std::filesystem::path page = previewPagePath(state_);
  if (const Outcome<void> written = writeFileAtomically(page, htmlPreviewPage(state_.edition.name, fragment));
      !written) {
    window_.messages().show(written.failure());
    return;
  }
  if (!window_.openUrl(QUrl::fromLocalFile(pathToQString(page))))
    window_.messages().plain(u"Vorschau nicht m\u00F6glich, vermutlich kein IE installiert"_s);
}

}  // namespace cq
