#include "sources/access/access_document.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "text/ascii_case.h"
#include "sources/host_application.h"
#include "sources/access/access_project_storage.h"
#include "sources/access/access_storage_table.h"
#include "sources/access/access_storage_tree.h"
#include "text/path_text.h"
#include "sources/vba/vba_project_reader.h"

namespace cq {
namespace fs = std::filesystem;

namespace {

// Compiled databases keep only the compiled project, not its source.
bool isCompiledDatabase(const fs::path& database) {
  const std::string extension = database.extension().native();
  return equalsIgnoringAsciiCase(extension, ".mde") || equalsIgnoringAsciiCase(extension, ".accde");
}

}  // namespace

LoadedProject loadAccessDatabase(const fs::path& database) {
  const std::string fileName = pathToText(database);
  if (isCompiledDatabase(database)) {
    throw Failed("Die Datei \"" + fileName + "\" enthält keinen Quellcode (kompilierte Datenbank).");
  }
  AccessStorageTable table(database);
  const std::optional<std::vector<AccessProjectStream>> projectStreams =
      findVbaProjectStreams(table.entries(), fileName);
  const LoadedProject withoutCode(fileName, pathToText(database.stem()));
  if (!projectStreams) return withoutCode;

  std::set<long> ids;
  for (const AccessProjectStream& stream : *projectStreams) ids.insert(stream.id);
  std::map<long, std::string> bytes = table.streams(ids);
  AccessProjectStorage storage;
  for (const AccessProjectStream& stream : *projectStreams) {
    const auto found = bytes.find(stream.id);
    if (found != bytes.end()) storage.addStream(stream.path, std::move(found->second));
  }
  // A project storage without a dir stream never held a module.
  if (!storage.stream("VBA/dir")) return withoutCode;
  std::error_code error;
  const std::uintmax_t databaseBytes = fs::file_size(database, error);
  return readVbaProject(storage, fileName, decompressedCodeBudget(error ? 0 : databaseBytes));
}

}  // namespace cq
