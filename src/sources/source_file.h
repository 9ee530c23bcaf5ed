#pragma once
// Reading source files from disk: whole files of bounded size, and module files
// turned into components.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "sources/loaded_project.h"

namespace cq {

// Larger files are refused: no module or project file comes near this size, and
// reading whatever a user points at must not exhaust memory.
inline constexpr std::uintmax_t kMaxSourceFileBytes = std::uintmax_t{64} * 1024 * 1024;

// The file's bytes. Throws Failed with a German message naming the file (and the
// system's reason where there is one) when it is missing, too large or cannot be
// read.
std::string readSourceFile(const std::filesystem::path& file);

struct ModuleFileToLoad {
  std::filesystem::path file;
  std::string fallbackName;  // the module's name where the file has no VB_Name attribute
  // "Form_" or "Report_" for the .cls of an Access form or report: its name gets
  // the prefix where it lacks it, which makes it their document module.
  std::string_view accessPrefix = {};
};

// Module files as the project's components, in the order given: read whole,
// decoded in the code page they share (`codePage`, or detected together when
// it is kDetectCodePage; recorded as the project's), header cut, named by their
// VB_Name attribute (else the fallback name), typed by their extension and
// header.
void addModuleFiles(LoadedProject& project, const std::vector<ModuleFileToLoad>& files, int codePage);

}  // namespace cq
