#include "projectfolder/project_folder.h"

#include <map>
#include <system_error>

#include "text/path_text.h"
#include "text/text_decoding.h"
#include "sources/project_reader.h"
#include "sources/source_file.h"

namespace fs = std::filesystem;

namespace cq {

bool isProjectFolder(const fs::path& folder) {
  std::error_code ec;
  return fs::is_regular_file(folder / kDatabaseFileName, ec);
}

std::optional<Failure> foreignFolderProblem(const fs::path& folder) {
  std::error_code ec;
  const auto reason = [&ec] { return ec ? systemErrorText(ec) : std::string(); };
  if (!fs::exists(folder, ec) && !ec) return std::nullopt;
  if (!fs::is_directory(folder, ec)) return Failure{pathToText(folder) + " ist kein Ordner.", reason()};
  if (isProjectFolder(folder)) return std::nullopt;
  // A folder that cannot even be listed counts as occupied.
  if (fs::is_empty(folder, ec) && !ec) return std::nullopt;
  return Failure{"Der Ordner " + pathToText(folder) +
                     " ist nicht leer und enthält kein Projekt; er wird nicht überschrieben.",
                 reason()};
}

Outcome<std::string> readModuleFile(const fs::path& folder, int moduleNumber) {
  return catchFailure([&] { return decodeModuleFileText(readSourceFile(moduleFilePath(folder, moduleNumber))); });
}

Outcome<std::string> readModuleFileBytes(const fs::path& folder, int moduleNumber) {
  return catchFailure([&] { return readSourceFile(moduleFilePath(folder, moduleNumber)); });
}

Outcome<std::vector<ExportModule>> loadProjectModules(const fs::path& folder, CodeDatabase& database) {
  const Outcome<std::vector<ModuleListEntry>> list = database.moduleList();
  if (!list) return list.failure();
  // What a failed read left behind, never a project.
  if (list->empty()) return Failure{"Das Projekt im Ordner " + pathToText(folder) + " enthält kein Modul."};
  std::map<int, const ModuleListEntry*> byNumber;
  for (const auto& entry : list.value()) byNumber[entry.number] = &entry;
  std::vector<ExportModule> modules;
  modules.reserve(list->size());
  for (int number = 1; number <= static_cast<int>(list->size()); ++number) {
    const auto found = byNumber.find(number);
    if (found == byNumber.end()) return Failure{"Das Modul M" + std::to_string(number) + " fehlt in der Datenbank."};
    Outcome<std::string> text = readModuleFile(folder, number);
    if (!text) return text.failure();
    modules.push_back({found->second->name, found->second->type, std::move(text).value()});
  }
  return modules;
}

}  // namespace cq
