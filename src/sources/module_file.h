#pragma once
// Exported module files (.bas, .cls, .frm and the designer files of Visual Basic
// projects): the cut between header and code, the module's name and component
// type, and the line model that shows the code the way the VBA editor does.
#include <string>
#include <string_view>
#include <vector>

namespace cq {

// Component type of files that have none of their own in VBA (user controls,
// user documents, property pages, designers): the object model's ActiveX designer.
inline constexpr int kDesignerComponent = 11;

// A line whose first ten characters, after leading blanks, are "Attribute "
// (letters compared ignoring case). The editor hides these lines.
bool isAttributeLine(std::string_view line);

// A module file's text (CR LF line ends) split where its code begins: the header
// runs to the end of the first run of attribute lines and the code is the rest,
// including any later attribute lines. A text without any attribute line is all
// code; a text whose attribute lines run to its end has no code.
struct ModuleFileParts {
  std::string_view header;
  std::string_view code;
};
ModuleFileParts splitModuleFile(std::string_view fileText);

// The header from its first attribute line on: its attribute lines without the
// lines of the file's kind before them (VERSION, BEGIN … END).
std::string_view headerAttributes(std::string_view header);

// The value of the header's `Attribute VB_Name = "..."` line; empty when absent.
std::string moduleNameAttribute(std::string_view header);

// The component type of a module file: .bas standard module, .frm user form; a
// .cls is a document module when its header holds "Attribute VB_Base" or its
// name begins with "Form_" or "Report_", else a class module. .ctl, .dob, .dsr,
// .pag and unknown extensions give kDesignerComponent. Letters ignore case.
int moduleFileComponentType(std::string_view fileName, std::string_view header, std::string_view moduleName);

// Code as the editor shows it: attribute lines dropped, lines joined by CR LF.
class ModuleCode {
 public:
  ModuleCode() = default;
  // `code` has CR LF line ends; a final line break does not start another line.
  explicit ModuleCode(std::string_view code);

  long countOfLines() const { return static_cast<long>(lineStarts_.size()); }
  // Lines first..first+count-1 (1-based) joined with CR LF, without a final CR LF.
  // A count beyond the last line stops there; a first line outside gives "".
  std::string lines(long first, long count) const;
  // The code as it was given, attribute lines included, every line ending in
  // CR LF: what a module file holds below its header.
  std::string sourceText() const;

 private:
  struct HiddenLine {
    long visibleBefore;  // visible lines above it
    std::string text;
  };
  std::string text_;                     // the visible lines joined by CR LF
  std::vector<std::size_t> lineStarts_;  // offset of each line in text_
  std::vector<HiddenLine> hiddenLines_;  // attribute lines (few), kept apart for sourceText()
};

}  // namespace cq
