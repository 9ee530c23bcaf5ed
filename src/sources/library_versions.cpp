#include "sources/library_versions.h"

#include <glib.h>
#include <gsf/gsf-utils.h>
#include <mdbtools.h>
#include <sqlite3.h>
#include <zlib.h>

namespace cq {

LibraryVersions libraryVersions() {
  LibraryVersions versions;
  versions.sqlite = sqlite3_libversion();
  versions.gsf = std::to_string(libgsf_major_version) + "." + std::to_string(libgsf_minor_version) + "." +
                 std::to_string(libgsf_micro_version);
  const char* mdb = mdb_get_version();
  versions.mdbtools = mdb != nullptr ? mdb : "";
  versions.zlib = zlibVersion();
  return versions;
}

}  // namespace cq
