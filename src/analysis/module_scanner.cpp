#include "analysis/module_scanner.h"

#include <cstdio>
#include <stdexcept>

#include "render/markers.h"
#include "render/text_replace.h"

namespace cq {

namespace {

constexpr std::size_t kAnchorLength = 12;  // marker, "*", "A"/"E", 8 digits, "|"
constexpr std::int64_t kMaxRoutineNumber = 99999999;

std::string anchor(char letter, std::int64_t number) {
  if (number > kMaxRoutineNumber) throw std::runtime_error("Zu viele Routinen in einem Projekt");
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

// Calls `each(index, line)` for every CR LF separated line of `text`.
template <typename F>
void forEachLine(std::string_view text, F&& each) {
  std::size_t index = 0;
  for (std::size_t start = 0;; ++index) {
    const std::size_t br = text.find("\r\n", start);
    if (br == std::string_view::npos) {
      each(index, text.substr(start));
      return;
    }
    each(index, text.substr(start, br - start));
    start = br + 2;
  }
}

}  // namespace

void runRoutinePass(std::string& text, RoutineKind kind, ModuleScan& scan) {
  const std::string& word = markedKindWord(kind);
  if (text.find(word) == std::string::npos) return;
  static const std::string markedLib = std::string(markers::kKeyword) + "Lib";

  std::string out;
  out.reserve(text.size() + text.size() / 16);
  bool routineOpen = false;
  std::string line;
  forEachLine(text, [&](std::size_t i, std::string_view original) {
    if (i > 0) out.append("\r\n");
    line.assign(original);
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
            warn(scan, i, original);
            isHeader = false;
          }
        } else {
          row.type = kind == RoutineKind::kProperty ? propertyAccessorType(original) : kindCode(kind);
          if (row.type == 0) {
            ++*scan.routineCounter;  // a property line without accessor still uses up a number
            isHeader = false;
          } else if (!cutRoutineName(original, "(", row.name)) {
            warn(scan, i, original);
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
    if (scan.indentRoutineBodies && routineOpen && !startsWithAnchor(line)) out.push_back('\t');
    out.append(line);
  });
  text.swap(out);
}

void runLinePass(std::string& text, ModuleScan& scan) {
  std::string out;
  out.reserve(text.size());
  std::int64_t lineBreaks = 0;
  forEachLine(text, [&](std::size_t i, std::string_view line) {
    if (i > 0) out.append("\r\n");
    lineBreaks = static_cast<std::int64_t>(i);
    if (startsWithAnchor(line)) {
      std::int64_t number = 0;
      for (std::size_t k = 3; k < 11 && k < line.size() && line[k] >= '0' && line[k] <= '9'; ++k)
        number = number * 10 + (line[k] - '0');
      const auto lineNumber = static_cast<std::int64_t>(i) + 1;
      if (line.size() > 2 && line[2] == 'A')
        scan.sink->setRoutineStart(number, lineNumber);
      else
        scan.sink->setRoutineEnd(number, lineNumber);
      line.remove_prefix(std::min(line.size(), kAnchorLength));
    }
    out.append(line);
  });
  scan.sink->endDeclarationsOfModule(scan.moduleNumber);
  scan.sink->insertModule({scan.moduleNumber, scan.moduleName, scan.moduleType, lineBreaks});
  text.swap(out);
}

}  // namespace cq
