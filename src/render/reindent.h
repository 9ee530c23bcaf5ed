#pragma once
// Rebuilds the indentation of VBA code from its block statements, one tab per level.
#include <string>
#include <string_view>

namespace cq {

// The indentation state while one text is re-indented.
struct IndentState {
  int depth = 0;   // block depth; may become negative
  int offset = 0;  // tabs the current line gets less than the depth
};

// Classifies one line (leading blanks removed) by the block table and updates the state.
void classifyBlockLine(std::string_view line, IndentState& state);

// Re-indents a text of lines separated by CR LF and ending in CR LF.
std::string reindent(std::string_view text);

}  // namespace cq
