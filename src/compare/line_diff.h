#pragma once
// Two texts compared line by line as `diff -u` does: the shortest edit script
// (Myers' algorithm) and its unified hunks.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cq {

// The lines of a text; CR LF, LF and CR all end a line, and a final line break
// does not start another line.
std::vector<std::string_view> splitLines(std::string_view text);

enum class LineEditKind { kSame, kRemoved, kAdded };

struct LineEdit {
  LineEditKind kind;
  std::size_t oldLine;  // 0-based; for kAdded the old line it comes before
  std::size_t newLine;  // 0-based; for kRemoved the new line it comes before
};

// The edits that turn `older` into `newer`, in order, with as few removed and
// added lines as possible; removals come before additions where both fit.
std::vector<LineEdit> diffLines(const std::vector<std::string_view>& older, const std::vector<std::string_view>& newer);

// The hunks of `edits` ("@@ -a,b +c,d @@" and the lines marked " ", "-", "+"),
// with `context` unchanged lines around each change, every line ending in LF.
// Line numbers are counted from `oldFirst` and `newFirst` (1-based), so a piece
// of a module can show the module's line numbers. Empty when nothing changed.
std::string unifiedHunks(const std::vector<std::string_view>& older, const std::vector<std::string_view>& newer,
                         const std::vector<LineEdit>& edits, std::size_t oldFirst = 1, std::size_t newFirst = 1,
                         std::size_t context = 3);

}  // namespace cq
