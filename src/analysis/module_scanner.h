#pragma once
// The module scanner: finds routines and external declarations in marked-up text
// by its keyword runs, numbers them, records their rows and line ranges.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/routine_lines.h"
#include "analysis/scan_sink.h"

namespace cq {

// A routine header line that cannot be cut into a name (no "(", or a declaration
// without a marked "Lib"). The line is left as it is and the read goes on.
struct ScanWarning {
  std::string module;
  std::int64_t line = 0;  // 1-based line of the module file as written (as rou_start),
                          // the first physical line of a continued statement
  std::string code;       // the statement's code (continued lines joined), markers removed
};

// Everything one module scan reads and writes besides the text.
struct ModuleScan {
  int moduleNumber = 0;
  int moduleType = 0;
  std::string moduleName;
  std::int64_t* routineCounter = nullptr;  // counts up across one project read
  ScanSink* sink = nullptr;
  std::vector<ScanWarning>* warnings = nullptr;
  bool blankLineBeforeRoutines = false;  // "rle"
  bool indentRoutineBodies = false;      // "einr" and "rer" together
};

// The routine pass for one kind: bold header and end lines, routine anchors,
// routine rows. `text` is marked-up text whose continued lines are joined.
void runRoutinePass(std::string& text, RoutineKind kind, ModuleScan& scan);

// The line pass: turns routine anchors into line numbers, removes them and
// records the module row. `text` has its continued lines split again.
void runLinePass(std::string& text, ModuleScan& scan);

}  // namespace cq
