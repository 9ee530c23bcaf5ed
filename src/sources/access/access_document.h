#pragma once
// Access databases (mdb, accdb, accda) as the source of a VBA project: the VBA
// storage tree is kept in the system table MSysAccessStorage.
#include <filesystem>

#include "sources/loaded_project.h"

namespace cq {

// The database's VBA project; no components when it holds no code. Compiled
// databases without source (mde, accde) and unreadable files throw Failed
// with a German message naming the file and the reason.
LoadedProject loadAccessDatabase(const std::filesystem::path& database);

}  // namespace cq
