// Writes the seed corpora of the fuzzers: the documents and streams that the
// tests' own fixture writers make, and the documents and module files of the
// corpus folder when there is one, each a file of the target's seed folder.
// Usage: cq-fuzz-seeds SEED_FOLDER [CORPUS_FOLDER]
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>

#include "support/office_file_writer.h"
#include "support/office_samples.h"
#include "support/ovba_compressor.h"
#include "support/vba_project_writer.h"

namespace fs = std::filesystem;
using namespace cq::test;

namespace {

void writeSeed(const fs::path& folder, const std::string& name, char selector, const std::string& bytes) {
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary) << selector << bytes;
}

// The selector byte of the document fuzzer for a file name's extension; -1
// for other files.
int documentSelector(const std::string& fileName) {
  static const char* const kExtensions[] = {".bin", ".xlsm", ".xls", ".doc", ".ppt", ".pptm", ".docm", ".xlsb"};
  const std::string extension = fs::path(fileName).extension().string();
  for (int i = 0; i < 8; ++i)
    if (extension == kExtensions[i]) return i;
  return -1;
}

std::string fileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Real documents and module files; big ones would only slow every run down.
void addCorpusSeeds(const fs::path& root, const fs::path& corpus) {
  constexpr std::uintmax_t kLargestDocument = 2 * 1024 * 1024;
  constexpr std::uintmax_t kLargestModule = 64 * 1024;
  std::error_code error;
  int number = 0;
  for (fs::recursive_directory_iterator it(corpus, error), end; !error && it != end; it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    const std::string extension = it->path().extension().string();
    const std::uintmax_t size = it->file_size(error);
    const std::string name = std::to_string(++number) + extension;
    if (const int selector = documentSelector(name); selector >= 0 && size <= kLargestDocument) {
      writeSeed(root / "document", name, static_cast<char>(selector), fileBytes(it->path()));
    } else if ((extension == ".accda" || extension == ".accdb" || extension == ".mdb") && size <= kLargestDocument) {
      fs::create_directories(root / "access");
      fs::copy_file(it->path(), root / "access" / name, fs::copy_options::overwrite_existing, error);
    } else if ((extension == ".bas" || extension == ".cls" || extension == ".frm") && size <= kLargestModule) {
      writeSeed(root / "text", name, static_cast<char>(number & 0x7F), fileBytes(it->path()));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::cerr << "usage: cq-fuzz-seeds SEED_FOLDER [CORPUS_FOLDER]\n";
    return 2;
  }
  const fs::path root = argv[1];
  for (const OfficeSample& sample : officeSamples())
    writeSeed(root / "document", sample.fileName, static_cast<char>(documentSelector(sample.fileName)), sample.bytes);

  const StreamMap streams = sampleProjectStreams();
  for (const auto& [path, bytes] : streams) {
    const std::string name = fs::path(path).filename().string();
    if (path == "VBA/dir") writeSeed(root / "vba_streams", "dir", 1, bytes);
    else if (path == "PROJECT") writeSeed(root / "vba_streams", "PROJECT", 2, bytes);
    else if (path.rfind("VBA/", 0) == 0) writeSeed(root / "vba_streams", "module-" + name, 0, bytes);
  }
  writeSeed(root / "vba_streams", "presentation", 3,
            presentationStream(embeddedStorageRecord(compoundFileBytes(streams), EmbeddedStorage::kCompressed)));
  writeSeed(root / "vba_streams", "content-types", 4, contentTypesXml("/xl/vbaProject.bin"));

  for (const VbaModulePlan& module : sampleProjectPlan().modules)
    writeSeed(root / "text", module.name + ".bas", 0x2B, module.code);
  if (argc == 3 && fs::is_directory(argv[2])) addCorpusSeeds(root, argv[2]);
  return 0;
}
