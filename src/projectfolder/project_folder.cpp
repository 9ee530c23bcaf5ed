#include "projectfolder/project_folder.h"

#include <map>
#include <regex>
#include <system_error>

#include "text/path_text.h"
#include "sources/project_reader.h"
#include "sources/source_file.h"

namespace fs = std::filesystem;

namespace cq {

namespace {

bool isModuleFileName(const std::string& name) {
  static const std::regex pattern("M[0-9]+\\.txt");
  return std::regex_match(name, pattern);
}

}  // namespace

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
                     " ist nicht leer und enth\xE4lt kein Projekt; er wird nicht \xFC" "berschrieben.",
                 reason()};
}

Outcome<void> prepareNewProjectFolder(const fs::path& folder) {
  std::error_code ec;
  if (!fs::exists(folder, ec)) {
    if (!fs::create_directories(folder, ec))
      return Failure{"Der Ordner " + pathToText(folder) + " konnte nicht angelegt werden.", systemErrorText(ec)};
    return {};
  }
  if (auto problem = foreignFolderProblem(folder)) return *std::move(problem);
  if (!isProjectFolder(folder)) return {};
  // Only the project's own files go; anything else the user put there stays.
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file(ec) || !(name == kDatabaseFileName || isModuleFileName(name))) continue;
    if (!fs::remove(entry.path(), ec) && ec)
      return Failure{"Die Datei " + pathToText(entry.path()) + " konnte nicht gel\xF6scht werden.",
                     systemErrorText(ec)};
  }
  return {};
}

Outcome<std::string> readModuleFile(const fs::path& folder, int moduleNumber) {
  return catchFailure([&] { return readSourceFile(moduleFilePath(folder, moduleNumber)); });
}

Outcome<std::vector<ExportModule>> loadProjectModules(const fs::path& folder, CodeDatabase& database) {
  const Outcome<std::vector<ModuleListEntry>> list = database.moduleList();
  if (!list) return list.failure();
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
