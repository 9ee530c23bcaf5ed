#pragma once
// A folder of exported module files, or one such file, opened as one project.
#include <filesystem>

#include "sources/loaded_project.h"

namespace cq {

// Every .bas, .cls and .frm file below `folder` (any case of the extension,
// searched recursively), ordered by the relative path written with "/" compared
// ignoring the case of A-Z, ties broken by the exact bytes. The project is named
// after the folder. Throws Failed when a file cannot be read.
// The files are read in `codePage` (kDetectCodePage: detected together).
// A .cls file is the code of an Access form or report when the object's text
// (.form, .report, or a .bas holding it) has its name beside it, or when it
// sits in a folder "forms" or "reports"; the events that text binds are the
// project's document callers, and a .bas holding it is no module.
LoadedProject loadModuleFolder(const std::filesystem::path& folder, int codePage);

// One module file opened by itself (from a file manager, say): a project of that
// one module, named after the file.
LoadedProject loadSingleModuleFile(const std::filesystem::path& file, int codePage);

}  // namespace cq
