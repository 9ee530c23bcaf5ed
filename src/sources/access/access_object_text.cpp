#include "sources/access/access_object_text.h"

#include "text/ascii_case.h"

namespace cq {

namespace {

constexpr std::string_view kEventProcedure = "\"[Event Procedure]\"";

// Calls `visit(line)` for each line, blanks and tabs around it removed.
template <typename Visit>
void forEachTrimmedLine(std::string_view text, Visit&& visit) {
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (!visit(trimBlanksAndTabs(text.substr(start, end == std::string_view::npos ? end : end - start)))) return;
    if (end == std::string_view::npos) return;
    start = end + 1;
  }
}

bool isBeginLine(std::string_view line) { return line == "Begin" || startsWithIgnoringAsciiCase(line, "Begin "); }

AccessObjectKind kindOfBeginLine(std::string_view line) {
  const std::string_view type = trimBlanksAndTabs(line.substr(5));
  if (equalsIgnoringAsciiCase(type, "Form")) return AccessObjectKind::kForm;
  if (equalsIgnoringAsciiCase(type, "Report")) return AccessObjectKind::kReport;
  return AccessObjectKind::kNone;
}

}  // namespace

AccessObjectKind accessObjectKind(std::string_view text) {
  AccessObjectKind kind = AccessObjectKind::kNone;
  forEachTrimmedLine(text, [&](std::string_view line) {
    if (!isBeginLine(line)) return true;
    kind = kindOfBeginLine(line);
    return false;
  });
  return kind;
}

std::vector<DocumentCaller> accessEventBindings(std::string_view text, const std::string& module) {
  // One block per "Begin": its object's name ("Form", "Report", a control's or
  // a section's Name property) and the events bound so far.
  struct Block {
    std::string name;
    std::vector<std::string> events;
  };
  std::vector<Block> open;
  std::vector<DocumentCaller> bindings;
  AccessObjectKind kind = AccessObjectKind::kNone;
  forEachTrimmedLine(text, [&](std::string_view line) {
    if (equalsIgnoringAsciiCase(line, "CodeBehindForm")) return false;
    if (isBeginLine(line)) {
      Block& block = open.emplace_back();
      if (open.size() == 1) {
        kind = kindOfBeginLine(line);
        if (kind != AccessObjectKind::kNone) block.name = kind == AccessObjectKind::kForm ? "Form" : "Report";
      }
      return true;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      if (equalsIgnoringAsciiCase(line, "End") && !open.empty()) {
        const Block& block = open.back();
        const char* caller = kind == AccessObjectKind::kReport ? "Berichtsereignis" : "Formularereignis";
        if (!block.name.empty() && kind != AccessObjectKind::kNone)
          for (const std::string& event : block.events) bindings.push_back({block.name + "_" + event, module, caller});
        open.pop_back();
      }
      return true;
    }
    const std::string_view property = trimBlanksAndTabs(line.substr(0, equals));
    const std::string_view value = trimBlanksAndTabs(line.substr(equals + 1));
    // A value of several lines ("PrtMip = Begin" … "End") is a block without an object.
    if (value == "Begin") {
      open.emplace_back();
      return true;
    }
    if (open.empty()) return true;
    Block& block = open.back();
    if (equalsIgnoringAsciiCase(property, "Name") && value.size() >= 2 && value.front() == '"' && value.back() == '"' &&
        open.size() > 1)
      block.name = std::string(value.substr(1, value.size() - 2));
    else if (equalsIgnoringAsciiCase(value, kEventProcedure))
      block.events.emplace_back(startsWithIgnoringAsciiCase(property, "On") ? property.substr(2) : property);
    return true;
  });
  return bindings;
}

}  // namespace cq
