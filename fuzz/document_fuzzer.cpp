// Office documents as `codequorix-cli read` takes them: the document is listed
// into the host tree, its first project ticked and read into a project folder.
// The first input byte picks the kind of document (its extension).
#include <array>
#include <string_view>

#include "fuzz_input_file.h"
#include "projectfolder/project_replacement.h"
#include "sources/document_host.h"
#include "sources/host_tree.h"
#include "sources/project_reader.h"

namespace {

constexpr std::array<std::string_view, 8> kExtensions = {".bin", ".xlsm", ".xls", ".doc", ".ppt", ".pptm", ".docm", ".xlsb"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes = cq::fuzz::bytesOf(data + 1, size - 1);
  const auto& scratch = cq::fuzz::scratch();
  const auto document = scratch.write(std::string("document").append(kExtensions[data[0] % kExtensions.size()]), bytes);

  cq::DocumentHost host;
  cq::HostTree tree;
  host.open(document);
  if (!cq::fillHostTree(host, tree)) return 0;
  for (std::size_t i = 0; i < tree.nodes.size(); ++i) {
    if (tree.nodes[i].parent != cq::kNoParent || tree.nodes[i].children.empty()) continue;
    cq::setTicked(tree, i, true);
    cq::ProjectReadRequest request;
    request.templateFile = CQ_FUZZ_TEMPLATE;
    (void)cq::readIntoProjectFolder(scratch.path() / "project", [&](const std::filesystem::path& folder) {
      request.folder = folder;
      return cq::readTickedModules(host, tree, request);
    });
    break;
  }
  return 0;
}
