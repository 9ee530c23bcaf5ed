// Finding things in a project of 1000 modules cycled from the corpus: the
// project search (in the texts the views hold, and reading every module file),
// the call list of a public routine, go to definition and the report of
// routines nobody calls. Each reads what it needs, as the window does.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "analysis/call_search.h"
#include "analysis/definition_lookup.h"
#include "analysis/text_search.h"
#include "analysis/unused_routines.h"
#include "codedb/code_database_index.h"
#include "corpus_text.h"
#include "projectfolder/module_texts.h"
#include "render/styled_text.h"

namespace fs = std::filesystem;

namespace {

// A public function of the JSON converter: its module text recurs every 281
// modules, and a few others call it.
constexpr const char* kRoutine = "ParseJson";
constexpr int kModules = 1000;

// The project, read once, removed at the end of the run.
struct Project {
  Project() : work(fs::temp_directory_path() / "codequorix-navigation-bench") {
    fs::remove_all(work);
    folder = readCorpusProject(work, kModules);
    if (folder.empty()) return;
    database = cq::CodeDatabase::open(folder).value();
    index = std::make_unique<cq::CodeDatabaseIndex>(*database);
    const auto markedTextOf = cq::moduleFilesOf(folder);
    for (int module = 1; module <= kModules; ++module) shown.push_back(cq::plainTextOfMarked(markedTextOf(module)));
  }
  ~Project() {
    index.reset();
    database.reset();
    fs::remove_all(work);
  }
  fs::path work, folder;
  std::unique_ptr<cq::CodeDatabase> database;
  std::unique_ptr<cq::CodeDatabaseIndex> index;
  std::vector<std::string> shown;  // what each module's view shows
};

Project* project(benchmark::State& state) {
  static Project p;
  if (p.folder.empty()) {
    state.SkipWithError("corpus not found");
    return nullptr;
  }
  return &p;
}

const char* wordOf(benchmark::State& state) { return state.range(0) == 0 ? kRoutine : "End"; }

// "Suchen", then "Suchen ab Position" through every module without wrapping:
// every hit of the project, in the texts the views hold.
void BM_SearchEveryHit(benchmark::State& state) {
  Project* p = project(state);
  if (!p) return;
  const cq::TextSearch search(wordOf(state), false);
  std::size_t hits = 0;
  for (auto _ : state) {
    hits = 0;
    for (const std::string& text : p->shown) hits += search.allHits(text).size();
  }
  state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_SearchEveryHit)->Arg(0)->Arg(1)->ArgName("common")->Unit(benchmark::kMillisecond);

// The same with module views never filled: every module file read and decoded.
void BM_SearchEveryHitFromFiles(benchmark::State& state) {
  Project* p = project(state);
  if (!p) return;
  const cq::TextSearch search(wordOf(state), false);
  const auto markedTextOf = cq::moduleFilesOf(p->folder);
  std::size_t hits = 0;
  for (auto _ : state) {
    hits = 0;
    for (int module = 1; module <= kModules; ++module)
      hits += search.allHits(cq::plainTextOfMarked(markedTextOf(module))).size();
  }
  state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_SearchEveryHitFromFiles)->Arg(0)->Arg(1)->ArgName("common")->Unit(benchmark::kMillisecond);

// "Suchen" with project search on for a word no module holds: every module searched.
void BM_SearchFirstHitOfAMissingWord(benchmark::State& state) {
  Project* p = project(state);
  if (!p) return;
  const cq::TextSearch search("Quorix", false);
  const cq::ModuleTextOf textOf = [&](int module) { return p->shown[static_cast<std::size_t>(module - 1)]; };
  for (auto _ : state) benchmark::DoNotOptimize(cq::findFirstInProject(search, kModules, textOf));
}
BENCHMARK(BM_SearchFirstHitOfAMissingWord)->Unit(benchmark::kMillisecond);

void BM_CallListOfAPublicRoutine(benchmark::State& state) {
  Project* p = project(state);
  if (!p) return;
  const auto home = p->index->nonPrivateRoutineNamed(kRoutine);
  if (!home) {
    state.SkipWithError("routine not in the project");
    return;
  }
  std::size_t nodes = 0;
  for (auto _ : state) {
    const auto list = cq::findCallers(*p->index, cq::moduleFilesOf(p->folder), kRoutine, home->module,
                                      cq::moduleFilesMayHold(p->folder));
    nodes = list ? list->nodes.size() : 0;
  }
  state.counters["nodes"] = static_cast<double>(nodes);
}
BENCHMARK(BM_CallListOfAPublicRoutine)->Unit(benchmark::kMillisecond);

// From the last module, where the routine is not: both queries run.
void BM_GoToDefinition(benchmark::State& state) {
  Project* p = project(state);
  if (!p) return;
  for (auto _ : state) benchmark::DoNotOptimize(cq::findDefinition(*p->index, kRoutine, kModules));
}
BENCHMARK(BM_GoToDefinition)->Unit(benchmark::kMillisecond);

void BM_UnusedRoutineReport(benchmark::State& state) {
  Project* p = project(state);
  if (!p) return;
  std::size_t listed = 0;
  for (auto _ : state) {
    const auto unused = cq::findUnusedRoutines(*p->index, cq::moduleFilesOf(p->folder));
    listed = unused ? unused->size() : 0;
  }
  state.counters["listed"] = static_cast<double>(listed);
}
BENCHMARK(BM_UnusedRoutineReport)->Unit(benchmark::kMillisecond);

}  // namespace
