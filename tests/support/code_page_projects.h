#pragma once
// One small project per code page of the East Asian, Cyrillic, Greek, Hebrew and
// Central European Office installations, with names, comments and literals in
// that language, for the tests that follow such documents from reading to
// export. Every text is UTF-8 here; the documents hold it in the code page.
//
// The standard module (type 1):
//   Option Explicit / two comments / Private <word>, <wordCompound>
//   Public Sub <routine>        a comment with <wordOtherCase>, <word> = <wordCompound> + 1, a literal
//   Public Sub <caller>         <routine><suffix> and <prefix><routine> (no calls), then <routine>
//   Private Sub <unused>        a literal only
//   Public Sub <shared>
// The class module (type 2):
//   attribute lines / Option Explicit / a comment
//   Public Sub <method>         calls <routine>
//   Public Sub <sharedOtherCase>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "support/vba_project_writer.h"

namespace cq::test {

struct CodePageProject {
  int codePage = 0;
  std::string label;  // the test's name: language and code page
  bool cased = false;  // the script has upper and lower case
  std::string project;
  std::string standardModule;
  std::string classModule;
  std::string routine;           // public, called from both modules
  std::string routineOtherCase;  // the same name in another case (the same text in scripts without case)
  std::string caller;            // public, calls <routine>, called by nobody
  std::string unused;            // private, called by nobody; a lower-case initial that sorts first
  std::string shared;            // public in the standard module
  std::string sharedOtherCase;   // public in the class: the same name ignoring case
  std::string method;            // public in the class, calls <routine>
  std::string prefix;            // a letter of the script before <routine> makes a longer word
  std::string suffix;            // and one after it
  std::string word;              // a variable, found by the search
  std::string wordOtherCase;     // the same word in another case, in a comment
  std::string wordCompound;      // a longer variable that starts with <word>
  std::vector<std::string> comments;  // four sentences
  std::string literal;
  std::string unusedLiteral;
};

// Japanese 932, Chinese 936, Korean 949, Chinese 950, Polish and Czech 1250,
// Russian 1251, Greek 1253, Hebrew 1255.
const std::vector<CodePageProject>& codePageProjects();

// The code lines of each module as the editor shows them (attribute lines left out).
std::vector<std::string> standardModuleLines(const CodePageProject& project);
std::vector<std::string> classModuleLines(const CodePageProject& project);
// The attribute lines of the class module's stream after its VB_Name.
std::vector<std::string> classModuleAttributes();

// The lines joined by CR LF, each followed by one.
std::string joinedLines(const std::vector<std::string>& lines);
// The 1-based number of the first line that equals `line`; 0 when none does.
long lineNumberOf(const std::vector<std::string>& lines, const std::string& line);

// The project's streams with every name and code byte converted to its code page.
VbaProjectPlan codePagePlan(const CodePageProject& project);
// Writes the project as a macro-enabled workbook named after the label into `folder`.
std::filesystem::path writeCodePageWorkbook(const CodePageProject& project, const TempFolder& folder);

// GoogleTest prints a parameter by its label.
inline void PrintTo(const CodePageProject& project, std::ostream* out) { *out << project.label; }

}  // namespace cq::test
