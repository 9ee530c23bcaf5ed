#include "corpus_text.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "text/text_decoding.h"

namespace fs = std::filesystem;

std::vector<std::string> corpusModules() {
  std::vector<std::string> modules;
  const fs::path root(CQ_CORPUS_DIR);
  if (!fs::is_directory(root)) return modules;
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".bas" || ext == ".cls" || ext == ".frm") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    modules.push_back(cq::decodeSourceText(bytes.str()).text);
  }
  return modules;
}

std::size_t totalSize(const std::vector<std::string>& texts) {
  std::size_t size = 0;
  for (const auto& t : texts) size += t.size();
  return size;
}
