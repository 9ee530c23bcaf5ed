#pragma once
// The call tree of a routine, in either direction: the routines that call it
// (the call list, level by level) or the routines it calls (every routine
// its body names, found as go to definition finds a name: first in the
// routine's own module, then among the routines of others that are not
// Private). A routine already on the way down is marked, not followed.
#include <cstdint>
#include <string_view>
#include <vector>

#include "analysis/call_search.h"
#include "analysis/code_index.h"
#include "text/failure.h"

namespace cq {

// The routines the body of routine `name` (looked up in `currentModule` as the
// call list looks it up, Property procedures refused) names, under their
// modules, by module number, then routine number.
Outcome<CallList> findCallees(CodeIndex& index, const MarkedTextOf& markedTextOf, std::string_view name,
                              int currentModule);

enum class CallDirection { kCallers, kCallees };

// One line of a call tree: a module or a routine node of level 1 to the depth
// asked; a routine's own subtree follows it.
struct CallTreeLine {
  int level = 1;
  CallListNode node;
  bool cycle = false;  // the routine is already on the way down: not followed (only below depth 1)
};

struct CallTree {
  CallList::Lookup lookup = CallList::Lookup::kSearched;  // of the routine asked for
  std::vector<CallTreeLine> lines;
};

// `depth` levels of the tree of routine `name` (level 1 is the one-level list).
Outcome<CallTree> callTree(CodeIndex& index, const MarkedTextOf& markedTextOf, std::string_view name,
                           int currentModule, int depth, CallDirection direction, const MayHoldText& mayHold = {});

}  // namespace cq
