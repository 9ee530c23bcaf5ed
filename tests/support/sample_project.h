#pragma once
// Folders of module files read into a project folder, as "&Code Einlesen" does:
// the bundled sample, or modules a test writes.
#include <filesystem>

namespace cq::test {

// True when the folder of module files `sources` was read into `folder` without failure.
bool readModuleFolder(const std::filesystem::path& sources, const std::filesystem::path& folder);

// True when samples/Lagerverwaltung was read into `folder` without failure.
bool readSampleProject(const std::filesystem::path& folder);

}  // namespace cq::test
