#include "analysis/call_search.h"

#include "text/unicode_case.h"
#include "text/utf8.h"
#include "analysis/line_counter.h"
#include "analysis/marked_runs.h"
#include "analysis/scan_sink.h"
#include "analysis/text_finder.h"

namespace cq {

std::vector<std::int64_t> callLines(std::string marked, std::string_view name) {
  std::vector<std::int64_t> lines;
  if (name.empty()) return lines;
  const TextFinder finder(name);
  const auto find = [&](std::size_t from) { return finder(marked, from); };
  // Most modules never name the routine at all and need no blanking; blanking
  // can only make a name appear that holds a blank.
  if (name.find(' ') == std::string_view::npos && find(0) == std::string::npos) return lines;
  blankMarkedRuns(marked);
  LineCounter counter(marked);
  for (std::size_t at = find(0); at != std::string::npos; at = find(at + 1)) {
    if (identifierCharacterBefore(marked, at)) continue;
    if (identifierCharacterAt(marked, at + name.size())) continue;
    lines.push_back(counter.lineOf(at));
  }
  return lines;
}

std::string CallListNode::key() const {
  std::string key(1, isModule() ? 'M' : 'R');
  return key.append(std::to_string(isModule() ? module : routine));
}

std::string CallListNode::image() const {
  std::string image(1, isModule() ? 'M' : 'R');
  image.append(std::to_string(type));
  if (!isModule()) image.append("O").append(std::to_string(visibility));
  return image;
}

std::string_view CallList::message() const {
  switch (lookup) {
    case Lookup::kUnknownRoutine:
      return "Infos zu Routine nicht gefunden";
    case Lookup::kProperty:
      return "Property wird von der Routinensuche nicht unterstützt";
    case Lookup::kSearched:
      break;
  }
  return {};
}

CallList::Lookup callLookupTarget(CodeIndex& index, std::string_view name, int currentModule,
                                  std::optional<RoutineFacts>& target) {
  target = index.routineNamed(name, currentModule);
  if (!target) return CallList::Lookup::kUnknownRoutine;
  if (target->type == kPropertyLet || target->type == kPropertyGet || target->type == kPropertySet)
    return CallList::Lookup::kProperty;
  return CallList::Lookup::kSearched;
}

Outcome<CallList> findCallers(CodeIndex& index, const MarkedTextOf& markedTextOf, std::string_view name,
                              int currentModule, const MayHoldText& mayHold) {
  return catchFailure([&] {
    CallList list;
    std::optional<RoutineFacts> target;
    list.lookup = callLookupTarget(index, name, currentModule, target);
    if (list.lookup != CallList::Lookup::kSearched) return list;
    const bool ownModuleOnly = target->visibility == kPrivate;
    const int first = ownModuleOnly ? currentModule : 1;
    const int last = ownModuleOnly ? currentModule : index.moduleCount();
    std::int64_t lastAdded = 0;
    // A module without the name has no call lines (see callLines); ASCII is the
    // same in every encoding of the module files.
    const bool passable = mayHold && utf8::isAscii(target->name) && target->name.find(' ') == std::string::npos;
    for (int module = first; module <= last; ++module) {
      if (passable && !mayHold(module, target->name)) continue;
      const std::vector<std::int64_t> lines = callLines(markedTextOf(module), target->name);
      if (lines.empty()) continue;
      const std::optional<ModuleFacts> facts = index.module(module);
      if (!facts) continue;  // no node to hang the callers on
      list.nodes.push_back({module, 0, facts->name, facts->type, 0});
      for (const std::int64_t line : lines) {
        const std::optional<RoutineFacts> caller = index.routineAtLine(line, module);
        if (!caller || caller->number == lastAdded) continue;
        list.nodes.push_back({module, caller->number, caller->name, caller->type, caller->visibility});
        lastAdded = caller->number;
      }
    }
    return list;
  });
}

}  // namespace cq
