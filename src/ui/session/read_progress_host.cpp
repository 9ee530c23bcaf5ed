#include "ui/session/read_progress_host.h"

namespace cq {

namespace {

class ReportingComponent : public HostComponent {
 public:
  ReportingComponent(const HostComponent& component, const ReadProgressHost::ModuleStarted& moduleStarted)
      : component_(component), moduleStarted_(moduleStarted) {}

  std::string name() const override { return component_.name(); }
  int type() const override { return component_.type(); }
  long countOfLines() const override { return component_.countOfLines(); }
  std::string lines(long first, long count) const override {
    if (moduleStarted_) moduleStarted_(component_.name());
    return component_.lines(first, count);
  }
  std::size_t replacedCharacters() const override { return component_.replacedCharacters(); }

 private:
  const HostComponent& component_;
  const ReadProgressHost::ModuleStarted& moduleStarted_;
};

}  // namespace

class ReadProgressHost::ReportingProject : public HostProject {
 public:
  ReportingProject(const HostProject& project, const ModuleStarted& moduleStarted)
      : project_(project), moduleStarted_(moduleStarted) {}

  std::string fileName() const override { return project_.fileName(); }
  std::string name() const override { return project_.name(); }
  bool protection() const override { return project_.protection(); }
  long componentCount() const override { return project_.componentCount(); }
  const HostComponent& component(long index) const override { return reporting(project_.component(index)); }
  const HostComponent& component(const std::string& name) const override {
    return reporting(project_.component(name));
  }
  std::string loadError() const override { return project_.loadError(); }

 private:
  const HostComponent& reporting(const HostComponent& component) const {
    auto& wrapper = components_[&component];
    if (!wrapper) wrapper = std::make_unique<ReportingComponent>(component, moduleStarted_);
    return *wrapper;
  }

  const HostProject& project_;
  const ModuleStarted& moduleStarted_;
  mutable std::map<const HostComponent*, std::unique_ptr<ReportingComponent>> components_;
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
