#include "sources/office/ole_vba_storage.h"

#include <utility>

#include "sources/office/gsf_tree.h"

namespace cq {

OleVbaStorage::OleVbaStorage(GsfInfileHandle root, OfficeFile file) : root_(std::move(root)), file_(std::move(file)) {}

std::optional<std::string> OleVbaStorage::stream(std::string_view path) const {
  const GsfInputHandle entry = entryAtPath(root_.get(), path, file_);
  if (!entry || isStorage(entry.get())) return std::nullopt;
  return readWholeStream(entry.get(), path, file_);
}

bool OleVbaStorage::holdsVbaProject() const {
  const GsfInputHandle project = entryAtPath(root_.get(), "PROJECT", file_);
  const GsfInputHandle dir = entryAtPath(root_.get(), "VBA/dir", file_);
  return project && !isStorage(project.get()) && dir && !isStorage(dir.get());
}

}  // namespace cq
