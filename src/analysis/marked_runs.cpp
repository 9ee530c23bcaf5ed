#include "analysis/marked_runs.h"

#include <algorithm>

namespace cq {

void blankRun(std::string& text, const MarkedRun& run) {
  const auto begin = text.begin() + static_cast<std::ptrdiff_t>(run.begin);
  const auto end = text.begin() + static_cast<std::ptrdiff_t>(run.end);
  std::replace_if(
      begin, end, [](char c) { return c != '\r' && c != '\n'; }, ' ');
}

}  // namespace cq
