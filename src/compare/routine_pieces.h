#pragma once
// A module's code cut into the pieces that a comparison matches across two
// versions: its declarations and each of its routines.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cq {

inline constexpr std::string_view kDeclarationsTitle = "(Deklarationen)";

struct CodePiece {
  std::string title;      // kDeclarationsTitle, "Sub Name", "Function Name", "Property Get Name", …
  std::string key;        // the title case folded, "#2" and on for a repeated one: matches across versions
  std::size_t firstLine;  // 0-based, into the lines given
  std::size_t lineCount;
};

// The declarations first (the lines before the first routine and the comment
// right above it; there even when empty), then every routine from its header
// to its end line, found by the routine-line rules of the scanner. Lines
// between two routines belong to the one after them (its comment, say), lines
// after the last routine to that routine; blank lines at either end of a piece
// are left out.
std::vector<CodePiece> routinePieces(const std::vector<std::string_view>& lines);

}  // namespace cq
