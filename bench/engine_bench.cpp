// Throughput of the engine on the corpus: mark-up (module mode, no database), the
// reference transcription beside it, and the HTML rendering of the marked text.
#include <benchmark/benchmark.h>

#include "corpus_text.h"
#include "oracle/reference_markup.h"
#include "render/html.h"
#include "text/markers.h"
#include "render/markup.h"
#include "render/rtf.h"
#include "text/text_replace.h"

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

// The HTML fragment as described, one whole-text replacement after another.
std::string markedToHtmlReference(const std::string& marked, const cq::RenderOptions& options) {
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&", "&#38;"},     {"<", "&lt;"},      {">", "&gt;"},      {"\xE4", "&auml;"}, {"\xF6", "&ouml;"},
      {"\xFC", "&uuml;"}, {"\xC4", "&Auml;"}, {"\xD6", "&Ouml;"}, {"\xDC", "&Uuml;"}, {"\xDF", "&szlig;"},
      {"\"", "&#34;"},    {":", "&#58;"},     {")", "&#41;"},     {"(", "&#40;"},      {"+", "&#43;"}};
  std::string text = marked;
  for (const auto& [from, to] : kEntities) text = cq::replaceAll(text, from, to);
  const auto span = [](std::int32_t colour) { return "<span style=\"color:" + cq::htmlColour(colour) + "\"; >"; };
  text = cq::replaceAll(text, cq::markers::kEnd, "</span>");
  text = cq::replaceAll(text, cq::markers::kComment, span(options.commentColour));
  text = cq::replaceAll(text, cq::markers::kKeyword, span(options.keywordColour));
  text = cq::replaceAll(text, cq::markers::kString, span(options.stringColour));
  text = cq::replaceAll(text, cq::markers::kBold, "<b>");
  text = cq::replaceAll(text, cq::markers::kBoldEnd, "</b>");
  return "<pre><span style=\"font-family=" + options.fontName + ",Arial; font-size=" +
         std::to_string(options.fontSize) + "pt\"; >" + text + "</span></pre>";
}

void BM_MarkedToHtml(benchmark::State& state) { runRender(state, cq::markedToHtml); }
void BM_MarkedToHtmlReference(benchmark::State& state) { runRender(state, markedToHtmlReference); }
void BM_MarkedToRtf(benchmark::State& state) { runRender(state, cq::markedToRtf); }

}  // namespace

BENCHMARK(BM_MarkUpModule)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkUpModuleReference)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkedToHtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkedToHtmlReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkedToRtf)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
