// Every routine header of the real code is found: the scanner's rows agree, module
// by module, with the headers that a separate line-by-line reading finds.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string_view>
#include <regex>

#include "sources/module_file_encoding.h"
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
  bool hasWordPair(std::string_view first, std::string_view second) const {
    for (std::size_t i = 0; i + 1 < words.size(); ++i)
      if (words[i] == first && words[i + 1] == second) return true;
    return false;
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
// kind (and no Exit) opens a routine; while one is open, a statement that also
// says End closes it, and any other (a second header under #If ... #Else, or a
// body line that names the kind) leaves it open. A header followed by
// "End <kind>" in the same statement is a routine that is not left open.
std::vector<Header> routinesByReading(const std::string& code, std::size_t& unreadableHeaders) {
  std::vector<Header> found;
  const std::vector<Statement> all = statements(code);
  for (const std::string kind : {"Sub", "Function", "Property"}) {
    bool open = false;
    for (const Statement& s : all) {
      if (!s.has(kind) || s.has("Exit")) continue;
      if (open) {
        if (s.has("End")) open = false;
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
      open = !s.hasWordPair("End", kind);
    }
  }
  return found;
}

// Why a line that looked like a routine line was left as code.
std::string reasonOfWarning(std::string code) {
  code.erase(0, code.find_first_not_of(" \t"));
  static const std::regex header(R"(^((Public|Private|Friend|Static) +)*(Sub|Function|Property +(Get|Let|Set)) +\w+)");
  if (code.starts_with("End "))
    return "End line while no routine of its kind is open (an End of another kind, or its header left as code)";
  if (code.find("Declare ") != std::string::npos) return "declaration without Lib as spelled in the keyword list";
  if (std::regex_search(code, header)) return "header without \"(\"";
  return "no header (a kind word used otherwise)";
}

// The lines of a module text, markers removed and a trailing "_" dropped.
std::vector<std::string> moduleLines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t br = text.find("\r\n", start);
    if (br == std::string::npos) br = text.size();
    std::string line = withoutMarkers(std::string_view(text).substr(start, br - start));
    if (line.ends_with("_")) line.pop_back();
    lines.push_back(std::move(line));
    start = br + 2;
  }
  return lines;
}

// Line `number` (1-based), or an empty text.
std::string lineAt(const std::vector<std::string>& lines, std::int64_t number) {
  return number >= 1 && number <= static_cast<std::int64_t>(lines.size()) ? lines[number - 1] : std::string();
}

TEST(CorpusRoutineHeaders, ScannerRowsAgreeWithRoutinesFoundByReading) {
  CQ_SKIP_WITHOUT_CORPUS();
  std::size_t modules = 0, rows = 0, unreadable = 0, oneLineModules = 0, oneLineRows = 0;
  std::map<std::string, std::size_t> reasons;
  std::set<std::string> modulesWithWarnings;
  for (const auto& file : test::corpusModuleFiles()) {
    LoadedProject single("", "");
    addModuleFiles(single, {{file, file.stem().string()}}, kDetectCodePage);
    const HostComponent& component = single.component(1);
    const std::string code = component.lines(1, component.countOfLines());
    test::RecordingSink sink;
    std::int64_t counter = 0;
    std::vector<ScanWarning> warnings;
    ModuleScan scan;
    scan.moduleNumber = 1;
    scan.routineCounter = &counter;
    scan.sink = &sink;
    scan.warnings = &warnings;
    const std::vector<std::string> lines = moduleLines(markUpModule(code, {}, scan));

    std::vector<Header> scanned;
    std::size_t moduleOneLineRows = 0;
    for (const auto& routine : sink.routines) {
      scanned.push_back({routine.row.name, routine.row.type});
      EXPECT_TRUE(routine.start.has_value()) << file << ": " << routine.row.name;
      EXPECT_FALSE(routine.row.name.empty()) << file;
      // A routine ends on a line with its End statement: its own line for a one-line routine.
      if (routine.row.type <= kPropertySet && routine.end) {
        const char* kind = routine.row.type == kSub ? "End Sub" : routine.row.type == kFunction ? "End Function"
                                                                                                 : "End Property";
        EXPECT_NE(lineAt(lines, *routine.end).find(kind), std::string::npos) << file << ": " << routine.row.name;
        moduleOneLineRows += routine.end == routine.start;
      }
    }
    std::size_t unreadableHeaders = 0;
    EXPECT_EQ(scanned, routinesByReading(code, unreadableHeaders)) << file;
    EXPECT_EQ(warnings.size(), unreadableHeaders) << file;
    for (const ScanWarning& warning : warnings) {
      // The line number points at the line that the warning quotes.
      const std::string line = lineAt(lines, warning.line);
      EXPECT_TRUE(!line.empty() && warning.code.starts_with(line))
          << file << ": line " << warning.line << " is \"" << line << "\", the warning quotes \"" << warning.code
          << "\"";
      ++reasons[reasonOfWarning(warning.code)];
      modulesWithWarnings.insert(file.string());
    }
    ++modules;
    rows += scanned.size();
    unreadable += warnings.size();
    oneLineRows += moduleOneLineRows;
    oneLineModules += moduleOneLineRows > 0;
  }
  std::cout << "corpus: " << modules << " module files, " << rows << " routine rows (" << oneLineRows
            << " one-line routines in " << oneLineModules << " modules), " << unreadable
            << " header lines left as code in " << modulesWithWarnings.size() << " modules:\n";
  for (const auto& [reason, count] : reasons) std::cout << "  " << count << " " << reason << "\n";
  RecordProperty("routine_rows", static_cast<int>(rows));
  RecordProperty("one_line_routines", static_cast<int>(oneLineRows));
  RecordProperty("header_lines_left_as_code", static_cast<int>(unreadable));
  RecordProperty("modules_with_warnings", static_cast<int>(modulesWithWarnings.size()));
}

}  // namespace
}  // namespace cq
