// The search, go to definition, the call list and the report of routines nobody
// calls on projects read from workbooks of the East Asian, Cyrillic, Greek,
// Hebrew and Central European code pages: names of every script are found
// whole, ignoring case where the script has case.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "analysis/call_search.h"
#include "analysis/definition_lookup.h"
#include "analysis/identifiers.h"
#include "analysis/text_search.h"
#include "analysis/unused_routines.h"
#include "codedb/code_database_index.h"
#include "projectfolder/module_texts.h"
#include "projectfolder/project_folder.h"
#include "render/styled_text.h"
#include "support/code_page_projects.h"
#include "support/sample_project.h"
#include "support/temp_folder.h"
#include "text/unicode_case.h"
#include "text/utf8.h"

namespace cq {
namespace {

namespace fs = std::filesystem;
using test::CodePageProject;
using Names = std::vector<std::string>;

class CodePageLookups : public ::testing::TestWithParam<CodePageProject> {
 protected:
  void SetUp() override {
    const Outcome<ProjectRead> read =
        test::readDocumentIntoFolder(test::writeCodePageWorkbook(sample(), work_), folder());
    ASSERT_TRUE(read) << read.failure().text();
    database_ = CodeDatabase::open(folder()).value();
    index_ = std::make_unique<CodeDatabaseIndex>(*database_);
    for (const ModuleListEntry& module : database_->moduleList().value())
      (module.name == sample().standardModule ? standard_ : class_) = module.number;
    ASSERT_NE(standard_, 0);
    ASSERT_NE(class_, 0);
  }

  const CodePageProject& sample() const { return GetParam(); }
  fs::path folder() const { return work_.path() / "projekt"; }
  std::string marked(int module) const { return readModuleFile(folder(), module).value(); }
  std::string plainText(int module) const { return plainTextOfMarked(marked(module)); }

  // The line of the routine's header in the standard module.
  long headerLine(const std::string& visibility, const std::string& name) const {
    return test::lineNumberOf(test::standardModuleLines(sample()), visibility + " Sub " + name + "()");
  }

  // "M<module> <line> <module name>", "-" when nothing is found.
  std::string definition(const std::string& name, int module) {
    const auto target = findDefinition(*index_, name, module);
    if (!target) return "failure: " + target.failure().text();
    if (!target.value()) return "-";
    return "M" + std::to_string(target.value()->module) + " " + std::to_string(target.value()->line) + " " +
           target.value()->moduleName;
  }

  // The call list as "key name" lines.
  Names callers(const std::string& name, int module) {
    const Outcome<CallList> list = findCallers(*index_, moduleFilesOf(folder()), name, module);
    if (!list) return {"failure: " + list.failure().text()};
    if (list->lookup != CallList::Lookup::kSearched) return {std::string(list->message())};
    Names lines;
    for (const CallListNode& node : list->nodes) lines.push_back(node.key() + " " + node.name);
    return lines;
  }

  std::string routineKey(const std::string& name) {
    for (const RoutineListEntry& row : database_->routineList().value())
      if (row.name == name) return row.routineKey;
    return "?";
  }

  test::TempFolder work_;
  std::unique_ptr<CodeDatabase> database_;
  std::unique_ptr<CodeIndex> index_;
  int standard_ = 0;
  int class_ = 0;
};

TEST_P(CodePageLookups, SearchIgnoresCaseInEveryScriptAndFindsWholeWordsOnly) {
  const CodePageProject& s = sample();
  const std::string text = plainText(standard_);
  const auto lineAt = [&](std::size_t offset) {
    std::int64_t line = 1;
    for (std::size_t at = text.find("\r\n"); at < offset; at = text.find("\r\n", at + 2)) ++line;
    return line;
  };
  // The word in the other case finds the declaration, the comment, the
  // assignment and, unless whole words are asked for, the longer word twice.
  for (const bool wholeWord : {false, true}) {
    const std::vector<std::size_t> hits = TextSearch(s.wordOtherCase, wholeWord).allHits(text);
    std::vector<std::int64_t> hitLines;
    for (const std::size_t hit : hits) {
      hitLines.push_back(lineAt(hit));
      EXPECT_EQ(foldCase(text.substr(hit, s.wordOtherCase.size())), foldCase(s.wordOtherCase));
    }
    const auto line = [&](const std::string& code) { return lineAt(text.find(code)); };
    const std::int64_t declaration = line("Private " + s.word + " ");
    const std::int64_t longer = line("Private " + s.wordCompound + " ");
    const std::int64_t comment = line("' " + s.wordOtherCase + ":");
    const std::int64_t assignment = line(s.word + " = ");
    const std::vector<std::int64_t> expected =
        wholeWord ? std::vector<std::int64_t>{declaration, comment, assignment}
                  : std::vector<std::int64_t>{declaration, longer, comment, assignment, assignment};
    EXPECT_EQ(hitLines, expected) << (wholeWord ? "whole words" : "anywhere");
  }
  // Each sentence, literal and name finds itself once in the whole project and
  // nothing else: characters without case match only themselves.
  const ModuleTextOf textOf = [&](int module) { return plainText(module); };
  for (const std::string& needle :
       {s.comments[0], s.comments[1], s.comments[2], s.comments[3], s.literal, s.unusedLiteral, s.method, s.unused}) {
    int found = 0;
    for (int module = 1; module <= 2; ++module)
      found += static_cast<int>(TextSearch(needle, false).allHits(textOf(module)).size());
    EXPECT_EQ(found, 1) << needle;
  }
  const std::optional<SearchHit> first = findFirstInProject(TextSearch(s.comments[3], true), 2, textOf);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->module, class_);
}

TEST_P(CodePageLookups, DefinitionAndCallListFindRoutinesByTheirWholeName) {
  const CodePageProject& s = sample();
  const std::string routineHeader = std::to_string(headerLine("Public", s.routine));
  const std::string inStandard = "M" + std::to_string(standard_) + " ";
  EXPECT_EQ(definition(s.routine, class_), inStandard + routineHeader + " " + s.standardModule);
  EXPECT_EQ(definition(s.routineOtherCase, class_), inStandard + routineHeader + " " + s.standardModule)
      << "names compare ignoring case";
  EXPECT_EQ(definition(s.routine, standard_), inStandard + routineHeader + " ");
  EXPECT_EQ(definition(s.unused, standard_), inStandard + std::to_string(headerLine("Private", s.unused)) + " ");
  EXPECT_EQ(definition(s.unused, class_), "-") << "Private in another module";
  EXPECT_EQ(definition(s.routine + s.suffix, standard_), "-") << "a variable";
  EXPECT_EQ(definition(s.prefix + s.routine, class_), "-");

  // From the caret at a call site: the whole name under it, and a longer word as a whole.
  const auto afterFirstCharacter = [](std::string_view text, std::size_t at) {
    utf8::next(text, at);
    return at;
  };
  const std::string classText = plainText(class_);
  const std::size_t call = classText.find("    " + s.routine + "\r\n") + 4;
  EXPECT_EQ(wordAtCaret(classText, afterFirstCharacter(classText, call)), s.routine);
  EXPECT_EQ(wordAtCaret(classText, call + s.routine.size()), s.routine);
  const std::string standardText = plainText(standard_);
  const std::size_t longer = standardText.find(s.prefix + s.routine + "\r\n");
  EXPECT_EQ(wordAtCaret(standardText, longer + s.prefix.size() + s.routine.size()), s.prefix + s.routine);
  EXPECT_EQ(wordAtCaret(standardText, afterFirstCharacter(standardText, standardText.find(s.routine + s.suffix))),
            s.routine + s.suffix);

  // The longer words on the lines before the call are no calls.
  const std::int64_t standardCall = test::lineNumberOf(test::standardModuleLines(s), "    " + s.routine);
  const std::int64_t classCall = test::lineNumberOf(test::classModuleLines(s), "    " + s.routine);
  EXPECT_EQ(callLines(marked(standard_), s.routine), std::vector<std::int64_t>{standardCall});
  EXPECT_EQ(callLines(marked(class_), s.routine), std::vector<std::int64_t>{classCall});
  const Names expected = {"M" + std::to_string(standard_) + " " + s.standardModule,
                          routineKey(s.caller) + " " + s.caller,
                          "M" + std::to_string(class_) + " " + s.classModule,
                          routineKey(s.method) + " " + s.method};
  EXPECT_EQ(callers(s.routine, standard_), expected);
  EXPECT_EQ(callers(s.routineOtherCase, standard_), expected);
  EXPECT_EQ(callers(s.routine, class_), Names{"Infos zu Routine nicht gefunden"}) << "looked up in the current module";
}

TEST_P(CodePageLookups, UnusedReportNamesUncalledRoutinesOnly) {
  const CodePageProject& s = sample();
  const Outcome<std::vector<UnusedRoutine>> unused = findUnusedRoutines(*index_, moduleFilesOf(folder()));
  ASSERT_TRUE(unused) << unused.failure().text();
  Names names;
  for (const UnusedRoutine& each : unused.value()) {
    EXPECT_EQ(each.group, UnusedGroup::kUnused) << each.routine.name;
    names.push_back(each.routine.name);
  }
  std::sort(names.begin(), names.end());
  // The called routine is not reported; nor are the two public routines whose
  // names are equal ignoring case, since a call could mean either.
  Names expected = {s.caller, s.unused, s.method};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
}

INSTANTIATE_TEST_SUITE_P(CodePages, CodePageLookups, ::testing::ValuesIn(test::codePageProjects()),
                         [](const auto& info) { return info.param.label; });

}  // namespace
}  // namespace cq
