#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <random>

#include "projects/document_loader.h"
#include "projects/office/office_document.h"
#include "projects/source_file.h"
#include "support/corpus.h"
#include "support/office_samples.h"
#include "support/temp_folder.h"

namespace cq {
namespace {

namespace fs = std::filesystem;

// `bytes` with a few random changes: bytes flipped, a piece cut out, bytes put
// in, or the end cut off.
std::string mutated(std::string bytes, std::mt19937& random) {
  const auto position = [&](std::size_t size) {
    return size == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, size - 1)(random);
  };
  const int changes = std::uniform_int_distribution<int>(1, 4)(random);
  for (int change = 0; change < changes; ++change) {
    switch (std::uniform_int_distribution<int>(0, 3)(random)) {
      case 0:
        if (!bytes.empty()) bytes[position(bytes.size())] ^= static_cast<char>(1 + position(255));
        break;
      case 1: {
        const std::size_t start = position(bytes.size());
        bytes.erase(start, std::min<std::size_t>(1 + position(64), bytes.size() - start));
        break;
      }
      case 2:
        bytes.insert(position(bytes.size() + 1), std::string(1 + position(16), static_cast<char>(position(256))));
        break;
      default:
        bytes.resize(position(bytes.size() + 1));
        break;
    }
  }
  return bytes;
}

// The loader gives either a project or a HostError for every mutant; the loader
// table turns the error into an unreadable project carrying the reason.
void loadMutants(const std::string& fileName, const std::string& original, int count, unsigned randomStart,
                 const test::TempFolder& temp) {
  std::mt19937 random(randomStart);
  int refused = 0;
  for (int round = 0; round < count; ++round) {
    const fs::path file = temp.writeFile(fileName, mutated(original, random));
    try {
      loadOfficeDocument(file);
    } catch (const HostError& error) {
      ++refused;
      EXPECT_NE(std::string(error.what()), "");
    } catch (const std::exception& error) {
      ADD_FAILURE() << fileName << " mutant " << round << ": " << error.what();
    }
    const LoadedProject project = loadDocument(file);
    EXPECT_TRUE(project.loadError().empty() || project.componentCount() == 0);
  }
  std::cout << "[ mutants  ] " << fileName << ": " << count << " damaged copies, " << refused << " refused\n";
}

TEST(OfficeMutation, DamagedSamplesAreRefusedCleanly) {
  test::TempFolder temp;
  unsigned randomStart = 1;
  for (const test::OfficeSample& sample : test::officeSamples()) {
    loadMutants(sample.fileName, sample.bytes, 300, randomStart++, temp);
  }
}

// One small corpus document of each kind, so that the whole test stays short.
TEST(OfficeMutation, DamagedCorpusDocumentsAreRefusedCleanly) {
  CQ_SKIP_WITHOUT_CORPUS();
  constexpr std::uintmax_t kMaxBytes = 150 * 1024;
  test::TempFolder temp;
  unsigned randomStart = 100;
  for (const std::string extension : {".xlsm", ".xlsb", ".docm", ".pptm", ".xls", ".doc", ".ppt", ".bin"}) {
    std::vector<fs::path> files = test::corpusFiles({extension});
    std::erase_if(files, [&](const fs::path& file) { return fs::file_size(file) > kMaxBytes; });
    if (files.empty()) continue;
    const fs::path smallest = *std::min_element(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
      return fs::file_size(a) < fs::file_size(b);
    });
    loadMutants("Korpus" + extension, readSourceFile(smallest), 150, randomStart++, temp);
  }
}

}  // namespace
}  // namespace cq
