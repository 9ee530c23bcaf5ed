#pragma once
// A scan sink that remembers every call: as a readable log (to compare two scans
// call by call) and as rows with their line ranges (to check single values).
#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "analysis/scan_sink.h"

namespace cq::test {

class RecordingSink final : public ScanSink {
 public:
  struct Routine {
    RoutineRow row;
    std::optional<std::int64_t> start;
    std::optional<std::int64_t> end;
  };

  void insertRoutine(const RoutineRow& row) override {
    log.push_back("insertRoutine type=" + std::to_string(row.type) + " open=" + std::to_string(row.visibility) +
                  " lines=" + std::to_string(row.declarationLines) + " name=" + row.name +
                  " number=" + std::to_string(row.number) + " module=" + std::to_string(row.module));
    routines.push_back(Routine{row, std::nullopt, std::nullopt});
  }

  void setRoutineStart(std::int64_t routineNumber, std::int64_t line) override {
    log.push_back("setRoutineStart number=" + std::to_string(routineNumber) + " line=" + std::to_string(line));
    for (Routine& r : routines) {
      if (r.row.number == routineNumber) r.start = line;
    }
  }

  void setRoutineEnd(std::int64_t routineNumber, std::int64_t line) override {
    log.push_back("setRoutineEnd number=" + std::to_string(routineNumber) + " line=" + std::to_string(line));
    for (Routine& r : routines) {
      if (r.row.number == routineNumber) r.end = line;
    }
  }

  // Same effect as the database statement: a declaration ends on its last physical line.
  void endDeclarationsOfModule(int module) override {
    log.push_back("endDeclarationsOfModule module=" + std::to_string(module));
    for (Routine& r : routines) {
      if (r.row.type > 10 && r.row.module == module) {
        r.end = r.start ? std::optional<std::int64_t>(*r.start + r.row.declarationLines - 1) : std::nullopt;
      }
    }
  }

  void insertModule(const ModuleRow& row) override {
    log.push_back("insertModule number=" + std::to_string(row.number) + " name=" + row.name +
                  " type=" + std::to_string(row.type) + " lineBreaks=" + std::to_string(row.lineBreaks));
    modules.push_back(row);
  }

  // The first routine of that name, or nullptr.
  const Routine* routine(const std::string& name) const {
    const auto hit = std::find_if(routines.begin(), routines.end(),
                                  [&](const Routine& r) { return r.row.name == name; });
    return hit == routines.end() ? nullptr : &*hit;
  }

  std::vector<std::string> log;
  std::vector<Routine> routines;
  std::vector<ModuleRow> modules;
};

}  // namespace cq::test
