#include "support/sample_project.h"

#include "sources/document_host.h"
#include "sources/host_tree.h"
#include "sources/project_reader.h"

namespace cq::test {

Outcome<ProjectRead> readDocumentIntoFolder(const std::filesystem::path& document, const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  DocumentHost host;
  host.open(document);
  HostTree tree;
  if (!fillHostTree(host, tree) || tree.nodes.empty()) return Failure{"no project in " + document.string()};
  setTicked(tree, 0, true);
  ProjectReadRequest request;
  request.templateFile = CQ_TEMPLATE_PATH;
  request.folder = folder;
  return readTickedModules(host, tree, request);
}

bool readModuleFolder(const std::filesystem::path& sources, const std::filesystem::path& folder) {
  return readDocumentIntoFolder(sources, folder).ok();
}

bool readSampleProject(const std::filesystem::path& folder) {
  return readModuleFolder(std::filesystem::path(CQ_SOURCE_DIR) / "samples" / "Lagerverwaltung", folder);
}

}  // namespace cq::test
