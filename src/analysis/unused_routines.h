#pragma once
// Routines nobody calls. The candidates are the Subs, Functions and declared
// external routines of the code database (Private and Friend ones, and public
// ones whose name is unique among the public ones); a candidate is referred to
// where its name stands in the clean text of a module (see ReferenceFinder). A
// Private candidate counts only in its own module; Friend and public ones in
// every module, since other modules can call them. A candidate without any
// reference is reported in one of three groups: called by the host by name
// (with the reason), named only inside string literals (Application.Run "Name",
// .OnAction = "Name", "=Name()"), or unused. The host calls the routines the
// document binds (ribbon callbacks, macros of buttons, form properties) and
// those it calls by their name alone (see hostCall).
#include <string>
#include <string_view>
#include <vector>

#include "analysis/code_index.h"
#include "text/failure.h"

namespace cq {

enum class UnusedGroup { kUnused, kHostCalled, kNamedInStrings };

// "unbenutzt", "host", "zeichenkette": the group's word in the command-line output.
std::string_view groupKey(UnusedGroup group);
// "Unbenutzt", "Vom Host aufgerufen", "Nur in Zeichenketten genannt".
std::string_view groupCaption(UnusedGroup group);

struct UnusedRoutine {
  UnusedGroup group = UnusedGroup::kUnused;
  RoutineFacts routine;
  std::string caller;  // who calls it: "Menüband: onAction", "Ereignis von m_Button" (kHostCalled only)
  std::string reason;  // why the host calls it (kHostCalled only)
};

// Every candidate without a reference, by module, then routine number.
Outcome<std::vector<UnusedRoutine>> findUnusedRoutines(CodeIndex& index, const MarkedTextOf& markedTextOf);

}  // namespace cq
