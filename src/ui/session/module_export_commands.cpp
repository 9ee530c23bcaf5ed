// Module files out of the ticked project of the host tree.
#include <QAction>

#include "app/app_state.h"
#include "app/text_boundary.h"
#include "projectfolder/module_export.h"
#include "ui/commands/command_table.h"
#include "ui/main_window.h"
#include "ui/session/session.h"
#include "ui/trees/host_view.h"
#include "ui/wait_cursor.h"

namespace cq {

namespace {

// What the export wrote, for the message that ends the command.
std::string exportReport(const ModuleExport& exported, const std::string& folder) {
  std::string text = std::to_string(exported.written) + " Moduldateien in den Ordner \"" + folder + "\" exportiert.";
  if (exported.removed > 0) {
    text += "\r\n" + std::to_string(exported.removed) +
            " Moduldateien des früheren Exports, deren Module es nicht mehr gibt, wurden gelöscht.";
  }
  for (const std::string& skipped : exported.skipped) {
    text += "\r\nDas Modul " + skipped + " hat keine Moduldatei seiner Art und wurde nicht exportiert.";
  }
  return text;
}

}  // namespace

void Session::enableExportCommand(bool anyTicked) {
  window_.commands().action(QStringLiteral("mnuModuleExportieren"))->setEnabled(anyTicked);
}

void Session::exportModules() {
  DocumentHost& host = hostView_->host();
  const long project = tickedProjectIndex(hostView_->model());
  if (project < 1 || project > host.projectCount()) {
    window_.messages().plain(QStringLiteral("Bitte wählen Sie erst etwas aus"));
    return;
  }
  const auto folder = window_.messages().askFolder(QStringLiteral("Ordner für die Moduldateien auswählen"),
                                                   pathToQString(state_.defaultProjectFolder));
  if (!folder) return;
  const Outcome<ModuleExport> exported = [&] {
    const WaitCursor waiting;
    return exportModuleFiles(host.loadedProject(project), qStringToPath(*folder));
  }();
  if (!exported) {
    window_.messages().show(exported.failure());
    return;
  }
  window_.messages().information(exportReport(exported.value(), toEngineText(*folder)));
}

}  // namespace cq
