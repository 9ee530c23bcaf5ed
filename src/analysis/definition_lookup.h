#pragma once
// Go to definition: the first line of the routine that a name under the caret
// names. The current module comes first; elsewhere only routines that are not
// Private can be meant.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/code_index.h"
#include "text/failure.h"

namespace cq {

// What the user is told when no routine has the name under the caret.
inline constexpr std::string_view kDefinitionNotFound = "Bezeichner unter Cursor nicht erkannt";

struct DefinitionTarget {
  int module = 0;
  std::int64_t line = 0;   // the routine's first line
  std::string moduleName;  // set when the routine lies in another module than the current one
};

// nullopt when no routine fits (names of variables, constants and types are no
// routines); an empty name never fits.
Outcome<std::optional<DefinitionTarget>> findDefinition(CodeIndex& index, std::string_view name, int currentModule);

}  // namespace cq
