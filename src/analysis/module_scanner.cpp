#include "analysis/module_scanner.h"

#include <cstdio>

#include "text/failure.h"
#include "text/markers.h"
#include "text/text_replace.h"

namespace cq {

namespace {

constexpr std::size_t kAnchorLength = 13;  // marker character (2 bytes), "*", "A"/"E", 8 digits, "|"
constexpr std::int64_t kMaxRoutineNumber = 99999999;

std::string anchor(char letter, std::int64_t number) {
  // Anchors have room for eight digits; the read fails rather than number wrongly.
  if (number > kMaxRoutineNumber)
    throw Failed("Zu viele Routinen in einem Projekt: mehr als 99999999 Routinen können nicht "
                 "nummeriert werden.");
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.*s*%c%08lld|", static_cast<int>(markers::kChar.size()), markers::kChar.data(),
                letter, static_cast<long long>(number));
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
  return line.starts_with(markers::kChar) && line.substr(markers::kChar.size()).starts_with('*');
}

// A warning mark: the marker character, "!", the warning's index in the warning
// list, "|". It stands at the start of the line the warning is about (later
// passes may put a tab, an anchor or a bold marker before it) until the line pass
// turns it into the warning's line number. Nothing else puts "!" after the marker
// character: one of the source is escaped as the marker character + "|?".
constexpr char kWarningLetter = '!';

std::string withoutWarningMarks(std::string_view line) {
  std::string s(line);
  for (std::size_t at = s.find(markers::kChar); at != std::string::npos; at = s.find(markers::kChar, at)) {
    const std::size_t letter = at + markers::kChar.size();
    const std::size_t bar = letter < s.size() && s[letter] == kWarningLetter ? s.find('|', at) : std::string::npos;
    if (bar == std::string::npos) {
      at = letter;
      continue;
    }
    s.erase(at, bar + 1 - at);
  }
  return s;
}

// Records a header line that cannot be cut and marks the line for the line pass.
void warn(ModuleScan& scan, std::string& line) {
  if (!scan.warnings) return;
  const std::size_t index = scan.warnings->size();
  scan.warnings->push_back({scan.moduleName, 0, withoutMarkers(withoutWarningMarks(line))});
  line.insert(0, std::string(markers::kChar) + kWarningLetter + std::to_string(index) + "|");
}

}  // namespace

void runRoutinePass(std::string& text, RoutineKind kind, ModuleScan& scan) {
  static const std::string markedLib = std::string(markers::kKeyword) + "Lib";
  bool routineOpen = false;
  const auto indentsBody = [&](std::string_view line) {
    // An empty line stays empty.
    return scan.indentRoutineBodies && routineOpen && !line.empty() && !startsWithAnchor(line);
  };
  const auto decide = [&](std::string_view original, std::string& out) {
    const std::size_t lineStart = out.size();
    std::string line(original);
    bool indentable = true;  // an alternative header is never indented
    bool blankLineBefore = false;
    switch (const RoutineLineRole role = routineLineRole(original, kind, routineOpen)) {
      case RoutineLineRole::kOther:
        break;
      case RoutineLineRole::kEnd:
        line = anchor('E', *scan.routineCounter) + std::string(markers::kBold) + line +
               std::string(markers::kBoldEnd);
        routineOpen = false;
        break;
      case RoutineLineRole::kAlternativeHeader:
        line = std::string(markers::kBold) + line + std::string(markers::kBoldEnd);
        indentable = false;
        break;
      case RoutineLineRole::kPropertyWithoutAccessor:
        ++*scan.routineCounter;  // still uses up a number, as it always did
        break;
      case RoutineLineRole::kHeader:
      case RoutineLineRole::kOneLineRoutine:
      case RoutineLineRole::kDeclaration: {
        RoutineRow row;
        row.module = scan.moduleNumber;
        if (containsMarked(original, "Private")) row.visibility = kPrivate;
        if (containsMarked(original, "Friend")) row.visibility = kFriend;
        const bool declaration = role == RoutineLineRole::kDeclaration;
        row.type = declaration ? kindCode(kind) + 10
                   : kind == RoutineKind::kProperty ? propertyAccessorType(original)
                                                    : kindCode(kind);
        if (!cutRoutineName(original, declaration ? std::string_view(markedLib) : "(", row.name)) {
          warn(scan, line);  // otherwise left as it is
          break;
        }
        row.number = ++*scan.routineCounter;
        std::string marked = anchor('A', row.number);
        // A one-line routine ends where it starts: the line pass sets both lines.
        if (role == RoutineLineRole::kOneLineRoutine) marked += anchor('E', row.number);
        blankLineBefore = scan.blankLineBeforeRoutines;
        marked.append(markers::kBold).append(line).append(markers::kBoldEnd);
        line.swap(marked);
        row.declarationLines = static_cast<int>(countOccurrences(line, markers::kContinuation)) + 1;
        scan.sink->insertRoutine(row);
        routineOpen = role == RoutineLineRole::kHeader;
        break;
      }
    }
    if (indentable && indentsBody(line)) out.push_back('\t');
    out.append(line);
    if (blankLineBefore) out.insert(blankLineSpot(std::string_view(out).substr(0, lineStart)), "\r\n");
  };
  rewriteRoutineLines(text, markedKindWord(kind), decide,
                      [&] { return scan.indentRoutineBodies && routineOpen; }, indentsBody);
}

void runLinePass(std::string& text, ModuleScan& scan) {
  static const std::string anchorStart = std::string(markers::kChar) + '*';
  static const std::string warningStart = std::string(markers::kChar) + kWarningLetter;
  const std::string_view all(text);
  std::string out;
  out.reserve(text.size());
  std::int64_t lineIndex = 0;  // of the line starting at `done`
  std::size_t done = 0;
  std::size_t anchorEnd = std::string_view::npos;  // where the last anchor ended
  // Line breaks in [from, to).
  const auto countLineBreaks = [&](std::size_t from, std::size_t to) {
    std::int64_t count = 0;
    for (std::size_t br = all.find("\r\n", from); br != std::string_view::npos && br + 2 <= to;
         br = all.find("\r\n", br + 2))
      ++count;
    return count;
  };
  // Both kinds of mark are found by one search each, in text order.
  std::size_t anchorAt = findText(all, anchorStart);
  // Only this module's warnings still wait for their line (0); most modules have none.
  const bool marksWarnings = scan.warnings && !scan.warnings->empty() && scan.warnings->back().line == 0;
  std::size_t warningAt = marksWarnings ? findText(all, warningStart) : std::string_view::npos;
  while (anchorAt != std::string_view::npos || warningAt != std::string_view::npos) {
    if (warningAt < anchorAt) {
      const std::size_t at = warningAt;
      const std::size_t bar = all.find('|', at);
      std::size_t index = 0;
      for (std::size_t k = at + warningStart.size(); k < bar && all[k] >= '0' && all[k] <= '9'; ++k)
        index = index * 10 + static_cast<std::size_t>(all[k] - '0');
      lineIndex += countLineBreaks(done, at);
      if (bar != std::string_view::npos && index < scan.warnings->size())
        (*scan.warnings)[index].line = lineIndex + 1;
      out.append(all.substr(done, at - done));
      done = bar == std::string_view::npos ? all.size() : bar + 1;
      warningAt = findText(all, warningStart, done);
      continue;
    }
    const std::size_t at = anchorAt;
    anchorAt = findText(all, anchorStart, at + 1);
    // Anchors start lines; a one-line routine's end anchor follows its header anchor.
    if (at != 0 && at != anchorEnd && (at < 2 || all.substr(at - 2, 2) != "\r\n")) continue;
    lineIndex += countLineBreaks(done, at);
    std::int64_t number = 0;
    const std::size_t letter = at + anchorStart.size();  // "A" or "E", then the eight digits
    for (std::size_t k = letter + 1; k < letter + 9 && k < all.size() && all[k] >= '0' && all[k] <= '9'; ++k)
      number = number * 10 + (all[k] - '0');
    if (letter < all.size() && all[letter] == 'A')
      scan.sink->setRoutineStart(number, lineIndex + 1);
    else
      scan.sink->setRoutineEnd(number, lineIndex + 1);
    out.append(all.substr(done, at - done));
    done = anchorEnd = std::min(all.size(), at + kAnchorLength);
  }
  lineIndex += countLineBreaks(done, all.size());
  out.append(all.substr(done));
  scan.sink->endDeclarationsOfModule(scan.moduleNumber);
  scan.sink->insertModule({scan.moduleNumber, scan.moduleName, scan.moduleType, lineIndex});
  text.swap(out);
}

}  // namespace cq
