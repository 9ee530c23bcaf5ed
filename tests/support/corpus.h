#pragma once
// The real VBA code of the corpus, when the folder is present.
#include <filesystem>
#include <vector>

namespace cq::test {

// The corpus folder, or an empty path when it is absent.
std::filesystem::path corpusRoot();

// Every exported module file (.bas .cls .frm, any case) below the corpus, sorted.
std::vector<std::filesystem::path> corpusModuleFiles();

// Every file below the corpus whose extension (lower case, with dot) is one of `extensions`.
std::vector<std::filesystem::path> corpusFiles(const std::vector<std::string>& extensions);

}  // namespace cq::test

#define CQ_SKIP_WITHOUT_CORPUS()                                      \
  if (::cq::test::corpusRoot().empty()) GTEST_SKIP() << "corpus folder not present"
