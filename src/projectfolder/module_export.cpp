#include "projectfolder/module_export.h"

#include <algorithm>
#include <array>
#include <set>
#include <system_error>

#include "projectfolder/atomic_file.h"
#include "projectfolder/project_saving.h"
#include "sources/module_file_export.h"
#include "sources/vba/code_page.h"
#include "text/ascii_case.h"
#include "text/unicode_case.h"
#include "text/path_text.h"

namespace cq {
namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 3> kModuleFileExtensions = {".bas", ".cls", ".frm"};

bool isHidden(const fs::path& entry) { return entry.filename().native().starts_with('.'); }

bool hasModuleFileExtension(const fs::path& file) {
  const std::string extension = file.extension().native();
  return std::any_of(kModuleFileExtensions.begin(), kModuleFileExtensions.end(),
                     [&](std::string_view each) { return equalsIgnoringAsciiCase(extension, each); });
}

// A name that is safe as a file name: control characters would cut or garble
// it, and a leading dot would hide the file.
std::string fileStem(const std::string& moduleName) {
  std::string stem = cleanedProjectName(moduleName);
  std::erase_if(stem, [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  stem.erase(0, stem.find_first_not_of(". "));
  return stem.empty() ? std::string("Modul") : stem;
}

// The module files directly in `folder`, by file name.
std::vector<fs::path> moduleFilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (!isHidden(it->path()) && hasModuleFileExtension(it->path())) files.push_back(it->path());
  }
  return files;
}

}  // namespace

std::vector<std::string> moduleFileNames(const LoadedProject& project) {
  std::vector<std::string> names;
  std::set<std::string> taken;  // A-Z as a-z: names must differ on file systems that ignore case
  for (const LoadedComponent& component : project.components()) {
    const std::string_view extension = moduleFileExtension(component.type());
    if (extension.empty()) {
      names.emplace_back();
      continue;
    }
    const std::string stem = fileStem(component.name());
    std::string name = stem + std::string(extension);
    for (int number = 2; !taken.insert(foldCase(name)).second; ++number) {
      name = stem + " (" + std::to_string(number) + ")" + std::string(extension);
    }
    names.push_back(std::move(name));
  }
  return names;
}

Outcome<void> checkExportFolder(const fs::path& folder) {
  const std::string quoted = std::string(1, '"').append(pathToText(folder)).append(1, '"');
  std::error_code error;
  const fs::file_status status = fs::status(folder, error);
  if (status.type() == fs::file_type::not_found) return {};
  if (error) return Failure{"Der Ordner " + quoted + " konnte nicht gelesen werden.", systemErrorText(error)};
  if (!fs::is_directory(status)) return Failure{quoted + " ist kein Ordner."};
  fs::directory_iterator it(folder, error);
  for (fs::directory_iterator end; !error && it != end; it.increment(error)) {
    if (isHidden(it->path())) continue;
    std::error_code statusError;
    if (it->is_regular_file(statusError) && hasModuleFileExtension(it->path())) continue;
    return Failure{std::string("Der Ordner ")
                       .append(quoted)
                       .append(" ist nicht leer und enthält nicht nur Moduldateien (.bas, .cls, .frm) eines "
                               "früheren Exports.\r\nBitte einen leeren Ordner wählen.")};
  }
  if (error) return Failure{"Der Ordner " + quoted + " konnte nicht gelesen werden.", systemErrorText(error)};
  return {};
}

namespace {

// A module file in the project's own code page, as the VBA editor writes it, so
// that importing it gives the same code. Only a character the code page cannot
// hold (a Unicode module name) makes it UTF-8 with a BOM instead: nothing is lost.
std::string moduleFileBytes(const std::string& text, int codePage) {
  if (std::optional<std::string> bytes = textToCodePage(text, codePage)) return std::move(*bytes);
  return std::string(kUtf8Bom) + text;
}

}  // namespace

Outcome<ModuleExport> exportModuleFiles(const LoadedProject& project, const fs::path& folder) {
  if (Outcome<void> checked = checkExportFolder(folder); !checked) return checked.failure();
  std::error_code error;
  // A folder of module files read as a project would lose what only its files
  // hold (the designer data of forms) when written over with its own modules.
  if (fs::equivalent(folder, textToPath(project.fileName()), error)) {
    return Failure{"Der Ordner \"" + pathToText(folder) +
                   "\" ist die Quelle des Projekts.\r\nBitte einen anderen Ordner wählen."};
  }
  fs::create_directories(folder, error);
  if (error) {
    return Failure{"Der Ordner \"" + pathToText(folder) + "\" konnte nicht angelegt werden.", systemErrorText(error)};
  }
  const std::vector<fs::path> earlier = moduleFilesIn(folder);

  ModuleExport result;
  const std::vector<std::string> names = moduleFileNames(project);
  std::set<fs::path> written;  // file names
  for (std::size_t i = 0; i < names.size(); ++i) {
    const LoadedComponent& component = project.components()[i];
    if (names[i].empty()) {
      result.skipped.push_back(component.name());
      continue;
    }
    const fs::path file = folder / textToPath(names[i]);
    const Outcome<void> replaced = writeFileAtomically(
        file, moduleFileBytes(moduleFileText(component.name(), component.type(), component.source()),
                              project.codePage()));
    if (!replaced) return replaced.failure();
    written.insert(file.filename());
    ++result.written;
  }
  for (const fs::path& file : earlier) {
    if (written.contains(file.filename())) continue;
    fs::remove(file, error);
    if (error) {
      return Failure{
          "Die Datei \"" + pathToText(file) + "\" eines früheren Exports konnte nicht gelöscht werden.",
          systemErrorText(error)};
    }
    ++result.removed;
  }
  return result;
}

}  // namespace cq
