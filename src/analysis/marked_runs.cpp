#include "analysis/marked_runs.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "analysis/routine_lines.h"
#include "text/ascii_words.h"

namespace cq {

void blankRun(std::string& text, const MarkedRun& run) {
  constexpr std::uint64_t kEightBlanks = ascii_words::kOnes * ' ';
  char* at = text.data() + run.begin;
  char* const end = text.data() + run.end;
  // Runs are mostly one line: eight bytes without CR or LF become blanks at once.
  for (; at + 8 <= end; at += 8) {
    const std::uint64_t eight = ascii_words::load(at);
    if (ascii_words::hasByte(eight, '\r') || ascii_words::hasByte(eight, '\n')) break;
    ascii_words::store(at, kEightBlanks);
  }
  std::replace_if(at, end, [](char c) { return c != '\r' && c != '\n'; }, ' ');
}

TextSpan oneLineRoutineBody(std::string_view text, const MarkedRun& run) {
  const std::size_t innerBegin = run.begin + markers::kBold.size();
  std::size_t innerEnd = run.end;
  if (text.substr(0, run.end).ends_with(markers::kBoldEnd)) innerEnd -= markers::kBoldEnd.size();
  if (innerBegin >= innerEnd) return {};
  const std::string_view inner = text.substr(innerBegin, innerEnd - innerBegin);
  // The header's colon: the first one in code, between the inner runs.
  std::size_t colon = std::string_view::npos;
  std::size_t codeFrom = 0;
  const auto colonBefore = [&](std::size_t codeTo) {
    if (colon == std::string_view::npos && codeFrom < codeTo) {
      const std::size_t at = inner.substr(codeFrom, codeTo - codeFrom).find(':');
      if (at != std::string_view::npos) colon = codeFrom + at;
    }
  };
  forEachMarkedRun(inner, [&](const MarkedRun& innerRun) {
    colonBefore(innerRun.begin);
    codeFrom = innerRun.end;
  });
  colonBefore(inner.size());
  if (colon == std::string_view::npos) return {};
  static const std::string kEndWord = markedKeyword("End") + " ";
  static const std::array<std::string, 3> kEnds = {kEndWord + markedKindWord(RoutineKind::kSub),
                                                   kEndWord + markedKindWord(RoutineKind::kFunction),
                                                   kEndWord + markedKindWord(RoutineKind::kProperty)};
  std::size_t end = std::string_view::npos;
  for (const std::string& each : kEnds) end = std::min(end, inner.find(each, colon));
  if (end == std::string_view::npos) return {};
  return {innerBegin + colon + 1, innerBegin + end};
}

}  // namespace cq
