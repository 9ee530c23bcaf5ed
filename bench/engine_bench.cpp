// Throughput of the engine on the corpus: mark-up (module mode, no database), the
// reference transcription beside it, and the HTML rendering of the marked text.
#include <benchmark/benchmark.h>

#include "corpus_text.h"
#include "oracle/reference_markup.h"
#include "render/html.h"
#include "render/markup.h"
#include "render/rtf.h"

namespace {

const std::vector<std::string>& modules() {
  static const std::vector<std::string> m = corpusModules();
  return m;
}

template <typename MarkUp>
void runMarkUp(benchmark::State& state, MarkUp markUp) {
  if (modules().empty()) {
    state.SkipWithError("corpus not found");
    return;
  }
  cq::MarkupOptions options;
  options.reindent = state.range(0) != 0;
  cq::NullScanSink sink;
  for (auto _ : state) {
    std::int64_t counter = 0;
    for (const auto& code : modules()) {
      cq::ModuleScan scan;
      scan.routineCounter = &counter;
      scan.sink = &sink;
      benchmark::DoNotOptimize(markUp(code, options, scan));
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * totalSize(modules())));
}

void BM_MarkUpModule(benchmark::State& state) {
  runMarkUp(state, [](const std::string& c, const cq::MarkupOptions& o, cq::ModuleScan& s) {
    return cq::markUpModule(c, o, s);
  });
}
void BM_MarkUpModuleReference(benchmark::State& state) {
  runMarkUp(state, [](const std::string& c, const cq::MarkupOptions& o, cq::ModuleScan& s) {
    return cq::oracle::markUpModule(c, o, s);
  });
}

std::vector<std::string> markedModules() {
  std::vector<std::string> marked;
  cq::NullScanSink sink;
  std::int64_t counter = 0;
  for (const auto& code : modules()) {
    cq::ModuleScan scan;
    scan.routineCounter = &counter;
    scan.sink = &sink;
    marked.push_back(cq::markUpModule(code, {}, scan));
  }
  return marked;
}

template <typename Render>
void runRender(benchmark::State& state, Render render) {
  const std::vector<std::string> marked = markedModules();
  if (marked.empty()) {
    state.SkipWithError("corpus not found");
    return;
  }
  const cq::RenderOptions options;
  for (auto _ : state)
    for (const auto& text : marked) benchmark::DoNotOptimize(render(text, options));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * totalSize(marked)));
}

void BM_MarkedToHtml(benchmark::State& state) { runRender(state, cq::markedToHtml); }
void BM_MarkedToRtf(benchmark::State& state) { runRender(state, cq::markedToRtf); }

}  // namespace

BENCHMARK(BM_MarkUpModule)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkUpModuleReference)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkedToHtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkedToRtf)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
