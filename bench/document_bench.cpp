// Opening Office documents: listing a generated 5 MB macro workbook (the host
// tree of a refresh) and reading its project into a folder.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "sources/document_host.h"
#include "sources/host_tree.h"
#include "sources/project_reader.h"
#include "support/office_file_writer.h"
#include "support/vba_project_writer.h"

namespace {

namespace fs = std::filesystem;

// 150 modules of varied code and a large worksheet: about 5 MB on disk.
const fs::path& largeWorkbook() {
  static const fs::path file = [] {
    std::mt19937 random(11);
    cq::test::VbaProjectPlan plan;
    for (int m = 0; m < 150; ++m) {
      cq::test::VbaModulePlan module;
      module.name = "Modul" + std::to_string(m);
      module.kind = m % 5 == 0 ? 2 : 1;
      for (int r = 0; r < 40; ++r) {
        module.code += "Public Function Rechne" + std::to_string(r) + "(ByVal wert As Long) As Long\r\n";
        for (int line = 0; line < 12; ++line)
          module.code += "    wert = wert * " + std::to_string(random() % 9973) + " + " +
                         std::to_string(random()) + " ' Schritt " + std::to_string(line) + "\r\n";
        module.code += "    Rechne" + std::to_string(r) + " = wert\r\nEnd Function\r\n\r\n";
      }
      plan.modules.push_back(std::move(module));
    }
    std::string sheet = "<worksheet>";
    while (sheet.size() < 12'500'000)
      sheet.append("<c r=\"A").append(std::to_string(random())).append("\"><v>").append(std::to_string(random())).append("</v></c>");
    sheet += "</worksheet>";
    const std::string package = cq::test::zipPackageBytes(
        {{"[Content_Types].xml", cq::test::contentTypesXml("/xl/vbaProject.bin")},
         {"xl/vbaProject.bin", cq::test::compoundFileBytes(cq::test::buildVbaProjectStreams(plan))},
         {"xl/worksheets/sheet1.xml", sheet}});
    const fs::path path = fs::temp_directory_path() / "codequorix-bench-workbook.xlsm";
    std::ofstream(path, std::ios::binary) << package;
    return path;
  }();
  return file;
}

// The workbook is written before the timed loops, once for both.
void BM_ListLargeWorkbook(benchmark::State& state) {
  const fs::path& workbook = largeWorkbook();
  for (auto _ : state) {
    cq::DocumentHost host;
    host.open(workbook);
    cq::HostTree tree;
    benchmark::DoNotOptimize(cq::fillHostTree(host, tree));
  }
  state.counters["file_MB"] = static_cast<double>(fs::file_size(workbook)) / 1e6;
}

void BM_ReadLargeWorkbook(benchmark::State& state) {
  const fs::path& workbook = largeWorkbook();
  const fs::path folder = fs::temp_directory_path() / "codequorix-bench-project";
  for (auto _ : state) {
    state.PauseTiming();  // clearing the last run's folder is no part of a read
    fs::remove_all(folder);
    fs::create_directories(folder);
    state.ResumeTiming();
    cq::DocumentHost host;
    host.open(workbook);
    cq::HostTree tree;
    if (!cq::fillHostTree(host, tree)) state.SkipWithError("the workbook cannot be listed");
    cq::setTicked(tree, 0, true);
    cq::ProjectReadRequest request;
    request.templateFile = CQ_TEMPLATE_PATH;
    request.folder = folder;
    benchmark::DoNotOptimize(cq::readTickedModules(host, tree, request));
  }
  fs::remove_all(folder);
}

}  // namespace

BENCHMARK(BM_ListLargeWorkbook)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLargeWorkbook)->Unit(benchmark::kMillisecond);
