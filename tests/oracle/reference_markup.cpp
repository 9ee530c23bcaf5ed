#include "oracle/reference_markup.h"

#include <string.h>

#include <array>
#include <cstdio>
#include <vector>

#include "render/keywords.h"
#include "text/markers.h"
#include "render/reindent.h"

namespace cq::oracle {
namespace {

using namespace cq::markers;

constexpr std::string_view kCrLf = "\r\n";

// The C library's substring search: the same leftmost match as string_view::find,
// but quick on patterns that begin with a blank, which whole corpora are full of.
std::size_t findFrom(std::string_view text, std::string_view find, std::size_t pos) {
  if (pos > text.size()) return std::string_view::npos;
  const void* hit = memmem(text.data() + pos, text.size() - pos, find.data(), find.size());
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : std::string_view::npos;
}

// Left to right, without overlap; the replacement is never searched again.
std::string replaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
  if (find.empty()) return std::string(text);
  std::string out;
  std::size_t pos = 0;
  while (true) {
    const std::size_t hit = findFrom(text, find, pos);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(replacement);
    pos = hit + find.size();
  }
  out.append(text.substr(pos));
  return out;
}

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

bool startsWith(std::string_view text, std::string_view head) {
  return text.size() >= head.size() && text.substr(0, head.size()) == head;
}

std::vector<std::string> split(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  std::size_t pos = 0;
  while (true) {
    const std::size_t hit = text.find(separator, pos);
    if (hit == std::string_view::npos) break;
    parts.emplace_back(text.substr(pos, hit - pos));
    pos = hit + separator.size();
  }
  parts.emplace_back(text.substr(pos));
  return parts;
}

std::string join(const std::vector<std::string>& parts, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out.append(separator);
    out.append(parts[i]);
  }
  return out;
}

std::string dropFirst(std::string_view text, std::size_t count) {
  return count >= text.size() ? std::string() : std::string(text.substr(count));
}

std::string dropLast(std::string_view text, std::size_t count) {
  return count >= text.size() ? std::string() : std::string(text.substr(0, text.size() - count));
}

std::string marked(std::string_view word) {
  std::string out(kKeyword);
  out.append(word);
  out.append(kEnd);
  return out;
}

std::string blanksToSpaceMarkers(std::string_view text) { return replaceAll(text, " ", kSpace); }

std::string commentLine(std::string_view line, std::size_t apostrophe) {
  std::string out(line.substr(0, apostrophe));
  out.append(kComment);
  out.append(blanksToSpaceMarkers(line.substr(apostrophe)));
  out.append(kEnd);
  return out;
}

// A line with quotes and no apostrophe: every literal between two quotes becomes a string run.
std::string stringLine(std::string_view line) {
  std::vector<std::string> parts = split(line, "\"");
  for (std::size_t k = 0; k < parts.size(); ++k) {
    if (k % 2 == 1) {
      parts[k] = blanksToSpaceMarkers(parts[k]);
    } else if (k == 0) {
      parts[k].append(kString);
    } else {
      parts[k] = std::string(kEnd) + parts[k];
      if (k + 1 < parts.size()) parts[k].append(kString);
    }
  }
  return join(parts, "\"");
}

std::string markLine(const std::string& line) {
  const std::size_t quote = line.find('"');
  const std::size_t apostrophe = line.find('\'');
  const bool hasQuote = quote != std::string::npos;
  const bool hasApostrophe = apostrophe != std::string::npos;
  if (hasQuote && hasApostrophe && apostrophe < quote) return commentLine(line, apostrophe);
  if (hasQuote && hasApostrophe) return oracle::markLineScan(line);
  if (hasQuote) return stringLine(line);
  if (hasApostrophe) return commentLine(line, apostrophe);
  return line;
}

std::string keywordReplacement(std::string_view item) {
  std::string out = " ";
  bool first = true;
  for (const std::string& word : split(item, " ")) {
    if (word.empty()) continue;
    if (!first) out.append(" ");
    out.append(marked(word));
    first = false;
  }
  out.append(" ");
  return out;
}

// Steps shared by both modes: everything up to and including the removal of the padding.
std::string markUpCommon(std::string_view code, const MarkupOptions& options) {
  std::string text = std::string(kCrLf) + std::string(code) + std::string(kCrLf);
  if (options.reindent) text = cq::reindent(text);
  if (options.removeEmptyLines) {
    while (contains(text, "\r\n\r\n")) text = replaceAll(text, "\r\n\r\n", kCrLf);
  }
  text = replaceAll(text, std::string(kChar), kEscape);
  text = replaceAll(text, "\"\"", kQuotePair);
  text = replaceAll(text, "_\r\n", kContinuation);
  text = replaceAll(text, "(", " ( ");
  text = replaceAll(text, ")", " ) ");
  text = replaceAll(text, ",", " , ");
  text = replaceAll(text, "\t", " \t ");

  const std::vector<std::string> items = split(kKeywordList, ",");

  std::vector<std::string> lines = split(text, kCrLf);
  for (std::string& line : lines) line = markLine(line);
  text = join(lines, kCrLf);
  text = replaceAll(text, kCrLf, " \r\n ");

  for (const std::string& item : items) text = replaceAll(text, item, keywordReplacement(item));

  text = replaceAll(text, kSpace, " ");
  text = replaceAll(text, " \t ", "\t");
  text = replaceAll(text, " \r\n ", kCrLf);
  text = replaceAll(text, " ) ", ")");
  text = replaceAll(text, " ( ", "(");
  text = replaceAll(text, " , ", ",");
  return text;
}

std::string_view kindWord(RoutineKind kind) {
  switch (kind) {
    case RoutineKind::kSub: return "Sub";
    case RoutineKind::kFunction: return "Function";
    case RoutineKind::kProperty: return "Property";
  }
  return "Sub";
}

int kindCode(RoutineKind kind) {
  switch (kind) {
    case RoutineKind::kSub: return 1;
    case RoutineKind::kFunction: return 2;
    case RoutineKind::kProperty: return 99;
  }
  return 1;
}

std::string anchor(char letter, std::int64_t number) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%08lld", static_cast<long long>(number));
  std::string out(kChar);
  out += '*';
  out += letter;
  out.append(digits);
  out += '|';
  return out;
}

// The routine name: the part after the last "|" of the joined, blank-free line cut before `cutBefore`.
bool cutName(std::string_view line, std::string_view cutBefore, std::string& name) {
  std::string compact = replaceAll(line, kContinuation, "");
  compact = replaceAll(compact, "\t", "");
  compact = replaceAll(compact, " ", "");
  const std::size_t cut = compact.find(cutBefore);
  if (cut == std::string::npos) return false;
  compact.resize(cut);
  const std::size_t bar = compact.rfind('|');
  name = bar == std::string::npos ? compact : compact.substr(bar + 1);
  // A name that is itself a keyword (Property Get Object) ends in a keyword run;
  // the name is the run's word rather than the empty rest after its last "|".
  const std::string keywordEnd(kEnd);
  if (name.empty() && compact.size() >= keywordEnd.size() &&
      compact.compare(compact.size() - keywordEnd.size(), keywordEnd.size(), keywordEnd) == 0) {
    const std::string run = compact.substr(0, compact.size() - keywordEnd.size());
    const std::size_t keyword = run.rfind(kKeyword);
    if (keyword != std::string::npos) name = run.substr(keyword + kKeyword.size());
  }
  return true;
}

std::string withoutMarkers(std::string_view line) {
  static constexpr std::array<std::string_view, 11> kAll = {
      kEscape, kContinuation, kSpace, kComment, kString, kKeyword, kEnd, kQuotePair, kBold, kBoldEnd, kCut};
  std::string out(line);
  for (std::string_view marker : kAll) out = replaceAll(out, marker, "");
  return out;
}

// The marker character, "!", the warning's index, "|".
std::string warningMark(std::size_t index) { return std::string(kChar) + "!" + std::to_string(index) + "|"; }

std::string withoutWarningMarks(std::string line) {
  const std::string head = std::string(kChar) + "!";
  for (std::size_t at = line.find(head); at != std::string::npos; at = line.find(head)) {
    const std::size_t bar = line.find('|', at);
    if (bar == std::string::npos) break;
    line.erase(at, bar + 1 - at);
  }
  return line;
}

std::int64_t digitsValue(std::string_view digits) {
  std::int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

std::string markLineScan(std::string_view line) {
  std::string out;
  bool inString = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\'' && !inString) {
      out.append(kComment);
      out.append(blanksToSpaceMarkers(line.substr(i)));
      out.append(kEnd);
      return out;
    }
    if (c == '"' && !inString) {
      inString = true;
      start = i;
    } else if (c == '"') {
      out.append(kString);
      out.append(blanksToSpaceMarkers(line.substr(start, i - start + 1)));
      out.append(kEnd);
      inString = false;
    } else if (!inString) {
      out += c;
    }
  }
  // A literal left open at the line end keeps its text, in string colour.
  if (inString) {
    out.append(kString);
    out.append(blanksToSpaceMarkers(line.substr(start)));
    out.append(kEnd);
  }
  return out;
}

// The empty line before the header at `header` goes before the comment lines directly above it.
void insertBlankLineBefore(std::vector<std::string>& lines, std::size_t header) {
  std::size_t first = header;
  while (first > 0) {
    const std::string& above = lines[first - 1];
    const std::size_t code = above.find_first_not_of(" \t");
    if (code == std::string::npos || !startsWith(std::string_view(above).substr(code), kComment)) break;
    --first;
  }
  lines[first] = std::string(kCrLf) + lines[first];
}

void markRoutineLines(std::string& text, RoutineKind kind, const MarkupOptions& options) {
  const std::string word = marked(kindWord(kind));
  if (!contains(text, word)) return;
  const bool indentBodies = options.reindent && options.indentRoutineBodies;
  std::vector<std::string> lines = split(text, kCrLf);
  bool open = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string& line = lines[i];
    bool header = false;
    if (contains(line, word) && !contains(line, marked("Exit"))) {
      const bool accessor =
          contains(line, marked("Get")) || contains(line, marked("Set")) || contains(line, marked("Let"));
      if (open && !contains(line, marked("End"))) {
        // Another header of the open routine (#If ... #Else): bold, the routine stays open.
        if (kind != RoutineKind::kProperty || accessor) line = std::string(kBold) + line + std::string(kBoldEnd);
      } else if (open) {
        line = std::string(kBold) + line + std::string(kBoldEnd);
        open = false;
      } else {
        const bool declaration = contains(line, marked("Declare"));
        if (kind == RoutineKind::kProperty && !declaration && !accessor) continue;
        // A one-line routine ("Sub X(): End Sub") opens nothing.
        open = !declaration && !contains(line, marked("End") + " " + word);
        line = std::string(kBold) + line + std::string(kBoldEnd);
        header = options.blankLineBeforeRoutines;
      }
    }
    if (indentBodies && open && !line.empty() && !startsWith(line, kBold)) line = "\t" + line;
    if (header) insertBlankLineBefore(lines, i);
  }
  text = join(lines, kCrLf);
}

void runRoutinePass(std::string& text, RoutineKind kind, ModuleScan& scan) {
  const std::string word = marked(kindWord(kind));
  if (!contains(text, word)) return;
  NullScanSink nullSink;
  ScanSink& sink = scan.sink ? *scan.sink : nullSink;
  std::int64_t localCounter = 0;
  std::int64_t& counter = scan.routineCounter ? *scan.routineCounter : localCounter;
  const std::string anchorHead = std::string(kChar) + "*";

  std::vector<std::string> lines = split(text, kCrLf);
  bool open = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string& line = lines[i];
    bool alternative = false;
    bool header = false;
    if (contains(line, word) && !contains(line, marked("Exit"))) {
      if (open && !contains(line, marked("End"))) {
        // Another header of the open routine (#If ... #Else): bold only, no row, no anchor, no tab.
        alternative = kind != RoutineKind::kProperty || contains(line, marked("Get")) ||
                      contains(line, marked("Set")) || contains(line, marked("Let"));
        if (alternative) line = std::string(kBold) + line + std::string(kBoldEnd);
      } else if (open) {
        line = anchor('E', counter) + std::string(kBold) + line + std::string(kBoldEnd);
        open = false;
      } else {
        int visibility = kPublic;
        if (contains(line, marked("Private"))) visibility = kPrivate;
        if (contains(line, marked("Friend"))) visibility = kFriend;
        const bool declaration = contains(line, marked("Declare"));
        int type = kindCode(kind);
        std::string name;
        bool cut = false;
        bool skip = false;
        if (declaration) {
          type += 10;
          cut = cutName(line, std::string(kKeyword) + "Lib", name);
        } else {
          if (kind == RoutineKind::kProperty) {
            if (contains(line, marked("Get"))) type = kPropertyGet;
            if (contains(line, marked("Set"))) type = kPropertySet;
            if (contains(line, marked("Let"))) type = kPropertyLet;
            if (type == 99) {
              ++counter;
              skip = true;
            }
          }
          if (!skip) cut = cutName(line, "(", name);
        }
        // A header that cannot be cut stays as it is and is only reported; the read goes on.
        // The warning mark in front of the line gets it its line number in the line pass.
        if (!skip && !cut && scan.warnings) {
          const std::string mark = warningMark(scan.warnings->size());
          scan.warnings->push_back(ScanWarning{scan.moduleName, 0, withoutMarkers(withoutWarningMarks(line))});
          line = mark + line;
        }
        if (cut) {
          ++counter;
          // A one-line routine ("Sub X(): End Sub") is not left open; its line is also its end.
          const bool oneLine = !declaration && contains(line, marked("End") + " " + word);
          open = !declaration && !oneLine;
          line = std::string(kBold) + line + std::string(kBoldEnd);
          if (oneLine) line = anchor('E', counter) + line;
          line = anchor('A', counter) + line;
          header = scan.blankLineBeforeRoutines;
          RoutineRow row;
          row.type = type;
          row.visibility = visibility;
          row.declarationLines =
              static_cast<int>((line.size() - replaceAll(line, kContinuation, "").size()) / kContinuation.size() + 1);
          row.name = name;
          row.number = counter;
          row.module = scan.moduleNumber;
          sink.insertRoutine(row);
        }
      }
    }
    if (scan.indentRoutineBodies && open && !alternative && !line.empty() && !startsWith(line, anchorHead))
      line = "\t" + line;
    if (header) insertBlankLineBefore(lines, i);
  }
  text = join(lines, kCrLf);
}

void runLinePass(std::string& text, ModuleScan& scan) {
  NullScanSink nullSink;
  ScanSink& sink = scan.sink ? *scan.sink : nullSink;
  const std::string anchorHead = std::string(kChar) + "*";
  std::vector<std::string> lines = split(text, kCrLf);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string& line = lines[i];
    // A one-line routine's line carries two anchors.
    while (startsWith(line, anchorHead)) {
      // The marker character, "*", "A" or "E", eight digits, "|".
      const std::size_t letter = anchorHead.size();
      const std::int64_t number =
          digitsValue(line.size() > letter + 1 ? std::string_view(line).substr(letter + 1, 8) : "");
      const std::int64_t lineNumber = static_cast<std::int64_t>(i) + 1;
      if (line.size() > letter && line[letter] == 'A') {
        sink.setRoutineStart(number, lineNumber);
      } else {
        sink.setRoutineEnd(number, lineNumber);
      }
      line = dropFirst(line, letter + 10);
    }
    // Warning marks: the warning is about this line.
    const std::string warningHead = std::string(kChar) + "!";
    for (std::size_t at = line.find(warningHead); scan.warnings && at != std::string::npos;
         at = line.find(warningHead)) {
      const std::size_t bar = line.find('|', at);
      if (bar == std::string::npos) break;
      const std::size_t index = static_cast<std::size_t>(digitsValue(std::string_view(line).substr(at + warningHead.size())));
      if (index < scan.warnings->size()) (*scan.warnings)[index].line = static_cast<std::int64_t>(i) + 1;
      line.erase(at, bar + 1 - at);
    }
  }
  sink.endDeclarationsOfModule(scan.moduleNumber);
  ModuleRow row;
  row.number = scan.moduleNumber;
  row.name = scan.moduleName;
  row.type = scan.moduleType;
  row.lineBreaks = static_cast<std::int64_t>(lines.size()) - 1;
  sink.insertModule(row);
  text = join(lines, kCrLf);
}

std::string markUpModule(std::string_view code, const MarkupOptions& options, ModuleScan& scan) {
  std::string text = markUpCommon(code, options);
  oracle::runRoutinePass(text, RoutineKind::kSub, scan);
  oracle::runRoutinePass(text, RoutineKind::kFunction, scan);
  oracle::runRoutinePass(text, RoutineKind::kProperty, scan);
  text = replaceAll(text, kContinuation, "_\r\n");
  text = replaceAll(text, kQuotePair, "\"\"");
  text = dropFirst(text, 2);
  oracle::runLinePass(text, scan);
  // The escape goes back last, so a marker character of the source can never look like an anchor.
  return replaceAll(text, kEscape, std::string(kChar));
}

std::string markUpSelection(std::string_view code, const MarkupOptions& options) {
  std::string text = markUpCommon(code, options);
  oracle::markRoutineLines(text, RoutineKind::kSub, options);
  oracle::markRoutineLines(text, RoutineKind::kFunction, options);
  oracle::markRoutineLines(text, RoutineKind::kProperty, options);
  text = replaceAll(text, kContinuation, "_\r\n");
  text = replaceAll(text, kQuotePair, "\"\"");
  text = dropLast(dropFirst(text, 2), 2);
  return replaceAll(text, kEscape, std::string(kChar));
}

}  // namespace cq::oracle
