#pragma once
// What routine header and end lines look like in marked-up text: shared by the
// module scanner and by the display-only marking of routine lines.
#include <string>
#include <string_view>

namespace cq {

enum class RoutineKind { kSub, kFunction, kProperty };

// Keyword marker + word + end marker.
std::string markedKeyword(std::string_view word);

// The marked word of a kind: "Sub", "Function" or "Property" as a keyword run.
const std::string& markedKindWord(RoutineKind kind);

// A line holding the marked word of its kind and no marked "Exit".
bool isRoutineLine(std::string_view line, RoutineKind kind);

bool containsMarked(std::string_view line, std::string_view word);

// Property accessor of a header: 4 Get, then 5 Set, then 3 Let (the last hit
// counts); 0 when the line names none.
int propertyAccessorType(std::string_view line);

// The line's code with every marker string removed (for messages).
std::string withoutMarkers(std::string_view line);

}  // namespace cq
