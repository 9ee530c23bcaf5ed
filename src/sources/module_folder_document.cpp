#include "sources/module_folder_document.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "text/ascii_case.h"
#include "text/path_text.h"
#include "sources/file_lists.h"
#include "sources/source_file.h"

namespace cq {
namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 3> kModuleFileExtensions = {".bas", ".cls", ".frm"};

bool isModuleFile(const fs::path& file) {
  const std::string extension = file.extension().native();
  return std::any_of(kModuleFileExtensions.begin(), kModuleFileExtensions.end(),
                     [&](std::string_view each) { return equalsIgnoringAsciiCase(extension, each); });
}

}  // namespace

LoadedProject loadModuleFolder(const fs::path& folder, int codePage) {
  struct ModuleFile {
    std::string relativePath;
    fs::path path;
  };
  std::vector<ModuleFile> files;
  for (fs::path& file : filesWithExtensionRecursive(folder, "*")) {
    if (isModuleFile(file)) files.push_back({file.lexically_relative(folder).generic_string(), std::move(file)});
  }
  std::sort(files.begin(), files.end(), [](const ModuleFile& a, const ModuleFile& b) {
    return lessIgnoringAsciiCaseThenExact(a.relativePath, b.relativePath);
  });

  LoadedProject project(pathToText(folder), pathToText(folder.filename()));
  std::vector<ModuleFileToLoad> toLoad;
  toLoad.reserve(files.size());
  for (const ModuleFile& file : files) toLoad.push_back({file.path, pathToText(file.path.stem())});
  addModuleFiles(project, toLoad, codePage);
  return project;
}

LoadedProject loadSingleModuleFile(const fs::path& file, int codePage) {
  LoadedProject project(pathToText(file), pathToText(file.stem()));
  addModuleFiles(project, {{file, pathToText(file.stem())}}, codePage);
  return project;
}

}  // namespace cq
