#pragma once
// The host as the project reader sees it, reporting every module whose code the
// reader fetches, so the window can say which module is being read. Listing
// (names, types, line counts) reports nothing.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "sources/host_application.h"

namespace cq {

class ReadProgressHost : public HostApplication {
 public:
  using ModuleStarted = std::function<void(const std::string& componentName)>;

  // `host` outlives this object.
  ReadProgressHost(HostApplication& host, ModuleStarted moduleStarted);
  ~ReadProgressHost() override;

  bool attach() override;
  long projectCount() const override { return host_.projectCount(); }
  const HostProject& project(long index) const override;

 private:
  class ReportingProject;

  HostApplication& host_;
  ModuleStarted moduleStarted_;
  // Wrappers made on demand; an attach replaces the projects they refer to.
  mutable std::map<long, std::unique_ptr<ReportingProject>> projects_;
};

}  // namespace cq
