#pragma once
// What the lookups and the report of routines nobody calls read: the code
// database's modules and routines (implemented there), and the module files'
// marked-up texts. Where several rows match, the one with the lowest module
// number, then the lowest routine number, decides. Failures are thrown as
// Failed.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/document_callers.h"

namespace cq {

struct ModuleFacts {
  int number = 0;
  std::string name;
  int type = 0;  // mod_typ
};

struct RoutineFacts {
  int module = 0;
  std::int64_t number = 0;
  std::string name;
  int type = 0;            // rou_typ
  int visibility = 0;      // rou_open
  std::int64_t start = 0;  // first line; 0 when it was never recorded
};

class CodeIndex {
 public:
  virtual ~CodeIndex() = default;

  // The number of modules; they are numbered 1 to this count.
  virtual int moduleCount() = 0;
  // Every module, by number.
  virtual std::vector<ModuleFacts> modules() = 0;
  virtual std::optional<ModuleFacts> module(int number) = 0;

  // The routine whose line range holds `line` of module `module`.
  virtual std::optional<RoutineFacts> routineAtLine(std::int64_t line, int module) = 0;
  // A routine of that name in module `module`, of any kind and visibility.
  virtual std::optional<RoutineFacts> routineNamed(std::string_view name, int module) = 0;
  // A routine of that name anywhere that is not Private.
  virtual std::optional<RoutineFacts> nonPrivateRoutineNamed(std::string_view name) = 0;

  // The routines the report of routines nobody calls looks for (Subs, Functions
  // and declared external ones): every Private and Friend one, and every public
  // one whose name (ignoring case) no other public one of these kinds has. By
  // module, then number.
  virtual std::vector<RoutineFacts> uncalledCandidates() = 0;

  // The routines the document calls by name from outside the code (ribbon,
  // buttons, form properties); none where the project does not know them.
  virtual std::vector<DocumentCaller> documentCallers() { return {}; }
};

// The marked-up text of module file "M<module>.txt"; throws Failed when it
// cannot be read.
using MarkedTextOf = std::function<std::string(int module)>;

// Whether the marked-up text of module `module` may hold `ascii` (ASCII text,
// exactly): false only where it surely does not, so that a search can pass the
// module by without reading and decoding all of it. Throws Failed when the
// module file cannot be read.
using MayHoldText = std::function<bool(int module, std::string_view ascii)>;

}  // namespace cq
