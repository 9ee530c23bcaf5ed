#include "sources/access/access_storage_tree.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "text/ascii_case.h"
#include "sources/host_application.h"

namespace cq {

namespace {

constexpr std::string_view kRootName = "MSysAccessStorage_ROOT";
// The project's streams lie two levels below its storage; anything far deeper
// is a damaged table, not a project.
constexpr int kMaxProjectDepth = 16;

[[noreturn]] void throwDamaged(const std::string& fileName, const std::string& reason) {
  throw Failed("Die Access-Datenbank \"" + fileName + "\" ist beschädigt: " + reason + ".");
}

class StorageTree {
 public:
  StorageTree(const std::vector<AccessStorageEntry>& entries, const std::string& fileName)
      : entries_(entries), fileName_(fileName) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (!indexById_.emplace(entries[i].id, i).second) {
        throwDamaged(fileName, "die Kennung " + std::to_string(entries[i].id) + " kommt mehrfach vor");
      }
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].parentId != entries[i].id) childrenByParent_[entries[i].parentId].push_back(i);
    }
  }

  // The root candidates: the row named as the root first, then every storage
  // without a real parent, in row order.
  std::vector<std::size_t> roots() const {
    std::vector<std::size_t> roots;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (!entries_[i].isStream && equalsIgnoringAsciiCase(entries_[i].name, kRootName)) roots.push_back(i);
    }
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      const AccessStorageEntry& entry = entries_[i];
      const bool topLevel = entry.parentId == entry.id || indexById_.count(entry.parentId) == 0;
      if (!entry.isStream && topLevel && !equalsIgnoringAsciiCase(entry.name, kRootName)) roots.push_back(i);
    }
    return roots;
  }

  std::optional<std::size_t> childStorage(std::size_t parent, std::string_view name) const {
    for (std::size_t child : children(parent)) {
      if (!entries_[child].isStream && equalsIgnoringAsciiCase(entries_[child].name, name)) return child;
    }
    return std::nullopt;
  }

  // Every stream below `storage`, depth first in row order.
  std::vector<AccessProjectStream> streamsBelow(std::size_t storage) const {
    std::vector<AccessProjectStream> streams;
    std::unordered_set<std::size_t> visited{storage};
    collectStreams(storage, "", 1, visited, streams);
    return streams;
  }

 private:
  const std::vector<std::size_t>& children(std::size_t parent) const {
    static const std::vector<std::size_t> none;
    const auto found = childrenByParent_.find(entries_[parent].id);
    return found == childrenByParent_.end() ? none : found->second;
  }

  void collectStreams(std::size_t storage, const std::string& prefix, int depth,
                      std::unordered_set<std::size_t>& visited, std::vector<AccessProjectStream>& streams) const {
    if (depth > kMaxProjectDepth) throwDamaged(fileName_, "der VBA-Speicher ist zu tief verschachtelt");
    for (std::size_t child : children(storage)) {
      if (!visited.insert(child).second) throwDamaged(fileName_, "die Einträge des VBA-Speichers bilden einen Ring");
      const AccessStorageEntry& entry = entries_[child];
      if (entry.isStream) {
        streams.push_back({prefix + entry.name, entry.id});
      } else {
        collectStreams(child, prefix + entry.name + "/", depth + 1, visited, streams);
      }
    }
  }

  const std::vector<AccessStorageEntry>& entries_;
  const std::string& fileName_;
  std::unordered_map<long, std::size_t> indexById_;
  std::unordered_map<long, std::vector<std::size_t>> childrenByParent_;
};

}  // namespace

std::optional<std::vector<AccessProjectStream>> findVbaProjectStreams(
    const std::vector<AccessStorageEntry>& entries, const std::string& fileName) {
  const StorageTree tree(entries, fileName);
  for (std::size_t root : tree.roots()) {
    const std::optional<std::size_t> vba = tree.childStorage(root, "VBA");
    if (!vba) continue;
    if (const std::optional<std::size_t> project = tree.childStorage(*vba, "VBAProject")) {
      return tree.streamsBelow(*project);
    }
  }
  return std::nullopt;
}

}  // namespace cq
