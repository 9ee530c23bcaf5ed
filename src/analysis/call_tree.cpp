#include "analysis/call_tree.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "analysis/marked_runs.h"
#include "analysis/scan_sink.h"
#include "text/markers.h"
#include "text/unicode_case.h"

namespace cq {

namespace {

bool isProperty(int type) { return type == kPropertyLet || type == kPropertyGet || type == kPropertySet; }

// The offset where 1-based line `line` of the text starts; the text's end past its last line.
std::size_t lineStart(std::string_view text, std::int64_t line) {
  std::size_t at = 0;
  for (std::int64_t n = 1; n < line && at < text.size(); ++n) {
    const std::size_t br = text.find('\n', at);
    at = br == std::string_view::npos ? text.size() : br + 1;
  }
  return at;
}

// The names in a routine's body: from its header line (a one-line routine's
// body stands there) up to the next bold line, its end line, in the clean text.
std::vector<std::string> namesInBody(std::string marked, std::int64_t startLine) {
  const std::size_t begin = lineStart(marked, startLine);
  const std::size_t headerEnd = std::min(marked.find('\n', begin), marked.size());
  const std::size_t end = std::min(findMarker(marked, markers::kBold, headerEnd), marked.size());
  blankMarkedRuns(marked);
  const std::string_view body = std::string_view(marked).substr(begin, end - begin);
  std::vector<std::string> names;
  for (std::size_t at = 0; at < body.size();) {
    const std::size_t runEnd = identifierRunEnd(body, at);
    if (runEnd == at) {
      ++at;
      continue;
    }
    const std::string_view name = body.substr(at, runEnd - at);
    if (!(name[0] >= '0' && name[0] <= '9') && std::find(names.begin(), names.end(), name) == names.end())
      names.emplace_back(name);
    at = runEnd;
  }
  return names;
}

}  // namespace

Outcome<CallList> findCallees(CodeIndex& index, const MarkedTextOf& markedTextOf, std::string_view name,
                              int currentModule) {
  return catchFailure([&] {
    CallList list;
    std::optional<RoutineFacts> target;
    list.lookup = callLookupTarget(index, name, currentModule, target);
    if (list.lookup != CallList::Lookup::kSearched) return list;
    std::vector<RoutineFacts> called;
    for (const std::string& each : namesInBody(markedTextOf(target->module), target->start)) {
      std::optional<RoutineFacts> routine = index.routineNamed(each, target->module);
      if (!routine) routine = index.nonPrivateRoutineNamed(each);
      if (routine && std::none_of(called.begin(), called.end(),
                                  [&](const RoutineFacts& r) { return r.number == routine->number; }))
        called.push_back(std::move(*routine));
    }
    std::sort(called.begin(), called.end(), [](const RoutineFacts& a, const RoutineFacts& b) {
      return std::pair(a.module, a.number) < std::pair(b.module, b.number);
    });
    for (const RoutineFacts& routine : called) {
      if (list.nodes.empty() || list.nodes.back().module != routine.module) {
        const std::optional<ModuleFacts> module = index.module(routine.module);
        if (!module) continue;
        list.nodes.push_back({routine.module, 0, module->name, module->type, 0});
      }
      list.nodes.push_back({routine.module, routine.number, routine.name, routine.type, routine.visibility});
    }
    return list;
  });
}

Outcome<CallTree> callTree(CodeIndex& index, const MarkedTextOf& markedTextOf, std::string_view name,
                           int currentModule, int depth, CallDirection direction, const MayHoldText& mayHold) {
  const auto levelOf = [&](std::string_view routine, int module) {
    return direction == CallDirection::kCallers ? findCallers(index, markedTextOf, routine, module, mayHold)
                                                : findCallees(index, markedTextOf, routine, module);
  };
  return catchFailure([&] {
    CallTree tree;
    std::vector<std::int64_t> way;  // the routines from the one asked for down to the current one
    if (const std::optional<RoutineFacts> start = index.routineNamed(name, currentModule)) way.push_back(start->number);
    // Adds the lines of the level below routine `routine` of `module`; a refused
    // lookup below the first level (a property) adds nothing.
    const auto expand = [&](auto& self, std::string_view routine, int module, int level) -> void {
      Outcome<CallList> list = levelOf(routine, module);
      if (!list) throw Failed(list.failure());
      if (level == 1) tree.lookup = list->lookup;
      for (const CallListNode& node : list->nodes) {
        // The one-level list follows nothing and stays as it is, unmarked.
        const bool cycle = depth > 1 && !node.isModule() && std::find(way.begin(), way.end(), node.routine) != way.end();
        tree.lines.push_back({level, node, cycle});
        if (node.isModule() || cycle || level >= depth || isProperty(node.type)) continue;
        way.push_back(node.routine);
        self(self, node.name, node.module, level + 1);
        way.pop_back();
      }
    };
    expand(expand, name, currentModule, 1);
    return tree;
  });
}

}  // namespace cq
