#include "analysis/marked_runs.h"

#include <algorithm>
#include <cstdint>

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

}  // namespace cq
