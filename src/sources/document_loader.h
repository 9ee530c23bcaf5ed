#pragma once
// Turns a document opened by the user into a project. Each kind of document has
// its own loader, chosen by the file's extension (folders are folders of module
// files); a new kind needs only a new entry in the loader table.
#include <filesystem>

#include "sources/loaded_project.h"

namespace cq {

// Never throws for a bad document: a document that cannot be read comes back as
// an unreadable project (no components) carrying the German reason.
LoadedProject loadDocument(const std::filesystem::path& document);

}  // namespace cq
