#include "analysis/document_callers.h"

#include "text/ascii_case.h"

namespace cq {

DocumentCaller macroCaller(std::string_view reference, std::string caller) {
  std::string_view name = trimBlanksAndTabs(reference);
  // The workbook: "[0]!", "Book.xlsm!" or "'My Book.xlsm'!", whose quotes may hold a "!".
  std::size_t bang = std::string_view::npos;
  bool quoted = false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\'') quoted = !quoted;
    if (name[i] == '!' && !quoted) bang = i;
  }
  if (bang != std::string_view::npos) name = trimBlanksAndTabs(name.substr(bang + 1));
  // A macro with arguments is written in single quotes: 'Macro1 5'.
  if (name.size() >= 2 && name.front() == '\'' && name.back() == '\'') name = trimBlanksAndTabs(name.substr(1, name.size() - 2));
  name = name.substr(0, name.find_first_of(" \t"));
  DocumentCaller result{{}, {}, std::move(caller)};
  // "Project.Module.Macro" names the project too.
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) {
    const std::string_view qualifier = name.substr(0, dot);
    result.module = std::string(qualifier.substr(qualifier.rfind('.') + 1));
    name = name.substr(dot + 1);
  }
  result.routine = std::string(name);
  return result;
}

}  // namespace cq
