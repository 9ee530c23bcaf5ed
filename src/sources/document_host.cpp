#include "sources/document_host.h"

#include <algorithm>
#include <system_error>

#include "sources/document_loader.h"

namespace cq {
namespace fs = std::filesystem;

bool DocumentHost::open(const fs::path& document) {
  std::error_code error;
  fs::path normal = fs::absolute(document, error).lexically_normal();
  if (error) normal = document.lexically_normal();
  if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();  // "dir/" -> "dir"
  if (std::find(documents_.begin(), documents_.end(), normal) != documents_.end()) return false;
  documents_.push_back(std::move(normal));
  return true;
}

bool DocumentHost::attach() {
  if (documents_.empty()) return false;
  projects_.reserve(documents_.size());
  for (std::size_t i = projects_.size(); i < documents_.size(); ++i) projects_.push_back(loadDocument(documents_[i], moduleFileCodePage_));
  return true;
}

const LoadedProject& DocumentHost::loadedProject(long index) const {
  if (index < 1 || index > projectCount()) {
    throw Failed("Das Projekt Nummer " + std::to_string(index) + " ist nicht geöffnet.");
  }
  return projects_[static_cast<std::size_t>(index - 1)];
}

std::vector<DocumentLoadError> DocumentHost::loadErrors() const {
  std::vector<DocumentLoadError> errors;
  for (std::size_t i = 0; i < projects_.size(); ++i) {
    std::string reason = projects_[i].loadError();
    if (!reason.empty()) errors.push_back({documents_[i], std::move(reason)});
  }
  return errors;
}

}  // namespace cq
