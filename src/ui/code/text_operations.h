#pragma once
// Caret and selection operations that the trees, the history, the search, the
// zoom view and the lookups share. Lines handed in are 1-based like the code
// database's; lines handed out are 0-based like the view's.
#include <cstddef>
#include <cstdint>
#include <utility>

namespace cq {

class CodeView;

// Puts line n at the top of the view, the caret at its start, and selects its
// first word (leading tabs included). Finds the line by bisection over positions;
// false when it gives up after 1000 probes, leaving the caret at the text's end.
bool goToLine(CodeView& view, std::int64_t line);

// Selects from the start of the caret's line over every character that is not a blank.
void selectFirstWordOfLine(CodeView& view);

// Shows the caret's line as going to a line does: first word selected, the line
// at the top of the view.
void showCaretLineAtTop(CodeView& view);

// 0-based line of the caret.
std::size_t caretLine(const CodeView& view);

// Shows in `zoom` the lines first to last of `range` (1-based, inclusive, as the
// code database gives a routine's or the declarations' range) with their colours,
// and leaves one character selected at the range's start in `module`. False, and
// nothing shown, when the range is empty (first line 0) or cannot be found.
bool fillZoomForLine(CodeView& module, CodeView& zoom, std::pair<std::int64_t, std::int64_t> range);

}  // namespace cq
