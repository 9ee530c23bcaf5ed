#include "analysis/unused_routines.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "analysis/host_called_routines.h"
#include "analysis/marked_runs.h"
#include "analysis/reference_finder.h"
#include "analysis/scan_sink.h"
#include "text/markers.h"
#include "text/unicode_case.h"

namespace cq {

namespace {

// The characters of a string literal run, its inner markers (blanks, doubled
// quotes) read as blanks and letters folded: Application.Run ignores case.
std::string foldedLiteral(std::string_view marked, const MarkedRun& run) {
  std::string_view body = marked.substr(run.begin, run.end - run.begin);
  body.remove_prefix(std::min(body.size(), markers::kString.size()));
  if (body.ends_with(markers::kEnd)) body.remove_suffix(markers::kEnd.size());
  // Inner markers are "|", the marker character, a letter, "|".
  constexpr std::size_t kInnerMarkerSize = markers::kSpace.size();
  std::string out;
  out.reserve(body.size());
  std::size_t done = 0;
  for (std::size_t i = 0; i < body.size();) {
    if (body[i] == '|' && i + kInnerMarkerSize <= body.size() && body.substr(i + 1).starts_with(markers::kChar) &&
        body[i + kInnerMarkerSize - 1] == '|') {
      appendFoldedCase(out, body.substr(done, i - done));
      out.push_back(' ');
      i += kInnerMarkerSize;
      done = i;
    } else {
      ++i;
    }
  }
  appendFoldedCase(out, body.substr(done));
  return out;
}

// The callers the document names for a routine of that name in that module,
// each once, joined by ", ".
HostCall boundCall(const std::unordered_map<std::string, std::vector<const DocumentCaller*>>& bound,
                   std::string_view routine, std::string_view module) {
  const auto found = bound.find(foldCase(routine));
  if (found == bound.end()) return {};
  std::vector<std::string_view> callers;
  for (const DocumentCaller* caller : found->second) {
    if (!caller->module.empty() && !equalsIgnoringCase(caller->module, module)) continue;
    if (std::find(callers.begin(), callers.end(), caller->caller) == callers.end()) callers.push_back(caller->caller);
  }
  if (callers.empty()) return {};
  HostCall call;
  for (const std::string_view caller : callers) call.caller.append(call.caller.empty() ? "" : ", ").append(caller);
  call.reason = "Das Dokument ruft die Routine auf";
  return call;
}

// The candidates that share one name, split by where a reference counts for them.
struct NameScope {
  std::vector<std::size_t> everywhere;                     // public and Friend candidates
  std::vector<std::pair<int, std::size_t>> ownModuleOnly;  // Private ones, by module
};

class Report {
 public:
  explicit Report(std::vector<RoutineFacts> candidates)
      : candidates_(std::move(candidates)),
        referenced_(candidates_.size(), false),
        namedInString_(candidates_.size(), false),
        references_(namesOf(candidates_, false)),
        mentions_(namesOf(candidates_, true)) {
    scopes_.resize(references_.nameCount());
    mentioned_.resize(mentions_.nameCount());
    std::unordered_map<std::string_view, std::size_t> nameIndex, foldedIndex;
    for (std::size_t i = 0; i < references_.nameCount(); ++i) nameIndex.emplace(references_.name(i), i);
    for (std::size_t i = 0; i < mentions_.nameCount(); ++i) foldedIndex.emplace(mentions_.name(i), i);
    for (std::size_t c = 0; c < candidates_.size(); ++c) {
      const RoutineFacts& candidate = candidates_[c];
      if (candidate.name.empty()) continue;
      NameScope& scope = scopes_[nameIndex.at(candidate.name)];
      if (candidate.visibility == kPrivate)
        scope.ownModuleOnly.emplace_back(candidate.module, c);
      else
        scope.everywhere.push_back(c);
      mentioned_[foldedIndex.at(foldCase(candidate.name))].push_back(c);
    }
    for (NameScope& scope : scopes_) std::sort(scope.ownModuleOnly.begin(), scope.ownModuleOnly.end());
  }

  // Reads one module; returns what it declares for the host.
  ModuleHostFacts readModule(int module, const std::string& text) {
    std::string clean = text;
    blankMarkedRuns(clean, [&](const MarkedRun& run) {
      if (!run.isString()) return;
      mentions_.forEachReference(foldedLiteral(clean, run), [&](std::size_t, std::size_t name) {
        for (const std::size_t c : mentioned_[name]) namedInString_[c] = true;
      });
    });
    references_.forEachReference(clean, [&](std::size_t, std::size_t name) {
      const NameScope& scope = scopes_[name];
      for (const std::size_t c : scope.everywhere) referenced_[c] = true;
      const auto local = std::equal_range(scope.ownModuleOnly.begin(), scope.ownModuleOnly.end(),
                                          std::pair<int, std::size_t>(module, 0),
                                          [](const auto& a, const auto& b) { return a.first < b.first; });
      for (auto it = local.first; it != local.second; ++it) referenced_[it->second] = true;
    });
    return moduleHostFacts(text, clean);
  }

  std::vector<UnusedRoutine> result(const std::vector<ModuleFacts>& modules,
                                    const std::vector<ModuleHostFacts>& moduleFacts,
                                    const std::vector<DocumentCaller>& documentCallers) const {
    static const ModuleHostFacts kNoFacts;
    static const ModuleFacts kNoModule;
    std::unordered_map<std::string, std::vector<const DocumentCaller*>> bound;  // by folded routine name
    for (const DocumentCaller& caller : documentCallers) bound[foldCase(caller.routine)].push_back(&caller);
    std::vector<UnusedRoutine> unused;
    for (std::size_t c = 0; c < candidates_.size(); ++c) {
      if (referenced_[c]) continue;
      const RoutineFacts& candidate = candidates_[c];
      const auto number = static_cast<std::size_t>(candidate.module);
      const bool known = candidate.module > 0 && number < moduleFacts.size();
      const ModuleFacts& module = known ? modules[number] : kNoModule;
      UnusedRoutine entry{UnusedGroup::kUnused, candidate, {}, {}};
      HostCall call = boundCall(bound, candidate.name, module.name);
      if (call.empty()) call = hostCall(candidate.name, module.type, known ? moduleFacts[number] : kNoFacts);
      if (!call.empty()) {
        entry.group = UnusedGroup::kHostCalled;
        entry.caller = std::move(call.caller);
        entry.reason = std::move(call.reason);
      } else if (namedInString_[c]) {
        entry.group = UnusedGroup::kNamedInStrings;
      }
      unused.push_back(std::move(entry));
    }
    return unused;
  }

 private:
  static std::vector<std::string> namesOf(const std::vector<RoutineFacts>& candidates, bool fold) {
    std::vector<std::string> names;
    names.reserve(candidates.size());
    for (const RoutineFacts& candidate : candidates) names.push_back(fold ? foldCase(candidate.name) : candidate.name);
    return names;
  }

  std::vector<RoutineFacts> candidates_;
  std::vector<bool> referenced_, namedInString_;
  ReferenceFinder references_;                       // the names as they are, in clean text
  ReferenceFinder mentions_;                         // the names folded, in folded string literals
  std::vector<NameScope> scopes_;                    // by name of references_
  std::vector<std::vector<std::size_t>> mentioned_;  // candidates by name of mentions_
};

}  // namespace

std::string_view groupKey(UnusedGroup group) {
  switch (group) {
    case UnusedGroup::kHostCalled:
      return "host";
    case UnusedGroup::kNamedInStrings:
      return "zeichenkette";
    case UnusedGroup::kUnused:
      break;
  }
  return "unbenutzt";
}

std::string_view groupCaption(UnusedGroup group) {
  switch (group) {
    case UnusedGroup::kHostCalled:
      return "Vom Host aufgerufen";
    case UnusedGroup::kNamedInStrings:
      return "Nur in Zeichenketten genannt";
    case UnusedGroup::kUnused:
      break;
  }
  return "Unbenutzt";
}

Outcome<std::vector<UnusedRoutine>> findUnusedRoutines(CodeIndex& index, const MarkedTextOf& markedTextOf) {
  return catchFailure([&] {
    Report report(index.uncalledCandidates());
    const int count = index.moduleCount();
    std::vector<ModuleFacts> modules(static_cast<std::size_t>(count) + 1);
    for (ModuleFacts& module : index.modules())
      if (module.number >= 1 && module.number <= count) modules[static_cast<std::size_t>(module.number)] = std::move(module);
    std::vector<ModuleHostFacts> moduleFacts(static_cast<std::size_t>(count) + 1);
    for (int module = 1; module <= count; ++module)
      moduleFacts[static_cast<std::size_t>(module)] = report.readModule(module, markedTextOf(module));
    return report.result(modules, moduleFacts, index.documentCallers());
  });
}

}  // namespace cq
