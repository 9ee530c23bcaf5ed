#include "support/sample_project.h"

#include "sources/document_host.h"
#include "sources/host_tree.h"
#include "sources/project_reader.h"

namespace cq::test {

bool readSampleProject(const std::filesystem::path& folder) {
  DocumentHost host;
  host.open(std::filesystem::path(CQ_SOURCE_DIR) / "samples" / "Lagerverwaltung");
  HostTree tree;
  if (!fillHostTree(host, tree).ok || tree.nodes.empty()) return false;
  setTicked(tree, 0, true);
  ProjectReadRequest request;
  request.templateFile = CQ_TEMPLATE_PATH;
  request.folder = folder;
  return readTickedModules(host, tree, request).ok;
}

}  // namespace cq::test
