#pragma once
// A project folder: the code database "CodeQuorix.mdb" and the module files
// "M1.txt", "M2.txt", … of marked-up text.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "codedb/code_database.h"
#include "render/project_export.h"
#include "text/failure.h"

namespace cq {

bool isProjectFolder(const std::filesystem::path& folder);

// Why no project may be put into `folder`: it exists but is no folder, or it
// holds something and is no project folder (a project put there would mix
// with, or delete, what it holds). Nothing for a missing or empty folder and
// for a project folder.
std::optional<Failure> foreignFolderProblem(const std::filesystem::path& folder);

// The marked-up text of module file "M" + number + ".txt".
Outcome<std::string> readModuleFile(const std::filesystem::path& folder, int moduleNumber);
// The same file's bytes, not decoded.
Outcome<std::string> readModuleFileBytes(const std::filesystem::path& folder, int moduleNumber);

// Every module of the project, numbered 1 to the module count, with the name and
// type the database holds for it and its module file's text. A database without
// any module holds no project.
Outcome<std::vector<ExportModule>> loadProjectModules(const std::filesystem::path& folder, CodeDatabase& database);

}  // namespace cq
