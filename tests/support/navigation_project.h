#pragma once
// A small project of exported module files whose calls, names, host-called
// routines and string mentions put the search, the lookups and the report of
// routines nobody calls to work. Read in folder order it gives
//   M1 Andere (standard module), M2 Kunden (Access form, from Form_Kunden),
//   M3 Haupt (standard module), M4 Klasse (class module), M5 ThisWorkbook
//   (workbook document module);
// the comments in navigation_project.cpp give each module's code lines as the
// module files number them.
#include <filesystem>

namespace cq::test {

// Writes the module files into `sources` (created when missing).
void writeNavigationModules(const std::filesystem::path& sources);

}  // namespace cq::test
