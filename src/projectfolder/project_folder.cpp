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

void prepareNewProjectFolder(const fs::path& folder) {
  std::error_code ec;
  if (!fs::exists(folder, ec)) {
    if (!fs::create_directories(folder, ec))
      throw std::runtime_error("Der Ordner " + pathToText(folder) + " konnte nicht angelegt werden: " +
                               ec.message());
    return;
  }
  if (!fs::is_directory(folder, ec)) throw std::runtime_error(pathToText(folder) + " ist kein Ordner.");
  if (!isProjectFolder(folder)) {
    if (!fs::is_empty(folder, ec))
      throw std::runtime_error("Der Ordner " + pathToText(folder) +
                               " ist nicht leer und enth\xE4lt kein Projekt; er wird nicht \xFC" "berschrieben.");
    return;
  }
  // Only the project's own files go; anything else the user put there stays.
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file(ec) || !(name == kDatabaseFileName || isModuleFileName(name))) continue;
    if (!fs::remove(entry.path(), ec) && ec)
      throw std::runtime_error("Die Datei " + pathToText(entry.path()) + " konnte nicht gel\xF6scht werden: " +
                               ec.message());
  }
}

std::string readModuleFile(const fs::path& folder, int moduleNumber) {
  return readSourceFile(moduleFilePath(folder, moduleNumber));
}

std::vector<ExportModule> loadProjectModules(const fs::path& folder, CodeDatabase& database) {
  const std::vector<ModuleListEntry> list = database.moduleList();
  std::map<int, const ModuleListEntry*> byNumber;
  for (const auto& entry : list) byNumber[entry.number] = &entry;
  std::vector<ExportModule> modules;
  modules.reserve(list.size());
  for (int number = 1; number <= static_cast<int>(list.size()); ++number) {
    const auto found = byNumber.find(number);
    if (found == byNumber.end())
      throw std::runtime_error("Das Modul M" + std::to_string(number) + " fehlt in der Datenbank.");
    modules.push_back({found->second->name, found->second->type, readModuleFile(folder, number)});
  }
  return modules;
}

}  // namespace cq
