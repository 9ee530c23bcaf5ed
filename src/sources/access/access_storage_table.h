#pragma once
// Reads the system table MSysAccessStorage of an Access database through
// mdbtools: first the rows that describe the storage tree, then, in a second
// pass, the bytes of the streams the caller asks for.
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "sources/access/access_storage_tree.h"

namespace cq {

class AccessStorageTable {
 public:
  // Opens the database. Throws Failed with a German message naming the file
  // when it is no Access database or so damaged that its catalog cannot be read,
  // and when it is an Access 97 database (its code lies elsewhere).
  explicit AccessStorageTable(const std::filesystem::path& database);
  ~AccessStorageTable();
  AccessStorageTable(const AccessStorageTable&) = delete;
  AccessStorageTable& operator=(const AccessStorageTable&) = delete;

  // False for a database without the table: it holds no Access objects at all.
  bool exists() const;
  // The rows in table order; empty when the table does not exist.
  std::vector<AccessStorageEntry> entries();
  // The bytes of the streams with these ids. Throws Failed when a stream is
  // larger than any real one or cannot be read completely.
  std::map<long, std::string> streams(const std::set<long>& ids);

 private:
  struct Reader;
  std::unique_ptr<Reader> reader_;
};

}  // namespace cq
