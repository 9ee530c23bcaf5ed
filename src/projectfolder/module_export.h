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

// Whether `folder` may take an export: it is missing, empty, or holds an earlier
// export, that is nothing but module files (.bas, .cls, .frm, any case) besides
// hidden entries (names beginning with "."; a version control's own folder).
// Refused with a German message otherwise, and when it is no folder.
Outcome<void> checkExportFolder(const std::filesystem::path& folder);

struct ModuleExport {
  std::size_t written = 0;           // module files written
  std::size_t removed = 0;           // module files of an earlier export the project no longer has
  std::vector<std::string> skipped;  // components without a module file of their kind
};

// Writes every component of `project` into `folder` (created when missing)
// after checkExportFolder(). Each file replaces its earlier version in one
// step, so a failure never leaves a half-written file; module files of an
// earlier export that the project no longer has are removed once all files are
// written. A failure names the file and the system's reason.
Outcome<ModuleExport> exportModuleFiles(const LoadedProject& project, const std::filesystem::path& folder);

}  // namespace cq
