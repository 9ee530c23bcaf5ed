#pragma once
// The streams of a VBA project taken out of an Access database, held in memory
// and offered to the VBA project reader.
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "sources/vba/vba_project_reader.h"

namespace cq {

class AccessProjectStorage : public VbaStorage {
 public:
  // Adds a stream under its UTF-8 path below the project's storage ("VBA/dir"). A
  // second stream of the same path is ignored: the first row found wins.
  void addStream(std::string_view path, std::string bytes);
  std::optional<std::string> stream(std::string_view path) const override;

 private:
  std::map<std::string, std::string> streams_;  // by path with A-Z turned into a-z
};

}  // namespace cq
