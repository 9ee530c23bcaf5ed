#include "analysis/routine_lines.h"

#include "text/markers.h"
#include "text/text_replace.h"

namespace cq {

std::string markedKeyword(std::string_view word) {
  std::string s(markers::kKeyword);
  s.append(word);
  s.append(markers::kEnd);
  return s;
}

const std::string& markedKindWord(RoutineKind kind) {
  static const std::string sub = markedKeyword("Sub");
  static const std::string function = markedKeyword("Function");
  static const std::string property = markedKeyword("Property");
  switch (kind) {
    case RoutineKind::kSub: return sub;
    case RoutineKind::kFunction: return function;
    case RoutineKind::kProperty: break;
  }
  return property;
}

bool containsMarked(std::string_view line, std::string_view word) {
  // Looked for by the word: its letters are far rarer in marked text than the "|"
  // that opens every marker.
  for (std::size_t at = line.find(word); at != std::string_view::npos; at = line.find(word, at + 1)) {
    if (at >= markers::kKeyword.size() &&
        line.substr(at - markers::kKeyword.size(), markers::kKeyword.size()) == markers::kKeyword &&
        line.substr(at + word.size(), markers::kEnd.size()) == markers::kEnd)
      return true;
  }
  return false;
}

bool isRoutineLine(std::string_view line, RoutineKind kind) {
  return line.find(markedKindWord(kind)) != std::string_view::npos && !containsMarked(line, "Exit");
}

RoutineLineRole routineLineRole(std::string_view line, RoutineKind kind, bool routineOpen) {
  if (!isRoutineLine(line, kind)) return RoutineLineRole::kOther;
  // A property line needs an accessor to be a header; "Property = x" is code.
  const auto headerShape = [&] { return kind != RoutineKind::kProperty || propertyAccessorType(line) != 0; };
  if (routineOpen) {
    if (containsMarked(line, "End")) return RoutineLineRole::kEnd;
    return headerShape() ? RoutineLineRole::kAlternativeHeader : RoutineLineRole::kOther;
  }
  if (containsMarked(line, "Declare")) return RoutineLineRole::kDeclaration;
  if (!headerShape()) return RoutineLineRole::kPropertyWithoutAccessor;
  // "End Sub" as the mark-up leaves it: two keyword runs and one blank. Looked for
  // from its "E", far rarer in marked text than the "|" that opens every marker.
  static const std::string endsAfterKeywordMarker[] = {
      std::string("End").append(markers::kEnd) + " " + markedKindWord(RoutineKind::kSub),
      std::string("End").append(markers::kEnd) + " " + markedKindWord(RoutineKind::kFunction),
      std::string("End").append(markers::kEnd) + " " + markedKindWord(RoutineKind::kProperty)};
  const std::string& end = endsAfterKeywordMarker[static_cast<int>(kind)];
  for (std::size_t at = line.find(end); at != std::string_view::npos; at = line.find(end, at + 1)) {
    if (at >= markers::kKeyword.size() && line.substr(at - markers::kKeyword.size()).starts_with(markers::kKeyword))
      return RoutineLineRole::kOneLineRoutine;
  }
  return RoutineLineRole::kHeader;
}

int propertyAccessorType(std::string_view line) {
  int type = 0;
  if (containsMarked(line, "Get")) type = 4;
  if (containsMarked(line, "Set")) type = 5;
  if (containsMarked(line, "Let")) type = 3;
  return type;
}

std::string withoutMarkers(std::string_view line) {
  std::string s(line);
  // The escape first: a source 0x9F must not combine with its neighbours into a marker.
  for (std::string_view m : {markers::kEscape, markers::kContinuation, markers::kSpace, markers::kComment,
                             markers::kString, markers::kKeyword, markers::kEnd, markers::kQuotePair,
                             markers::kBold, markers::kBoldEnd, markers::kCut})
    replaceAllInPlace(s, m, "");
  return s;
}

std::size_t blankLineSpot(std::string_view written) {
  std::size_t spot = written.size();
  while (spot >= 2 && written.substr(spot - 2, 2) == "\r\n") {
    const std::size_t lineEnd = spot - 2;
    const std::size_t before = lineEnd == 0 ? std::string_view::npos : written.rfind("\r\n", lineEnd - 1);
    const std::size_t lineStart = before == std::string_view::npos ? 0 : before + 2;
    std::string_view line = written.substr(lineStart, lineEnd - lineStart);
    line.remove_prefix(std::min(line.size(), line.find_first_not_of(" \t")));
    if (!line.starts_with(markers::kComment)) break;
    spot = lineStart;
  }
  return spot;
}

}  // namespace cq
