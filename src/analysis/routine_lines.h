#pragma once
// What routine header and end lines look like in marked-up text: shared by the
// module scanner and by the display-only marking of routine lines.
#include <algorithm>
#include <functional>
#include <string>
#include <string_view>

namespace cq {

enum class RoutineKind { kSub, kFunction, kProperty };

// Keyword marker + word + end marker.
std::string markedKeyword(std::string_view word);

// The marked word of a kind: "Sub", "Function" or "Property" as a keyword run.
const std::string& markedKindWord(RoutineKind kind);

// A line holding the marked word of its kind and no marked "Exit".
bool isRoutineLine(std::string_view line, RoutineKind kind);

bool containsMarked(std::string_view line, std::string_view word);

// What a line is to the routines of one kind, given whether one of them is open.
// The one decision behind both the module scanner's routine pass and the
// display-only marking of routine lines.
enum class RoutineLineRole {
  kOther,                    // no routine line: a body line or code outside routines
  kEnd,                      // routine open, the line holds a marked "End": closes the routine
  kAlternativeHeader,        // routine open, no marked "End", a header of its own (for instance
                             // the second of two under #If ... #Else): bold only, the routine stays open
  kHeader,                   // routine not open: opens a routine
  kOneLineRoutine,           // routine not open, header and "End <kind>" on one line: a routine
                             // that is not left open (its start and end are this line)
  kDeclaration,              // routine not open, a marked "Declare": a routine that has no end line
  kPropertyWithoutAccessor,  // routine not open, "Property" without marked Get, Let or Set
};

// Decides the role from the line's keyword runs. A line that holds the marked
// word but is no routine line for the open routine (a property named Property
// assigning its result) is kOther.
RoutineLineRole routineLineRole(std::string_view line, RoutineKind kind, bool routineOpen);

// Property accessor of a header: 4 Get, then 5 Set, then 3 Let (the last hit
// counts); 0 when the line names none.
int propertyAccessorType(std::string_view line);

// The line's code with every marker string removed (for messages).
std::string withoutMarkers(std::string_view line);

// Where the empty line before a routine header goes in `written`, the marked
// text up to the header's line: before the comment lines directly above the
// header (its description), so that they stay with their routine.
std::size_t blankLineSpot(std::string_view written);

}  // namespace cq

namespace cq {

// Rewrites a text of CR LF separated lines in which only the lines holding
// `word` need a decision: `decide(line, out)` appends such a line, changed or
// not. Every other line is copied, with a tab put in front where
// `indentsLine(line)` says so; while `indenting()` is false, such lines are
// copied in bulk unseen.
template <typename Decide, typename Indenting, typename IndentsLine>
void rewriteRoutineLines(std::string& text, std::string_view word, Decide decide, Indenting indenting,
                         IndentsLine indentsLine) {
  const std::string_view all(text);
  // Routine words are a small part of a text full of "|": skip along by their length.
  const std::boyer_moore_horspool_searcher searcher(word.begin(), word.end());
  const auto findWord = [&](std::size_t from) -> std::size_t {
    const auto at = std::search(all.begin() + static_cast<std::ptrdiff_t>(from), all.end(), searcher);
    return at == all.end() ? std::string_view::npos : static_cast<std::size_t>(at - all.begin());
  };
  std::size_t hit = findWord(0);
  if (hit == std::string_view::npos) return;
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  std::size_t pos = 0;  // start of the next line to write
  // Copies the lines from `pos` up to `end` (a line start, or the text's end).
  const auto copyLinesUpTo = [&](std::size_t end) {
    while (pos < end || (pos == end && end == all.size() && indenting())) {
      if (!indenting()) {
        out.append(all.substr(pos, end - pos));
        pos = end;
        return;
      }
      const std::size_t br = all.find("\r\n", pos);
      const std::size_t lineEnd = br == std::string_view::npos ? all.size() : br;
      const std::string_view line = all.substr(pos, lineEnd - pos);
      if (indentsLine(line)) out.push_back('\t');
      out.append(line);
      if (br == std::string_view::npos) {
        pos = all.size() + 1;
        return;
      }
      out.append("\r\n");
      pos = br + 2;
    }
  };
  while (hit != std::string_view::npos) {
    const std::size_t before = all.rfind("\r\n", hit);
    const std::size_t lineStart = before == std::string_view::npos || before < pos ? pos : before + 2;
    copyLinesUpTo(lineStart);
    const std::size_t br = all.find("\r\n", hit);
    const std::size_t lineEnd = br == std::string_view::npos ? all.size() : br;
    decide(all.substr(lineStart, lineEnd - lineStart), out);
    if (br == std::string_view::npos) {
      pos = all.size() + 1;
      break;
    }
    out.append("\r\n");
    pos = br + 2;
    hit = findWord(pos);
  }
  if (pos <= all.size()) copyLinesUpTo(all.size());
  text.swap(out);
}

}  // namespace cq
