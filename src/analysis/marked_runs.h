#pragma once
// The marked runs of a module file's text: every stretch from an opening marker
// ("|" and the marker character) to its closing marker. A bold line (opening
// "x") closes with the bold end marker and holds the runs inside it; any other
// run closes with the end marker. Keywords, string literals, comments and every
// bold line (routine header and end lines, Declare lines) are runs; what lies
// between them is the code that can call a routine, and so is the body of a
// one-line routine ("Sub X(): SetHoveredControl Me: End Sub"), whose bold line
// is blanked around it.
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

// Where the body of a one-line routine lies in its bold line `run`: from behind
// the first colon outside the line's inner runs up to the marked "End" of an
// "End Sub", "End Function" or "End Property" behind it. Empty (begin == end)
// for every other run.
struct TextSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool empty() const { return begin == end; }
};
TextSpan oneLineRoutineBody(std::string_view text, const MarkedRun& run);

// The clean text: every run blanked, but for the bodies of one-line routines,
// whose inner runs are blanked instead. `visit(const MarkedRun&)` sees each run
// blanked while the text still holds it.
template <typename Visit>
void blankMarkedRuns(std::string& text, Visit&& visit) {
  forEachMarkedRun(text, [&](const MarkedRun& run) {
    const TextSpan body = run.kind == 'x' ? oneLineRoutineBody(text, run) : TextSpan{};
    if (body.empty()) {
      visit(run);
      blankRun(text, run);
      return;
    }
    blankRun(text, {run.begin, body.begin, run.kind});
    blankRun(text, {body.end, run.end, run.kind});
    forEachMarkedRun(std::string_view(text).substr(body.begin, body.end - body.begin), [&](const MarkedRun& inner) {
      const MarkedRun placed{body.begin + inner.begin, body.begin + inner.end, inner.kind};
      visit(placed);
      blankRun(text, placed);
    });
  });
}

inline void blankMarkedRuns(std::string& text) {
  blankMarkedRuns(text, [](const MarkedRun&) {});
}

}  // namespace cq
