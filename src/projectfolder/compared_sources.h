#pragma once
// The sources that the comparison commands read: documents, folders of module
// files and single module files, and for `diff` also project folders.
#include <filesystem>

#include "compare/project_comparison.h"
#include "sources/loaded_project.h"
#include "text/failure.h"

namespace cq {

// The project of a document, folder or module file whose code can be shown;
// the reason when it cannot be read or is locked for viewing.
Outcome<LoadedProject> readableProject(const std::filesystem::path& source, int moduleFileCodePage);

// A component as the comparison takes it: the name and type the host tree
// shows, every attribute line its module file keeps (but VB_Name, which the
// name carries) and the code the editor shows.
ComparedModule comparedModule(const LoadedComponent& component);

// A project folder by its code database and module files (no attribute lines,
// no module shorter than the host tree shows), any other source as readableProject() reads it.
Outcome<ComparedProject> loadComparedProject(const std::filesystem::path& source, int moduleFileCodePage);

}  // namespace cq
