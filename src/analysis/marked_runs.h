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

#include "analysis/text_finder.h"
#include "text/markers.h"

namespace cq {

struct MarkedRun {
  std::size_t begin = 0;  // the opening "|"
  std::size_t end = 0;    // one past the closing marker's last character
  char kind = 0;          // the letter after the marker character: 'x' bold line, 's' string, …
  bool isString() const { return kind == 's'; }
};

// Where `marker` next occurs at or after `from`, or npos. Found by the last
// byte of its marker character, far rarer in marked-up text than the "|" every
// marker begins with.
inline std::size_t findMarker(std::string_view text, std::string_view marker, std::size_t from) {
  return findByByte(text, marker, marker.find(markers::kChar) + markers::kChar.size() - 1, from);
}

// Calls `visit(const MarkedRun&)` for each outermost run, in text order. A run
// whose closing marker is missing reaches to the end of the text.
template <typename Visit>
void forEachMarkedRun(std::string_view text, Visit&& visit) {
  static constexpr std::string_view opening = markers::kString.substr(0, 1 + markers::kChar.size());
  for (std::size_t at = findMarker(text, opening, 0); at != std::string_view::npos;) {
    MarkedRun run;
    run.begin = at;
    run.kind = at + opening.size() < text.size() ? text[at + opening.size()] : '\0';
    const std::string_view closing = run.kind == 'x' ? markers::kBoldEnd : markers::kEnd;
    const std::size_t close = findMarker(text, closing, at + opening.size());
    run.end = close == std::string_view::npos ? text.size() : close + closing.size();
    visit(static_cast<const MarkedRun&>(run));
    at = findMarker(text, opening, run.end);
  }
}

// Replaces the run by blanks, except its line breaks (a header continued over
// several lines), so that offsets and line numbers stay.
void blankRun(std::string& text, const MarkedRun& run);

// The clean text: every run blanked. `visit(const MarkedRun&)` sees each run
// while the text still holds it.
template <typename Visit>
void blankMarkedRuns(std::string& text, Visit&& visit) {
  forEachMarkedRun(text, [&](const MarkedRun& run) {
    visit(run);
    blankRun(text, run);
  });
}

inline void blankMarkedRuns(std::string& text) {
  blankMarkedRuns(text, [](const MarkedRun&) {});
}

}  // namespace cq
