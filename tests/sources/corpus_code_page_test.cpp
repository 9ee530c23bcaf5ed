// The Japanese and the Russian project of the corpus, read in their own code
// pages: each document and the module files its author exported agree on every
// module name, routine and code line, and the folder of those files is
// recognised as written in that code page.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <tuple>

#include "render/markup.h"
#include "sources/document_loader.h"
#include "sources/module_file.h"
#include "sources/module_file_encoding.h"
#include "sources/source_file.h"
#include "support/code_page_corpus.h"
#include "support/corpus.h"
#include "support/recording_sink.h"

namespace cq {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find("\r\n", start), text.size());
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// Every line of a component or a module file's code, as the editor shows it.
template <typename Code>
std::string codeOf(const Code& code) {
  return code.lines(1, code.countOfLines());
}

// Name, type and line range of every routine the module scanner records.
using Routine = std::tuple<std::string, int, std::int64_t, std::int64_t>;
std::vector<Routine> scannedRoutines(const std::string& code) {
  test::RecordingSink sink;
  std::int64_t counter = 0;
  std::vector<ScanWarning> warnings;
  ModuleScan scan;
  scan.moduleNumber = 1;
  scan.routineCounter = &counter;
  scan.sink = &sink;
  scan.warnings = &warnings;
  markUpModule(code, {}, scan);
  std::vector<Routine> routines;
  for (const auto& each : sink.routines)
    routines.emplace_back(each.row.name, each.row.type, each.start.value_or(0), each.end.value_or(0));
  return routines;
}

const LoadedComponent* moduleNamed(const LoadedProject& project, const std::string& name) {
  for (const LoadedComponent& each : project.components())
    if (each.name() == name) return &each;
  return nullptr;
}

TEST(CorpusCodePages, DocumentsAgreeWithTheirExportedModuleFiles) {
  CQ_SKIP_WITHOUT_CORPUS();
  for (const test::CorpusCodePageProject& project : test::codePageCorpusProjects()) {
    SCOPED_TRACE(project.language);
    const LoadedProject document = loadDocument(project.document);
    ASSERT_EQ(document.loadError(), "");
    EXPECT_EQ(document.codePage(), project.codePage);
    EXPECT_EQ(document.replacedCharacters(), 0u);
    std::map<std::string, fs::path> files = test::moduleFilesByStem(project.sources);
    std::vector<std::string> withoutFile;
    std::size_t modules = 0, lines = 0, routines = 0;
    for (const LoadedComponent& module : document.components()) {
      const auto file = files.find(module.name());
      if (file == files.end()) {
        withoutFile.push_back(module.name());
        continue;
      }
      SCOPED_TRACE(file->second.string());
      const DecodedText exported = decodeModuleFileBytes(readSourceFile(file->second), project.codePage);
      EXPECT_EQ(exported.replaced, 0u);
      const ModuleFileParts parts = splitModuleFile(exported.text);
      // The VB_Name attribute names the module; a file without a header, its file name.
      const std::string exportedName = moduleNameAttribute(parts.header);
      EXPECT_EQ(exportedName.empty() ? file->first : exportedName, module.name());
      const ModuleCode exportedCode(parts.code);
      EXPECT_EQ(linesOf(codeOf(module)), test::withEditsUndone(linesOf(codeOf(exportedCode)),
                                                               module.name(), project.edited));
      const std::vector<Routine> scanned = scannedRoutines(codeOf(module));
      EXPECT_EQ(scanned, scannedRoutines(codeOf(exportedCode)));
      ++modules;
      lines += static_cast<std::size_t>(module.countOfLines());
      routines += scanned.size();
      files.erase(file);
    }
    std::sort(withoutFile.begin(), withoutFile.end());
    EXPECT_EQ(withoutFile, project.withoutSourceFile);
    for (const auto& [stem, file] : files) ADD_FAILURE() << file << " belongs to no module of the document";
    const LoadedComponent* known = moduleNamed(document, project.knownModule);
    ASSERT_NE(known, nullptr);
    EXPECT_NE(codeOf(*known).find(project.knownLine), std::string::npos);
    std::cout << project.language << ": " << modules << " modules with their exported file, " << lines
              << " code lines, " << routines << " routines\n";
  }
}

TEST(CorpusCodePages, ExportedFoldersAreReadInTheCodePageDetectedForThem) {
  CQ_SKIP_WITHOUT_CORPUS();
  for (const test::CorpusCodePageProject& project : test::codePageCorpusProjects()) {
    SCOPED_TRACE(project.language);
    const LoadedProject folder = loadDocument(project.sources);
    const LoadedProject document = loadDocument(project.document);
    ASSERT_EQ(folder.loadError(), "");
    EXPECT_EQ(folder.codePage(), project.codePage);
    EXPECT_EQ(folder.replacedCharacters(), 0u);
    EXPECT_EQ(folder.components().size(), test::moduleFilesByStem(project.sources).size());
    for (const LoadedComponent& module : folder.components()) {
      const LoadedComponent* inDocument = moduleNamed(document, module.name());
      if (!inDocument) {
        ADD_FAILURE() << module.name() << " is no module of the document";
        continue;
      }
      EXPECT_EQ(linesOf(codeOf(*inDocument)),
                test::withEditsUndone(linesOf(codeOf(module)), module.name(), project.edited))
          << module.name();
    }
  }
}

}  // namespace
}  // namespace cq
