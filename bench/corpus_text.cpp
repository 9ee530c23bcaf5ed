#include "corpus_text.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sources/document_host.h"
#include "sources/project_reader.h"
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

fs::path readCorpusProject(const fs::path& work, int moduleCount) {
  const std::vector<std::string> modules = corpusModules();
  if (modules.empty()) return {};
  const fs::path sources = work / "quellen";
  fs::create_directories(sources);
  for (int n = 0; n < moduleCount; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "Modul%04d.bas", n);
    std::ofstream(sources / name, std::ios::binary)
        << "Attribute VB_Name = \"" << fs::path(name).stem().string() << "\"\r\n"
        << modules[static_cast<std::size_t>(n) % modules.size()];
  }
  cq::DocumentHost host;
  host.open(sources);
  cq::HostTree tree;
  if (!cq::fillHostTree(host, tree)) return {};
  cq::setTicked(tree, 0, true);
  cq::ProjectReadRequest request;
  request.templateFile = CQ_TEMPLATE_PATH;
  request.folder = work / "projekt";
  fs::create_directories(request.folder);
  const cq::Outcome<cq::ProjectRead> read = cq::readTickedModules(host, tree, request);
  if (!read) {
    std::printf("the read failed: %s\n", read.failure().text().c_str());
    return {};
  }
  std::printf("project: %d modules, %lld routines\n", read->modules, static_cast<long long>(read->routines));
  return request.folder;
}
