#pragma once
// Reading source files from disk: whole files of bounded size, and module files
// turned into components.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "sources/loaded_project.h"

namespace cq {

// Larger files are refused: no module or project file comes near this size, and
// reading whatever a user points at must not exhaust memory.
inline constexpr std::uintmax_t kMaxSourceFileBytes = std::uintmax_t{64} * 1024 * 1024;

// The file's bytes. Throws Failed with a German message naming the file (and the
// system's reason where there is one) when it is missing, too large or cannot be
// read.
std::string readSourceFile(const std::filesystem::path& file);

// A module file as a component: decoded, header cut, named by its VB_Name
// attribute (else `fallbackName`), typed by its extension and header.
LoadedComponent loadModuleFile(const std::filesystem::path& file, std::string_view fallbackName);

}  // namespace cq
