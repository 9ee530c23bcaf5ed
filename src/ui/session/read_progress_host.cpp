#include "ui/session/read_progress_host.h"

namespace cq {

class ReadProgressHost::ReportingProject : public HostProject {
 public:
  ReportingProject(const HostProject& project, const ModuleStarted& moduleStarted)
      : project_(project), moduleStarted_(moduleStarted) {}

  std::string fileName() const override { return project_.fileName(); }
  std::string name() const override { return project_.name(); }
  bool protection() const override { return project_.protection(); }
  long componentCount() const override { return project_.componentCount(); }
  const HostComponent& component(long index) const override {
    const HostComponent& found = project_.component(index);
    if (moduleStarted_) moduleStarted_(found.name());
    return found;
  }
  const HostComponent& component(const std::string& name) const override { return project_.component(name); }
  std::string loadError() const override { return project_.loadError(); }

 private:
  const HostProject& project_;
  const ModuleStarted& moduleStarted_;
};

ReadProgressHost::ReadProgressHost(HostApplication& host, ModuleStarted moduleStarted)
    : host_(host), moduleStarted_(std::move(moduleStarted)) {}

ReadProgressHost::~ReadProgressHost() = default;

bool ReadProgressHost::attach() {
  projects_.clear();
  return host_.attach();
}

const HostProject& ReadProgressHost::project(long index) const {
  auto& wrapper = projects_[index];
  if (!wrapper) wrapper = std::make_unique<ReportingProject>(host_.project(index), moduleStarted_);
  return *wrapper;
}

}  // namespace cq
