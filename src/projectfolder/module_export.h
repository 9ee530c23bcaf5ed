#pragma once
// Writing a project's modules into a folder as module files (.bas, .cls, .frm),
// the way users keep them under version control.
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "sources/loaded_project.h"
#include "text/failure.h"

namespace cq {

// The file name of each component (in the project's order; empty for those
// without a module file of their kind): the name cleaned as project names are,
// also of control characters and leading dots, with its kind's extension. Names
// that clash, ignoring case, get " (2)", " (3)", … before the extension.
std::vector<std::string> moduleFileNames(const LoadedProject& project);

struct ModuleExport {
  std::size_t written = 0;           // module files written
  std::size_t removed = 0;           // files of an earlier export whose modules the project no longer has
  std::vector<std::string> skipped;  // components without a module file of their kind
};

// Writes every component of `project` into `folder` (created when missing),
// which must be missing, empty or hold an earlier export of the same project:
// module files (.bas, .cls, .frm, any case) that an export of the same source
// wrote (named in the hidden list ".codequorix-export" it keeps) or that have
// the names of the files written now (as the VBA editor exports them), the
// forms designer's .frx files and hidden entries (a version control's own).
// Anything else is refused, naming it, and the folder is left alone.
// The files are written into a new folder beside it first and moved in only
// when all are written, under a lock on the folder; then the files of an
// earlier export whose modules the project no longer has are removed. A
// replaced file keeps its permissions. A failure names the file and the
// system's reason, and leaves the folder as it was.
Outcome<ModuleExport> exportModuleFiles(const LoadedProject& project, const std::filesystem::path& folder);

}  // namespace cq
