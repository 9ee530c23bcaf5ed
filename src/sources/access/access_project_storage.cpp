#include "sources/access/access_project_storage.h"

#include "text/ascii_case.h"

namespace cq {

void AccessProjectStorage::addStream(std::string_view path, std::string bytes) {
  streams_.emplace(toLowerAscii(path), std::move(bytes));
}

std::optional<std::string> AccessProjectStorage::stream(std::string_view path) const {
  const auto found = streams_.find(toLowerAscii(path));
  if (found == streams_.end()) return std::nullopt;
  return found->second;
}

}  // namespace cq
