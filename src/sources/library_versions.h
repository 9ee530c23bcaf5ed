#pragma once
// The versions of the libraries the readers and the code database run on, for
// the system information a bug report needs.
#include <string>

namespace cq {

struct LibraryVersions {
  std::string sqlite;
  std::string gsf;
  std::string mdbtools;
  std::string zlib;
};

// The versions of the libraries loaded at run time.
LibraryVersions libraryVersions();

}  // namespace cq
