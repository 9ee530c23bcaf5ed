#pragma once
// The bundled sample modules read into a project folder, as "&Code Einlesen" does.
#include <filesystem>

namespace cq::test {

// True when samples/Lagerverwaltung was read into `folder` without failure.
bool readSampleProject(const std::filesystem::path& folder);

}  // namespace cq::test
