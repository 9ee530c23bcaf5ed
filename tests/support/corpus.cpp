#include "support/corpus.h"

#include <algorithm>
#include <string>

namespace fs = std::filesystem;

namespace cq::test {

fs::path corpusRoot() {
  std::error_code ec;
  const fs::path root(CQ_CORPUS_DIR);
  return fs::is_directory(root, ec) ? root : fs::path();
}

std::vector<fs::path> corpusFiles(const std::vector<std::string>& extensions) {
  std::vector<fs::path> files;
  const fs::path root = corpusRoot();
  if (root.empty()) return files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (std::find(extensions.begin(), extensions.end(), ext) != extensions.end()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<fs::path> corpusModuleFiles() { return corpusFiles({".bas", ".cls", ".frm"}); }

}  // namespace cq::test
