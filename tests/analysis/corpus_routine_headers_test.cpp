// Every routine header of the real code is found: the scanner's rows agree, module
// by module, with the headers that a separate line-by-line reading finds.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "sources/source_file.h"
#include "render/markup.h"
#include "support/corpus.h"
#include "support/recording_sink.h"

namespace cq {
namespace {

using Header = std::pair<std::string, int>;  // name, routine type code

// One statement: continued lines joined, with its code words (outside literals
// and comments, split at blanks, tabs, parentheses and commas) and whether the
// statement holds a "(" anywhere.
struct Statement {
  std::vector<std::string> words;
  bool hasParenthesis = false;
  bool has(std::string_view word) const { return std::find(words.begin(), words.end(), word) != words.end(); }
  std::string wordAfter(std::string_view word) const {
    const auto at = std::find(words.begin(), words.end(), word);
    return at == words.end() || at + 1 == words.end() ? std::string() : *(at + 1);
  }
  std::string wordBefore(std::string_view word) const {
    const auto at = std::find(words.begin(), words.end(), word);
    return at == words.begin() || at == words.end() ? std::string() : *(at - 1);
  }
};

std::vector<Statement> statements(const std::string& code) {
  std::vector<Statement> result;
  std::string pending;
  for (std::size_t start = 0; start <= code.size();) {
    std::size_t br = code.find("\r\n", start);
    if (br == std::string::npos) br = code.size();
    std::string line = code.substr(start, br - start);
    start = br + 2;
    const bool continued = !line.empty() && line.back() == '_';
    if (continued) line.pop_back();
    pending += line;
    if (continued) continue;
    Statement statement;
    statement.hasParenthesis = pending.find('(') != std::string::npos;
    std::string word;
    bool inString = false;
    for (char c : pending + " ") {
      if (c == '"') inString = !inString;
      if (inString || c == '"') continue;
      if (c == '\'') break;
      if (c == ' ' || c == '\t' || c == '(' || c == ')' || c == ',') {
        if (!word.empty()) statement.words.push_back(word);
        word.clear();
      } else {
        word.push_back(c);
      }
    }
    if (!word.empty()) statement.words.push_back(word);
    result.push_back(std::move(statement));
    pending.clear();
  }
  return result;
}

// The routines that the header and end rules give, read from the code's words
// instead of the marked-up text: for each kind in turn, a statement naming the
// kind (and no Exit) opens a routine, or closes the open one.
std::vector<Header> routinesByReading(const std::string& code, std::size_t& unreadableHeaders) {
  std::vector<Header> found;
  const std::vector<Statement> all = statements(code);
  for (const std::string kind : {"Sub", "Function", "Property"}) {
    bool open = false;
    for (const Statement& s : all) {
      if (!s.has(kind) || s.has("Exit")) continue;
      if (open) {
        open = false;
        continue;
      }
      if (s.has("Declare")) {
        if (!s.has("Lib")) {
          ++unreadableHeaders;
          continue;
        }
        found.push_back({s.wordBefore("Lib"), (kind == "Sub" ? 1 : 2) + 10});
        continue;
      }
      int type = kind == "Sub" ? 1 : kind == "Function" ? 2 : 0;
      std::string accessor;
      if (type == 0) {
        for (const auto& [word, code] : {std::pair{"Get", 4}, {"Set", 5}, {"Let", 3}})
          if (s.has(word)) type = code, accessor = word;
        if (type == 0) continue;
      }
      if (!s.hasParenthesis) {
        ++unreadableHeaders;
        continue;
      }
      found.push_back({s.wordAfter(accessor.empty() ? kind : accessor), type});
      open = true;
    }
  }
  return found;
}

// A routine written on one line ("Sub X(): End Sub") is not supported: the rules
// take the next header of its kind for its end.
bool hasOneLineRoutine(const std::string& code) {
  static const std::regex oneLine(R"((Sub|Function|Property)[^\r\n]*\)[^\r\n]*:\s*End (Sub|Function|Property))");
  return std::regex_search(code, oneLine);
}

TEST(CorpusRoutineHeaders, ScannerRowsAgreeWithRoutinesFoundByReading) {
  CQ_SKIP_WITHOUT_CORPUS();
  std::size_t modules = 0, rows = 0, unreadable = 0, oneLineModules = 0;
  for (const auto& file : test::corpusModuleFiles()) {
    const LoadedComponent component = loadModuleFile(file, file.stem().string());
    const std::string code = component.lines(1, component.countOfLines());
    test::RecordingSink sink;
    std::int64_t counter = 0;
    std::vector<ScanWarning> warnings;
    ModuleScan scan;
    scan.moduleNumber = 1;
    scan.routineCounter = &counter;
    scan.sink = &sink;
    scan.warnings = &warnings;
    markUpModule(code, {}, scan);

    std::vector<Header> scanned;
    for (const auto& routine : sink.routines) {
      scanned.push_back({routine.row.name, routine.row.type});
      EXPECT_TRUE(routine.start.has_value()) << file << ": " << routine.row.name;
      EXPECT_FALSE(routine.row.name.empty()) << file;
    }
    std::size_t unreadableHeaders = 0;
    EXPECT_EQ(scanned, routinesByReading(code, unreadableHeaders)) << file;
    EXPECT_EQ(warnings.size(), unreadableHeaders) << file;
    ++modules;
    rows += scanned.size();
    unreadable += warnings.size();
    oneLineModules += hasOneLineRoutine(code);
  }
  std::cout << "corpus: " << modules << " module files, " << rows << " routine rows, " << unreadable
            << " header lines left as code, " << oneLineModules << " modules with one-line routines\n";
}

}  // namespace
}  // namespace cq
