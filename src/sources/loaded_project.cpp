#include "sources/loaded_project.h"

#include <iterator>
#include <numeric>

#include "text/unicode_case.h"

namespace cq {

LoadedComponent::LoadedComponent(std::string name, int type, ModuleCode code, std::size_t replacedCharacters)
    : name_(std::move(name)), type_(type), code_(std::move(code)), replacedCharacters_(replacedCharacters) {}

LoadedProject::LoadedProject(std::string fileName, std::string name)
    : fileName_(std::move(fileName)), name_(std::move(name)) {}

LoadedProject LoadedProject::unreadable(std::string fileName, std::string name, std::string reason) {
  LoadedProject project(std::move(fileName), std::move(name));
  project.loadError_ = std::move(reason);
  return project;
}

std::size_t LoadedProject::replacedCharacters() const {
  return std::accumulate(components_.begin(), components_.end(), std::size_t{0},
                         [](std::size_t sum, const LoadedComponent& c) { return sum + c.replacedCharacters(); });
}

const HostComponent& LoadedProject::component(long index) const {
  if (index < 1 || index > componentCount()) {
    throw Failed("Das Modul Nummer " + std::to_string(index) + " gibt es im Projekt " + name_ + " nicht.");
  }
  return components_[static_cast<std::size_t>(index - 1)];
}

void LoadedProject::addComponent(LoadedComponent component) {
  std::string folded = foldCase(component.name());
  if (indexByFoldedName_.contains(folded)) {
    const std::string base = component.name();
    int& suffix = nextSuffixByFoldedName_.try_emplace(folded, 2).first->second;
    std::string name;
    do {
      name = base + " (" + std::to_string(suffix++) + ")";
      folded = foldCase(name);
    } while (indexByFoldedName_.contains(folded));
    component.rename(std::move(name));
  }
  indexByFoldedName_.emplace(std::move(folded), components_.size());
  components_.push_back(std::move(component));
}

const HostComponent& LoadedProject::component(const std::string& name) const {
  const auto found = indexByFoldedName_.find(foldCase(name));
  if (found == indexByFoldedName_.end()) throw Failed("Das Modul " + name + " gibt es im Projekt " + name_ + " nicht.");
  return components_[found->second];
}

void LoadedProject::addDocumentCallers(std::vector<DocumentCaller> callers) {
  documentCallers_.insert(documentCallers_.end(), std::make_move_iterator(callers.begin()),
                          std::make_move_iterator(callers.end()));
}

}  // namespace cq
