#pragma once
// The tree of storages and streams that an Access database keeps in its system
// table MSysAccessStorage, one row per node, and the VBA project found in it.
#include <optional>
#include <string>
#include <vector>

namespace cq {

// One row of MSysAccessStorage.
struct AccessStorageEntry {
  long id = 0;
  long parentId = 0;
  std::string name;  // UTF-8, as the stream paths of a VBA project are written
  bool isStream = false;  // row type 2; type 1 is a storage
};

// A stream of the VBA project with its path below the project's storage
// ("PROJECT", "VBA/dir", "VBA/<module stream>").
struct AccessProjectStream {
  std::string path;
  long id = 0;
};

// The streams below the storage "VBA/VBAProject" of the tree's root, in the order
// of the rows. nullopt when the database holds no VBA project. The root is the row
// named "MSysAccessStorage_ROOT" or, failing that, any row whose parent is itself
// or missing. Throws Failed with a German message naming `fileName` when the
// rows do not form a tree (an id used twice, storages that contain each other,
// the project nested deeper than any real one would be).
std::optional<std::vector<AccessProjectStream>> findVbaProjectStreams(
    const std::vector<AccessStorageEntry>& entries, const std::string& fileName);

}  // namespace cq
