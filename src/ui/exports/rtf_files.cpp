#include "ui/exports/rtf_files.h"

#include <QFileInfo>

#include "app/text_boundary.h"
#include "projectfolder/atomic_file.h"
#include "projectfolder/project_folder.h"
#include "render/project_export.h"
#include "render/rtf.h"
#include "ui/browse/project_browser.h"
#include "ui/code/module_views.h"
#include "ui/dialogs/save_dialog.h"
#include "ui/main_window.h"
#include "ui/status_bar.h"
#include "ui/wait_cursor.h"

namespace cq {

using namespace Qt::StringLiterals;

QString withRtfExtension(const QString& chosen) {
  const qsizetype slash = chosen.lastIndexOf(u'/');
  const qsizetype dot = chosen.lastIndexOf(u'.');
  if (dot > slash && chosen.size() - dot - 1 == 3) {
    // An extension typed as ".rtf" in any case stays as typed.
    if (chosen.endsWith(u"rtf"_s, Qt::CaseInsensitive)) return chosen;
    return chosen.left(chosen.size() - 3) + u"RTF"_s;
  }
  return chosen + u".RTF"_s;
}

RtfFiles::RtfFiles(MainWindow& window, ProjectBrowser& browser, ProjectName projectName)
    : window_(window), browser_(browser), projectName_(std::move(projectName)) {}

std::optional<QString> RtfFiles::askTarget(const QString& proposedName) {
  const std::optional<QString> chosen =
      askSaveFileName(window_.messages(), "RTF-Dokument:RTF;", u"RTF"_s, lastFolder_, proposedName);
  if (!chosen) return std::nullopt;
  lastFolder_ = QFileInfo(*chosen).absolutePath();
  return withRtfExtension(*chosen);
}

template <typename Render>
void RtfFiles::write(const QString& target, const QString& step, Render render) {
  StatusBar& panels = window_.statusPanels();
  Outcome<void> written;
  {
    const WaitCursor waitCursor;
    panels.setText(StatusBar::kProgressPanel, step);
    const Outcome<std::string> document = render();
    written = document ? writeFileAtomically(qStringToPath(target), document.value()) : document.failure();
    panels.setText(StatusBar::kProgressPanel, QString());
  }
  if (!written) window_.messages().show(written.failure());
}

void RtfFiles::saveModule() {
  if (!window_.codeLoaded()) return;
  const std::optional<QString> target = askTarget(window_.statusPanels().text(StatusBar::kModulePanel));
  if (!target) return;
  const int number = browser_.moduleViews().currentIndex() + 1;
  write(*target, u"Erzeuge RTF-Modul"_s, [&]() -> Outcome<std::string> {
    const Outcome<std::string> marked = readModuleFile(browser_.workingFolder(), number);
    if (!marked) return marked.failure();
    const RenderOptions options = browser_.renderOptions();
    return wrapRtfDocument(markedToRtf(marked.value(), options), options);
  });
}

void RtfFiles::saveProject() {
  if (!window_.codeLoaded() || browser_.database() == nullptr) return;
  const std::optional<QString> target = askTarget(toQString(projectName_()));
  if (!target) return;
  write(*target, u"Erzeuge RTF-Projekt"_s, [&]() -> Outcome<std::string> {
    const Outcome<std::vector<ExportModule>> modules =
        loadProjectModules(browser_.workingFolder(), *browser_.database());
    if (!modules) return modules.failure();
    return projectToRtf(modules.value(), browser_.renderOptions());
  });
}

}  // namespace cq
