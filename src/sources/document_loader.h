#pragma once
// Turns a document opened by the user into a project. Each kind of document has
// its own loader, chosen by the file's extension (folders are folders of module
// files); a new kind needs only a new entry in the loader table.
#include <filesystem>

#include "sources/loaded_project.h"
#include "sources/module_file_encoding.h"

namespace cq {

// Never throws for a bad document: a document that cannot be read comes back as
// an unreadable project (no components) carrying the German reason. Module
// files (folders, .vbp projects, single files), which carry no encoding, are
// read in `moduleFileCodePage`, or in the code page detected for them when it
// is kDetectCodePage; documents say their code page themselves.
LoadedProject loadDocument(const std::filesystem::path& document, int moduleFileCodePage = kDetectCodePage);

}  // namespace cq
