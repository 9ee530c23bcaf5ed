#include "projectfolder/compared_sources.h"

#include <utility>

#include "projectfolder/project_folder.h"
#include "render/styled_text.h"
#include "sources/document_loader.h"
#include "sources/host_tree.h"
#include "sources/module_file.h"
#include "sources/module_file_export.h"
#include "text/path_text.h"

namespace cq {
namespace fs = std::filesystem;

Outcome<LoadedProject> readableProject(const fs::path& source, int moduleFileCodePage) {
  LoadedProject project = loadDocument(source, moduleFileCodePage);
  if (const std::string reason = project.loadError(); !reason.empty()) return Failure{reason};
  if (project.protection()) {
    return Failure{"Das Projekt " + project.name() + " in \"" + pathToText(source) +
                   "\" ist für die Anzeige gesperrt; sein Code wird nicht gezeigt."};
  }
  return project;
}

ComparedModule comparedModule(const LoadedComponent& component) {
  const ModuleKind kind = moduleKindOf(component.type(), component.name());
  ComparedModule module{kind.displayName, kind.type, {}, component.lines(1, component.countOfLines())};
  if (!module.code.empty()) module.code.append("\r\n");
  // The attribute lines as the module file writes them, VB_Name first.
  const std::string file = moduleFileText(component.name(), component.type(), component.source());
  bool nameLine = true;
  std::size_t start = 0;
  while (start < file.size()) {
    const std::size_t end = file.find("\r\n", start);
    const std::string_view line = std::string_view(file).substr(start, end - start);
    if (isAttributeLine(line) && !std::exchange(nameLine, false)) module.attributes.append(line).append("\r\n");
    start = end + 2;
  }
  return module;
}

Outcome<ComparedProject> loadComparedProject(const fs::path& source, int moduleFileCodePage) {
  if (isProjectFolder(source)) {
    Outcome<std::unique_ptr<CodeDatabase>> database = CodeDatabase::open(source);
    if (!database) return database.failure();
    const Outcome<std::vector<ExportModule>> modules = loadProjectModules(source, *database.value());
    if (!modules) return modules.failure();
    ComparedProject project{pathToText(source.filename()), false, true, {}};
    for (const ExportModule& module : modules.value())
      project.modules.push_back({module.name, module.type, {}, plainTextOfMarked(module.marked)});
    return project;
  }
  const Outcome<LoadedProject> loaded = readableProject(source, moduleFileCodePage);
  if (!loaded) return loaded.failure();
  ComparedProject project{loaded->name(), true, false, {}};
  for (const LoadedComponent& component : loaded->components()) project.modules.push_back(comparedModule(component));
  return project;
}

}  // namespace cq
