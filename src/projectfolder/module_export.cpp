#include "projectfolder/module_export.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <optional>
#include <set>
#include <system_error>

#include "projectfolder/atomic_file.h"
#include "projectfolder/folder_lock.h"
#include "projectfolder/project_saving.h"
#include "projectfolder/scratch_paths.h"
#include "projectfolder/staging_folder.h"
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

}  // namespace

std::vector<std::string> moduleFileNames(const LoadedProject& project) {
  std::vector<std::string> names;
  std::set<std::string> taken;  // A-Z as a-z: names must differ on file systems that ignore case
  for (const LoadedComponent& component : project.components()) {
    const std::string_view extension = moduleFileExtension(component.type(), component.name());
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

namespace {

// The list of what an export wrote, kept hidden in the folder: the project's
// source on the first line, then one module file name per line. Only files it
// names are ever removed by a later export of the same source.
constexpr std::string_view kManifestName = ".codequorix-export";
constexpr std::string_view kSourcePrefix = "Quelle: ";

struct Manifest {
  std::string source;
  std::set<std::string> files;
};

std::optional<Manifest> readManifest(const fs::path& folder) {
  std::ifstream in(folder / kManifestName, std::ios::binary);
  std::string line;
  if (!in || !std::getline(in, line) || !line.starts_with(kSourcePrefix)) return std::nullopt;
  Manifest manifest{line.substr(kSourcePrefix.size()), {}};
  while (std::getline(in, line))
    if (!line.empty()) manifest.files.insert(line);
  return manifest;
}

std::string manifestText(const LoadedProject& project, const std::vector<std::string>& names) {
  std::string text = std::string(kSourcePrefix) + project.fileName() + "\n";
  for (const std::string& name : names)
    if (!name.empty()) text.append(name).append("\n");
  return text;
}

std::string quoted(const fs::path& path) { return std::string(1, '"').append(pathToText(path)).append(1, '"'); }

Failure unreadableFolder(const fs::path& folder, const std::error_code& error) {
  return Failure{"Der Ordner " + quoted(folder) + " konnte nicht gelesen werden.", systemErrorText(error)};
}

// The module files of an earlier export that this export replaces or removes.
struct EarlierFiles {
  std::vector<fs::path> replaced;  // written again, perhaps in another case of their name
  std::vector<fs::path> removed;   // written by an earlier export; the project no longer has their module
};

// Sorts the module files in `folder` into those of an earlier export of this
// project and refuses the folder when it holds anything else: module files no
// export of this project wrote, files of other kinds, subfolders.
Outcome<EarlierFiles> earlierFiles(const fs::path& folder, const LoadedProject& project,
                                   const std::vector<std::string>& names) {
  EarlierFiles earlier;
  std::error_code error;
  const fs::file_status status = fs::status(folder, error);
  if (status.type() == fs::file_type::not_found) return earlier;
  if (error) return unreadableFolder(folder, error);
  if (!fs::is_directory(status)) return Failure{quoted(folder) + " ist kein Ordner."};
  const std::optional<Manifest> manifest = readManifest(folder);
  const bool sameSource = manifest && manifest->source == project.fileName();
  const bool otherSource = manifest && !sameSource;  // then every module file there is another project's
  std::set<std::string> writing;  // folded: a file system may ignore case
  for (const std::string& name : names) writing.insert(foldCase(name));
  fs::directory_iterator it(folder, error);
  for (fs::directory_iterator end; !error && it != end; it.increment(error)) {
    const fs::path& entry = it->path();
    std::error_code statusError;
    const bool file = it->is_regular_file(statusError);
    // Hidden entries (a version control's own) and the forms designer's data stay as they are.
    if (isHidden(entry) || (file && equalsIgnoringAsciiCase(entry.extension().native(), ".frx"))) continue;
    if (!file || !hasModuleFileExtension(entry)) {
      return Failure{"Der Ordner " + quoted(folder) +
                     " ist nicht leer und enthält nicht nur Moduldateien (.bas, .cls, .frm, .frx) eines früheren "
                     "Exports.",
                     "", "Bitte einen leeren Ordner wählen."};
    }
    const std::string name = entry.filename().string();
    if (sameSource && manifest->files.contains(name)) {
      (writing.contains(foldCase(name)) ? earlier.replaced : earlier.removed).push_back(entry);
    } else if (!otherSource && writing.contains(foldCase(name))) {
      earlier.replaced.push_back(entry);  // the same module's file, as the VBA editor exports it
    } else {
      return Failure{"Der Ordner " + quoted(folder) + " enthält die Moduldatei \"" + pathToText(entry.filename()) +
                         "\", die kein früherer Export dieses Projekts geschrieben hat.",
                     "", "Bitte einen leeren Ordner oder den Ordner eines früheren Exports dieses Projekts wählen."};
    }
  }
  if (error) return unreadableFolder(folder, error);
  return earlier;
}

// A module file in the project's own code page, as the VBA editor writes it, so
// that importing it gives the same code. Only a character the code page cannot
// hold (a Unicode module name) makes it UTF-8 with a BOM instead: nothing is lost.
std::string moduleFileBytes(const std::string& text, int codePage) {
  if (std::optional<std::string> bytes = textToCodePage(text, codePage)) return std::move(*bytes);
  return std::string(kUtf8Bom) + text;
}

// Moves the staged module files into the folder, each keeping the permissions
// of the file it replaces, removes the earlier files no longer written, and
// puts the list of what was written in place last.
Outcome<void> switchIn(const fs::path& staging, const fs::path& folder, const EarlierFiles& earlier,
                       const std::vector<std::string>& staged) {
  const auto held = holdScratchPaths();
  std::error_code error;
  for (const fs::path& file : earlier.replaced) {
    // Another case of the name would stay beside the new file where case counts.
    if (std::find(staged.begin(), staged.end(), file.filename().string()) != staged.end()) continue;
    fs::remove(file, error);
    if (error) break;
  }
  for (const std::string& name : staged) {
    if (error) break;
    takePermissionsOf(folder / name, staging / name);
    fs::rename(staging / name, folder / name, error);
    if (error) {
      return Failure{"Die Datei " + quoted(folder / name) + " konnte nicht ersetzt werden.", systemErrorText(error)};
    }
  }
  for (const fs::path& file : earlier.removed) {
    if (error) break;
    fs::remove(file, error);
    if (error) {
      return Failure{"Die Datei " + quoted(file) + " eines früheren Exports konnte nicht gelöscht werden.",
                     systemErrorText(error)};
    }
  }
  if (!error) fs::rename(staging / kManifestName, folder / kManifestName, error);
  if (error) return Failure{"Der Ordner " + quoted(folder) + " konnte nicht geändert werden.", systemErrorText(error)};
  return {};
}

}  // namespace

Outcome<ModuleExport> exportModuleFiles(const LoadedProject& project, const fs::path& folder) {
  std::error_code error;
  // A folder of module files read as a project would lose what only its files
  // hold (the designer data of forms) when written over with its own modules.
  if (fs::is_directory(folder, error) && fs::equivalent(folder, textToPath(project.fileName()), error)) {
    return Failure{"Der Ordner \"" + pathToText(folder) + "\" ist die Quelle des Projekts.", "",
                   "Bitte einen anderen Ordner wählen."};
  }
  const std::vector<std::string> names = moduleFileNames(project);
  if (Outcome<EarlierFiles> checked = earlierFiles(folder, project, names); !checked) return checked.failure();
  fs::create_directories(folder, error);
  if (error) {
    return Failure{"Der Ordner \"" + pathToText(folder) + "\" konnte nicht angelegt werden.", systemErrorText(error)};
  }
  Outcome<FolderLock> locked = FolderLock::lock(folder);
  if (!locked) return locked.failure();
  // Sorted again under the lock: another export may have written meanwhile.
  const Outcome<EarlierFiles> earlier = earlierFiles(folder, project, names);
  if (!earlier) return earlier.failure();

  // Every file is written beside the folder first, so that a full disk or a
  // name too long leaves the folder as it was.
  const StagingFolder staging(folder);
  if (staging.path().empty()) return staging.failure();
  ModuleExport result;
  std::vector<std::string> staged;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const LoadedComponent& component = project.components()[i];
    if (names[i].empty()) {
      result.skipped.push_back(component.name());
      continue;
    }
    const fs::path name = textToPath(names[i]);
    const Outcome<void> written = writeNewFile(
        staging.path() / name,
        moduleFileBytes(moduleFileText(component.name(), component.type(), component.source()), project.codePage()),
        folder / name);
    if (!written) return written.failure();
    staged.push_back(names[i]);
  }
  const Outcome<void> listed =
      writeNewFile(staging.path() / kManifestName, manifestText(project, names), folder / kManifestName);
  if (!listed) return listed.failure();
  if (const Outcome<void> switched = switchIn(staging.path(), folder, earlier.value(), staged); !switched)
    return switched.failure();
  result.written = staged.size();
  result.removed = earlier->removed.size();
  return result;
}

}  // namespace cq
