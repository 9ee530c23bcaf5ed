#include "support/sample_project.h"

#include "sources/document_host.h"
#include "sources/host_tree.h"
#include "sources/project_reader.h"

namespace cq::test {

bool readModuleFolder(const std::filesystem::path& sources, const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  DocumentHost host;
  host.open(sources);
  HostTree tree;
  if (!fillHostTree(host, tree) || tree.nodes.empty()) return false;
  setTicked(tree, 0, true);
  ProjectReadRequest request;
  request.templateFile = CQ_TEMPLATE_PATH;
  request.folder = folder;
  return readTickedModules(host, tree, request).ok();
}

bool readSampleProject(const std::filesystem::path& folder) {
  return readModuleFolder(std::filesystem::path(CQ_SOURCE_DIR) / "samples" / "Lagerverwaltung", folder);
}

}  // namespace cq::test
