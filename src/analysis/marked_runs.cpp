#include "analysis/marked_runs.h"

namespace cq {

void blankMarkedRuns(std::string& text) {
  forEachMarkedRun(text, [&text](const MarkedRun& run) {
    for (std::size_t i = run.begin; i < run.end; ++i)
      if (text[i] != '\r' && text[i] != '\n') text[i] = ' ';
  });
}

}  // namespace cq
