#pragma once
// The marked runs of a module file's text: every stretch from an opening marker
// ("|" and the marker character) to its closing marker. A bold line (opening
// "x") closes with the bold end marker and holds the runs inside it; any other
// run closes with the end marker. Keywords, string literals, comments and every
// bold line (routine header and end lines, Declare lines) are runs; what lies
// between them is the code that can call a routine.
#include <cstddef>
#include <string>
#include <string_view>

#include "text/markers.h"

namespace cq {

struct MarkedRun {
  std::size_t begin = 0;  // the opening "|"
  std::size_t end = 0;    // one past the closing marker's last character
  char kind = 0;          // the letter after the marker character: 'x' bold line, 's' string, …
  bool isString() const { return kind == 's'; }
};

// Calls `visit(const MarkedRun&)` for each outermost run, in text order. A run
// whose closing marker is missing reaches to the end of the text.
template <typename Visit>
void forEachMarkedRun(std::string_view text, Visit&& visit) {
  static constexpr char kOpening[] = {'|', markers::kChar};
  const std::string_view opening(kOpening, 2);
  for (std::size_t at = text.find(opening); at != std::string_view::npos; ) {
    MarkedRun run;
    run.begin = at;
    run.kind = at + 2 < text.size() ? text[at + 2] : '\0';
    const std::string_view closing = run.kind == 'x' ? markers::kBoldEnd : markers::kEnd;
    const std::size_t close = text.find(closing, at + 2);
    run.end = close == std::string_view::npos ? text.size() : close + closing.size();
    visit(static_cast<const MarkedRun&>(run));
    at = text.find(opening, run.end);
  }
}

// The clean text: every run replaced by blanks, character for character, so
// that offsets stay those of the module file. Line breaks inside a run (a
// header continued over several lines) stay, so line numbers stay too.
void blankMarkedRuns(std::string& text);

}  // namespace cq
