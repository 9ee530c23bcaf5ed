#pragma once
// The call list: every routine whose body names a given routine. The module
// files are searched with their marked runs blanked (keywords, literals,
// comments, routine header and end lines), case-sensitively, for the name with
// no identifier character directly before or after it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/code_index.h"
#include "text/failure.h"

namespace cq {

// The 1-based line of every place in a module file's text that names `name`
// outside the marked runs, in text order (a line as often as it has places).
std::vector<std::int64_t> callLines(std::string marked, std::string_view name);

// A node of the call list: a module (routine number 0) or a routine below the
// module before it. Keys and images are those of the project tree.
struct CallListNode {
  int module = 0;
  std::int64_t routine = 0;
  std::string name;
  int type = 0;        // mod_typ of a module, rou_typ of a routine
  int visibility = 0;  // rou_open of a routine

  bool isModule() const { return routine == 0; }
  std::string key() const;    // "M<module>" or "R<routine>"
  std::string image() const;  // "M<type>" or "R<type>O<visibility>"
};

struct CallList {
  enum class Lookup { kSearched, kUnknownRoutine, kProperty };
  Lookup lookup = Lookup::kSearched;
  std::vector<CallListNode> nodes;  // in tree order; empty when nothing names the routine

  // The message for a refused lookup ("Infos zu Routine nicht gefunden", or that
  // properties are not supported), empty after a search.
  std::string_view message() const;
};

// The routine a call lookup of `name` starts from in module `currentModule`
// (the first routine of that name decides), put into `target`; kUnknownRoutine
// or kProperty where there is none to follow.
CallList::Lookup callLookupTarget(CodeIndex& index, std::string_view name, int currentModule,
                                  std::optional<RoutineFacts>& target);

// Looks `name` up in module `currentModule` (the first routine of that name
// decides; the search is for its name as the code database spells it, which is
// the name the window shows): a Private routine is searched for in its own module only, any other
// in modules 1 to the module count; a Property procedure is refused. For each
// module with a place naming it: the module node, then below it each routine
// holding such a place (once for consecutive places in one routine). Places
// outside every routine add the module node only. With `mayHold`, a module
// whose text surely does not hold an ASCII name is not read at all.
Outcome<CallList> findCallers(CodeIndex& index, const MarkedTextOf& markedTextOf, std::string_view name,
                              int currentModule, const MayHoldText& mayHold = {});

}  // namespace cq
