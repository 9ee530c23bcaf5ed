#pragma once
// The module files of a project folder as the lookups read them: the
// marked-up text of "M<n>.txt", read when asked for.
#include <filesystem>

#include "analysis/code_index.h"

namespace cq {

// Throws Failed with the reader's message when a module file cannot be read.
MarkedTextOf moduleFilesOf(const std::filesystem::path& folder);

// Whether "M<n>.txt" holds the ASCII text, looked for in the file's bytes.
MayHoldText moduleFilesMayHold(const std::filesystem::path& folder);

}  // namespace cq
