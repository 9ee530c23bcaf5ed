#include "sources/module_folder_document.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string_view>

#include "sources/access/access_object_text.h"
#include "sources/file_lists.h"
#include "sources/source_file.h"
#include "text/ascii_case.h"
#include "text/path_text.h"
#include "text/text_decoding.h"

namespace cq {
namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 3> kModuleFileExtensions = {".bas", ".cls", ".frm"};
// Where Access version-control add-ins put the text of a form or a report.
constexpr std::array<std::string_view, 3> kAccessObjectTextExtensions = {".form", ".report", ".bas"};

bool hasExtension(const fs::path& file, std::string_view extension) {
  return equalsIgnoringAsciiCase(file.extension().native(), extension);
}

bool isModuleFile(const fs::path& file) {
  return std::any_of(kModuleFileExtensions.begin(), kModuleFileExtensions.end(),
                     [&](std::string_view each) { return hasExtension(file, each); });
}

// A file's folder and name without extension, compared ignoring case.
std::string objectKey(const fs::path& file) { return toLowerAscii(pathToText(file.parent_path() / file.stem())); }

// The form or report whose code a .cls file holds.
struct AccessObject {
  AccessObjectKind kind = AccessObjectKind::kNone;
  std::string text;  // its form or report text, empty where there is none
  fs::path textFile;
};

// The text of a form or report beside the .cls file (.form, .report, or a .bas
// holding such text), else the folder the add-ins export them to.
AccessObject accessObjectOf(const fs::path& classFile, const std::multimap<std::string, fs::path>& texts) {
  AccessObject object;
  const auto [first, last] = texts.equal_range(objectKey(classFile));
  for (auto candidate = first; candidate != last; ++candidate) {
    std::string text = decodeSourceText(readSourceFile(candidate->second)).text;
    const AccessObjectKind kind = accessObjectKind(text);
    if (kind == AccessObjectKind::kNone) continue;
    return {kind, std::move(text), candidate->second};
  }
  const std::string folder = pathToText(classFile.parent_path().filename());
  if (equalsIgnoringAsciiCase(folder, "forms")) object.kind = AccessObjectKind::kForm;
  if (equalsIgnoringAsciiCase(folder, "reports")) object.kind = AccessObjectKind::kReport;
  return object;
}

std::string withoutPrefix(std::string name, std::string_view prefix) {
  if (startsWithIgnoringAsciiCase(name, prefix)) name.erase(0, prefix.size());
  return name;
}

}  // namespace

LoadedProject loadModuleFolder(const fs::path& folder, int codePage) {
  struct ModuleFile {
    std::string relativePath;
    fs::path path;
  };
  std::vector<ModuleFile> files;
  std::multimap<std::string, fs::path> objectTexts;  // by objectKey
  for (fs::path& file : filesWithExtensionRecursive(folder, "*")) {
    for (const std::string_view extension : kAccessObjectTextExtensions)
      if (hasExtension(file, extension)) objectTexts.emplace(objectKey(file), file);
    if (isModuleFile(file)) files.push_back({file.lexically_relative(folder).generic_string(), std::move(file)});
  }
  std::sort(files.begin(), files.end(), [](const ModuleFile& a, const ModuleFile& b) {
    return lessIgnoringAsciiCaseThenExact(a.relativePath, b.relativePath);
  });

  LoadedProject project(pathToText(folder), pathToText(folder.filename()));
  std::vector<fs::path> objectTextFiles;  // .bas files that hold a form's text, not code
  std::vector<ModuleFileToLoad> toLoad;
  toLoad.reserve(files.size());
  for (const ModuleFile& file : files) {
    ModuleFileToLoad& load = toLoad.emplace_back(ModuleFileToLoad{file.path, pathToText(file.path.stem())});
    if (!hasExtension(file.path, ".cls")) continue;
    const AccessObject object = accessObjectOf(file.path, objectTexts);
    if (object.kind == AccessObjectKind::kNone) continue;
    load.accessPrefix = object.kind == AccessObjectKind::kForm ? "Form_" : "Report_";
    if (object.text.empty()) continue;
    objectTextFiles.push_back(object.textFile);
    project.addDocumentCallers(accessEventBindings(object.text, withoutPrefix(load.fallbackName, load.accessPrefix)));
  }
  std::erase_if(toLoad, [&](const ModuleFileToLoad& load) {
    return std::find(objectTextFiles.begin(), objectTextFiles.end(), load.file) != objectTextFiles.end();
  });
  addModuleFiles(project, toLoad, codePage);
  return project;
}

LoadedProject loadSingleModuleFile(const fs::path& file, int codePage) {
  LoadedProject project(pathToText(file), pathToText(file.stem()));
  addModuleFiles(project, {{file, pathToText(file.stem())}}, codePage);
  return project;
}

}  // namespace cq
