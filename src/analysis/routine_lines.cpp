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
  // Marked words are rare; look for the keyword marker first.
  std::size_t at = line.find(markers::kKeyword);
  while (at != std::string_view::npos) {
    const std::string_view rest = line.substr(at + markers::kKeyword.size());
    if (rest.substr(0, word.size()) == word && rest.substr(word.size(), markers::kEnd.size()) == markers::kEnd)
      return true;
    at = line.find(markers::kKeyword, at + 1);
  }
  return false;
}

bool isRoutineLine(std::string_view line, RoutineKind kind) {
  return line.find(markedKindWord(kind)) != std::string_view::npos && !containsMarked(line, "Exit");
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

}  // namespace cq
