// The fast mark-up against the plain reference transcription: same module text,
// same scan calls, same warnings, same routine counter, for real modules and for
// generated VBA-like text, under every combination of the mark-up options.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "oracle/reference_markup.h"
#include "text/text_decoding.h"
#include "render/markup.h"
#include "support/random_vba.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"
#include "support/text_difference.h"

namespace {

using cq::MarkupOptions;
using cq::test::escapedBytes;
using cq::test::firstDifference;

constexpr int kOptionCombinations = 16;

MarkupOptions optionsFromBits(int bits) {
  MarkupOptions options;
  options.removeEmptyLines = (bits & 1) != 0;
  options.reindent = (bits & 2) != 0;
  options.blankLineBeforeRoutines = (bits & 4) != 0;
  options.indentRoutineBodies = (bits & 8) != 0;
  return options;
}

std::string describe(const MarkupOptions& options) {
  std::string out;
  out += options.removeEmptyLines ? "leer " : "";
  out += options.reindent ? "einr " : "";
  out += options.blankLineBeforeRoutines ? "rle " : "";
  out += options.indentRoutineBodies ? "rer " : "";
  return out.empty() ? "(no options)" : out;
}

struct ModuleOutcome {
  std::string text;
  std::vector<std::string> calls;
  std::vector<std::string> warnings;
  std::int64_t counter = 0;
};

using ModuleMarkUp = std::function<std::string(std::string_view, const MarkupOptions&, cq::ModuleScan&)>;

ModuleOutcome runModule(const ModuleMarkUp& markUp, std::string_view code, const MarkupOptions& options,
                        std::int64_t counterStart) {
  cq::test::RecordingSink sink;
  std::vector<cq::ScanWarning> warnings;
  ModuleOutcome outcome;
  outcome.counter = counterStart;
  cq::ModuleScan scan;
  scan.moduleNumber = 7;
  scan.moduleType = 2;
  scan.moduleName = "Modul7";
  scan.routineCounter = &outcome.counter;
  scan.sink = &sink;
  scan.warnings = &warnings;
  scan.blankLineBeforeRoutines = options.blankLineBeforeRoutines;
  scan.indentRoutineBodies = options.reindent && options.indentRoutineBodies;
  outcome.text = markUp(code, options, scan);
  outcome.calls = sink.log;
  for (const cq::ScanWarning& w : warnings) {
    outcome.warnings.push_back(w.module + " line " + std::to_string(w.line) + ": " + w.code);
  }
  return outcome;
}

// Empty when the fast mark-up agrees with the reference in module mode.
std::string moduleDifference(std::string_view code, const MarkupOptions& options, std::int64_t counterStart = 40) {
  const ModuleOutcome expected = runModule(cq::oracle::markUpModule, code, options, counterStart);
  const ModuleOutcome actual = runModule(cq::markUpModule, code, options, counterStart);
  if (std::string d = firstDifference(expected.text, actual.text); !d.empty()) return "module text: " + d;
  if (std::string d = firstDifference(expected.calls, actual.calls); !d.empty()) return "scan calls: " + d;
  if (std::string d = firstDifference(expected.warnings, actual.warnings); !d.empty()) return "warnings: " + d;
  if (expected.counter != actual.counter) {
    return "routine counter: expected " + std::to_string(expected.counter) + ", actual " +
           std::to_string(actual.counter);
  }
  return {};
}

std::string selectionDifference(std::string_view code, const MarkupOptions& options) {
  if (std::string d = firstDifference(cq::oracle::markUpSelection(code, options), cq::markUpSelection(code, options));
      !d.empty()) {
    return "selection text: " + d;
  }
  return {};
}

std::string bothModesDifference(std::string_view code, const MarkupOptions& options) {
  std::string d = moduleDifference(code, options);
  return d.empty() ? selectionDifference(code, options) : d;
}

// Lines with their line ends, so a failing input can be cut down line by line.
std::vector<std::string> piecesOf(std::string_view code) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start < code.size()) {
    const std::size_t end = code.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? code.size() : end + 1;
    pieces.emplace_back(code.substr(start, next - start));
    start = next;
  }
  return pieces;
}

std::string joined(const std::vector<std::string>& pieces) {
  std::string out;
  for (const std::string& p : pieces) out += p;
  return out;
}

// Drops lines as long as the two sides still disagree, so the report shows a small input.
std::string shrunk(std::string code, const MarkupOptions& options) {
  std::vector<std::string> pieces = piecesOf(code);
  // Repeated until nothing more can go: a line may only be dispensable once
  // the continued line before it has gone.
  for (bool dropped = true; dropped;) {
    dropped = false;
    for (std::size_t i = pieces.size(); i-- > 0;) {
      std::vector<std::string> fewer = pieces;
      fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(i));
      if (!bothModesDifference(joined(fewer), options).empty()) {
        pieces = std::move(fewer);
        dropped = true;
      }
    }
  }
  return joined(pieces);
}

std::string failureReport(const std::string& where, std::string code, const MarkupOptions& options) {
  code = shrunk(std::move(code), options);
  std::ostringstream out;
  out << where << ", options " << describe(options) << "\n  input (cut down): \"" << escapedBytes(code.substr(0, 3000))
      << "\"\n  " << bothModesDifference(code, options);
  return out.str();
}

std::vector<std::filesystem::path> corpusModuleFiles() {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(CQ_CORPUS_DIR)) {
    if (!entry.is_regular_file()) continue;
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".bas" || extension == ".cls" || extension == ".frm") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(MarkupDifferential, GeneratedTextsAgreeUnderEveryOptionCombination) {
  // CQ_DIFFERENTIAL_ROUNDS=n runs n times as many texts (for a long hunt by hand).
  const char* rounds = std::getenv("CQ_DIFFERENTIAL_ROUNDS");
  const int kTextsPerCombination = 300 * std::max(1, rounds ? std::atoi(rounds) : 1);
  for (int bits = 0; bits < kOptionCombinations; ++bits) {
    const MarkupOptions options = optionsFromBits(bits);
    cq::test::RandomVba random(0xC0DE0000u + static_cast<std::uint32_t>(bits));
    for (int n = 0; n < kTextsPerCombination; ++n) {
      // Mostly modules, now and then a single line as a selection would be.
      const std::string code = random.chance(15) ? random.line() : random.module(40);
      const std::int64_t counterStart = random.below(1000);
      std::string d = moduleDifference(code, options, counterStart);
      if (d.empty()) d = selectionDifference(code, options);
      if (!d.empty()) {
        FAIL() << failureReport("generated text " + std::to_string(n), code, options);
      }
    }
  }
}

TEST(MarkupDifferential, CorpusModulesAgreeUnderEveryOptionCombination) {
  if (!std::filesystem::is_directory(CQ_CORPUS_DIR)) GTEST_SKIP() << "no corpus at " << CQ_CORPUS_DIR;
  const std::vector<std::filesystem::path> files = corpusModuleFiles();
  ASSERT_FALSE(files.empty());
  // The reference is slow on whole modules, so each file gets four of the sixteen
  // combinations, in turn; every combination still meets a quarter of the corpus.
  constexpr int kCombinationsPerFile = 4;
  for (std::size_t index = 0; index < files.size(); ++index) {
    const std::filesystem::path& file = files[index];
    const std::string code = cq::decodeSourceText(cq::test::fileBytes(file)).text;
    for (int turn = 0; turn < kCombinationsPerFile; ++turn) {
      const int bits = static_cast<int>(index + static_cast<std::size_t>(turn) * 5) % kOptionCombinations;
      const MarkupOptions options = optionsFromBits(bits);
      if (const std::string d = bothModesDifference(code, options); !d.empty()) {
        FAIL() << failureReport(file.string(), code, options);
      }
    }
  }
}

TEST(MarkupDifferential, SingleLinesAgreeOnGeneratedLines) {
  cq::test::RandomVba random(0x5CA9u);
  const MarkupOptions options;
  for (int n = 0; n < 20000; ++n) {
    std::string line = random.line();
    // Half the lines have a quote before their first apostrophe.
    if (random.chance(50)) line = "x = \"" + line + "' " + random.line();
    const std::string d =
        firstDifference(cq::oracle::markUpSelection(line, options), cq::markUpSelection(line, options));
    ASSERT_TRUE(d.empty()) << "line \"" << escapedBytes(line) << "\": " << d;
  }
}

}  // namespace
