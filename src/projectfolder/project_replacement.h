#pragma once
// Reading a project into a folder that may hold the previous one: the read goes
// into a new folder beside it, and the previous project gives way only when the
// new one is complete. A failed read leaves the folder as it was.
#include <filesystem>
#include <functional>

#include "sources/project_reader.h"
#include "text/failure.h"

namespace cq {

using ProjectFolderRead = std::function<Outcome<ProjectRead>(const std::filesystem::path& folder)>;

// Runs `read` on a new, empty folder beside `target` (created with its parents
// as needed) while `target` is locked. When it succeeds, its files take the
// place of the project files of `target` (which is created when missing, and
// may be a link to a folder; files and folders the user put there stay); when
// it fails, the new folder is removed and `target` is as it was. Refuses,
// before reading, a target that foreignFolderProblem() refuses or another run
// has locked.
Outcome<ProjectRead> readIntoProjectFolder(const std::filesystem::path& target, const ProjectFolderRead& read);

}  // namespace cq
