#pragma once
// A host whose projects the tests make up: locked, never saved, failing ones.
#include <memory>
#include <string>
#include <vector>

#include "sources/host_application.h"
#include "sources/loaded_project.h"

namespace cq::test {

class FakeProject : public LoadedProject {
 public:
  using LoadedProject::LoadedProject;
  bool locked = false;
  bool saved = true;
  bool failing = false;

  std::string fileName() const override {
    if (!saved) throw Failed("never saved");
    return LoadedProject::fileName();
  }
  bool protection() const override { return locked; }
  long componentCount() const override {
    if (failing) throw Failed("Zugriff verweigert");
    return LoadedProject::componentCount();
  }
  // A module that can no longer be read (its document was closed meanwhile).
  std::string vanished;
  const HostComponent& component(long index) const override {
    const HostComponent& found = LoadedProject::component(index);
    if (found.name() == vanished) throw Failed("Das Modul " + vanished + " ist nicht mehr da.");
    return found;
  }
  const HostComponent& component(const std::string& name) const override {
    if (name == vanished) throw Failed("Das Modul " + name + " ist nicht mehr da.");
    return LoadedProject::component(name);
  }
};

class FakeHost : public HostApplication {
 public:
  bool running = true;
  std::vector<std::unique_ptr<FakeProject>> projects;

  FakeProject& add(const std::string& file, const std::string& name) {
    projects.push_back(std::make_unique<FakeProject>(file, name));
    return *projects.back();
  }
  bool attach() override { return running; }
  long projectCount() const override { return static_cast<long>(projects.size()); }
  const HostProject& project(long index) const override { return *projects.at(static_cast<std::size_t>(index - 1)); }
};

}  // namespace cq::test
