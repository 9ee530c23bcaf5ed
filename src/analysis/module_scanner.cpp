#include "analysis/module_scanner.h"

#include <cstdio>

#include "text/failure.h"
#include "text/markers.h"
#include "text/text_replace.h"

namespace cq {

namespace {

constexpr std::size_t kAnchorLength = 12;  // marker, "*", "A"/"E", 8 digits, "|"
constexpr std::int64_t kMaxRoutineNumber = 99999999;

std::string anchor(char letter, std::int64_t number) {
  if (number > kMaxRoutineNumber) throw Failed("Zu viele Routinen in einem Projekt");
  char buf[32];
  std::snprintf(buf, sizeof buf, "%c*%c%08lld|", markers::kChar, letter, static_cast<long long>(number));
  return std::string(buf, kAnchorLength);
}

int kindCode(RoutineKind kind) {
  switch (kind) {
    case RoutineKind::kSub: return kSub;
    case RoutineKind::kFunction: return kFunction;
    case RoutineKind::kProperty: break;
  }
  return 99;  // decided by the accessor
}

// The routine name: the header without continuations, tabs and blanks, cut before
// `cutBefore`; the part after the last "|" (the keyword run before the name ends in "|").
bool cutRoutineName(std::string_view line, std::string_view cutBefore, std::string& name) {
  std::string squeezed = replaceAll(line, markers::kContinuation, "");
  std::erase_if(squeezed, [](char c) { return c == '\t' || c == ' '; });
  const std::size_t cut = squeezed.find(cutBefore);
  if (cut == std::string::npos) return false;
  squeezed.resize(cut);
  const std::size_t bar = squeezed.rfind('|');
  name = bar == std::string::npos ? squeezed : squeezed.substr(bar + 1);
  // A routine named like a keyword ("Property Get Step") ends in a keyword run:
  // its name is that run's word, not the empty text after the run's last "|".
  const std::string_view cutText(squeezed);
  if (name.empty() && cutText.ends_with(markers::kEnd)) {
    const std::string_view run = cutText.substr(0, cutText.size() - markers::kEnd.size());
    const std::size_t keyword = run.rfind(markers::kKeyword);
    if (keyword != std::string_view::npos) name = run.substr(keyword + markers::kKeyword.size());
  }
  return true;
}

bool startsWithAnchor(std::string_view line) {
  return line.size() >= 2 && line[0] == markers::kChar && line[1] == '*';
}

void warn(ModuleScan& scan, std::size_t lineIndex, std::string_view line) {
  if (scan.warnings)
    scan.warnings->push_back({scan.moduleName, static_cast<std::int64_t>(lineIndex), withoutMarkers(line)});
}

}  // namespace

void runRoutinePass(std::string& text, RoutineKind kind, ModuleScan& scan) {
  static const std::string markedLib = std::string(markers::kKeyword) + "Lib";
  bool routineOpen = false;
  const auto indentsBody = [&](std::string_view line) {
    return scan.indentRoutineBodies && routineOpen && !startsWithAnchor(line);
  };
  const auto decide = [&](std::string_view original, auto lineIndex, std::string& out) {
    std::string line(original);
    if (isRoutineLine(original, kind)) {
      if (routineOpen) {
        line = anchor('E', *scan.routineCounter) + std::string(markers::kBold) + line +
               std::string(markers::kBoldEnd);
        routineOpen = false;
      } else {
        RoutineRow row;
        row.module = scan.moduleNumber;
        if (containsMarked(original, "Private")) row.visibility = kPrivate;
        if (containsMarked(original, "Friend")) row.visibility = kFriend;
        bool isHeader = true;
        if (containsMarked(original, "Declare")) {
          row.type = kindCode(kind) + 10;
          if (!cutRoutineName(original, markedLib, row.name)) {
            warn(scan, lineIndex(), original);
            isHeader = false;
          }
        } else {
          row.type = kind == RoutineKind::kProperty ? propertyAccessorType(original) : kindCode(kind);
          if (row.type == 0) {
            ++*scan.routineCounter;  // a property line without accessor still uses up a number
            isHeader = false;
          } else if (!cutRoutineName(original, "(", row.name)) {
            warn(scan, lineIndex(), original);
            isHeader = false;
          } else {
            routineOpen = true;
          }
        }
        if (isHeader) {
          row.number = ++*scan.routineCounter;
          std::string marked = anchor('A', row.number);
          if (scan.blankLineBeforeRoutines) marked.insert(0, "\r\n");
          marked.append(markers::kBold).append(line).append(markers::kBoldEnd);
          line.swap(marked);
          row.declarationLines = static_cast<int>(countOccurrences(line, markers::kContinuation)) + 1;
          scan.sink->insertRoutine(row);
        }
      }
    }
    if (indentsBody(line)) out.push_back('\t');
    out.append(line);
  };
  rewriteRoutineLines(text, markedKindWord(kind), decide,
                      [&] { return scan.indentRoutineBodies && routineOpen; }, indentsBody);
}

void runLinePass(std::string& text, ModuleScan& scan) {
  static const std::string anchorStart{markers::kChar, '*'};
  const std::string_view all(text);
  std::string out;
  out.reserve(text.size());
  std::int64_t lineIndex = 0;  // of the line starting at `done`
  std::size_t done = 0;
  // Line breaks in [from, to).
  const auto countLineBreaks = [&](std::size_t from, std::size_t to) {
    std::int64_t count = 0;
    for (std::size_t br = all.find("\r\n", from); br != std::string_view::npos && br + 2 <= to;
         br = all.find("\r\n", br + 2))
      ++count;
    return count;
  };
  for (std::size_t at = findText(all, anchorStart); at != std::string_view::npos;
       at = findText(all, anchorStart, at + 1)) {
    if (at != 0 && (at < 2 || all.substr(at - 2, 2) != "\r\n")) continue;  // anchors start lines
    lineIndex += countLineBreaks(done, at);
    std::int64_t number = 0;
    for (std::size_t k = at + 3; k < at + 11 && k < all.size() && all[k] >= '0' && all[k] <= '9'; ++k)
      number = number * 10 + (all[k] - '0');
    if (at + 2 < all.size() && all[at + 2] == 'A')
      scan.sink->setRoutineStart(number, lineIndex + 1);
    else
      scan.sink->setRoutineEnd(number, lineIndex + 1);
    out.append(all.substr(done, at - done));
    done = std::min(all.size(), at + kAnchorLength);
  }
  lineIndex += countLineBreaks(done, all.size());
  out.append(all.substr(done));
  scan.sink->endDeclarationsOfModule(scan.moduleNumber);
  scan.sink->insertModule({scan.moduleNumber, scan.moduleName, scan.moduleType, lineIndex});
  text.swap(out);
}

}  // namespace cq
