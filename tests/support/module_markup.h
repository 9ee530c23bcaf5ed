#pragma once
// Code as its module file holds it: marked up in module mode as module 1 of a
// fresh read, with the scanner's rows going to `sink`.
#include <cstdint>
#include <string>
#include <string_view>

#include "render/markup.h"

namespace cq::test {

inline std::string markUpAsModuleFile(std::string_view code, ScanSink& sink, const MarkupOptions& options = {}) {
  std::int64_t counter = 0;
  ModuleScan scan;
  scan.moduleNumber = 1;
  scan.moduleType = 2;
  scan.moduleName = "Modul1";
  scan.routineCounter = &counter;
  scan.sink = &sink;
  return markUpModule(code, options, scan);
}

}  // namespace cq::test
