#pragma once
// Documents and folders of module files read into a project folder, as "&Code Einlesen" does:
// the bundled sample, or modules a test writes.
#include <filesystem>

#include "sources/project_reader.h"

namespace cq::test {

// Reads every module of the document (a file or a folder of module files) into
// the project folder `folder`, created when missing.
Outcome<ProjectRead> readDocumentIntoFolder(const std::filesystem::path& document, const std::filesystem::path& folder);

// True when the folder of module files `sources` was read into `folder` without failure.
bool readModuleFolder(const std::filesystem::path& sources, const std::filesystem::path& folder);

// True when samples/Lagerverwaltung was read into `folder` without failure.
bool readSampleProject(const std::filesystem::path& folder);

}  // namespace cq::test
