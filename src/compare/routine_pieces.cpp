#include "compare/routine_pieces.h"

#include <array>
#include <map>

#include "analysis/routine_lines.h"
#include "render/markup.h"
#include "text/ascii_case.h"
#include "text/unicode_case.h"

namespace cq {
namespace {

constexpr std::array<RoutineKind, 3> kKinds = {RoutineKind::kSub, RoutineKind::kFunction, RoutineKind::kProperty};

bool isBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

bool continues(std::string_view line) {
  const std::size_t last = line.find_last_not_of(" \t");
  return last != std::string_view::npos && line[last] == '_' && (last == 0 || line[last - 1] == ' ' || line[last - 1] == '\t');
}

// Only statements holding one of the routine words need marking up.
bool mayBeRoutineLine(std::string_view statement) {
  return findIgnoringAsciiCase(statement, "sub") != std::string_view::npos ||
         findIgnoringAsciiCase(statement, "function") != std::string_view::npos ||
         findIgnoringAsciiCase(statement, "property") != std::string_view::npos;
}

std::vector<std::string_view> words(std::string_view text) {
  std::vector<std::string_view> result;
  std::size_t start = 0;
  while ((start = text.find_first_not_of(" \t", start)) != std::string_view::npos) {
    std::size_t end = text.find_first_of(" \t(", start);
    if (end == start) end = start + 1;  // "(" alone
    if (end == std::string_view::npos) end = text.size();
    result.push_back(text.substr(start, end - start));
    start = end;
  }
  return result;
}

// "Sub Name", "Property Get Name": the kind word and the routine's name from a header.
std::string routineTitle(std::string_view header, RoutineKind kind) {
  static constexpr std::array<std::string_view, 3> kKindWords = {"Sub", "Function", "Property"};
  const std::string_view kindWord = kKindWords[static_cast<std::size_t>(kind)];
  const std::vector<std::string_view> all = words(header);
  std::size_t at = 0;
  while (at < all.size() && !equalsIgnoringAsciiCase(all[at], kindWord)) ++at;
  std::string title(kindWord);
  if (++at < all.size() && kind == RoutineKind::kProperty) {
    for (std::string_view accessor : {"Get", "Let", "Set"})
      if (equalsIgnoringAsciiCase(all[at], accessor)) title.append(" ").append(accessor);
    ++at;
  }
  if (at < all.size() && all[at] != "(") title.append(" ").append(all[at]);
  return title;
}

struct Routine {
  std::size_t header;
  std::size_t end;  // the end line, inclusive
  std::string title;
};

std::vector<Routine> findRoutines(const std::vector<std::string_view>& lines) {
  std::vector<Routine> routines;
  bool open = false;
  RoutineKind openKind = RoutineKind::kSub;
  std::string statement;
  for (std::size_t first = 0; first < lines.size();) {
    // One statement: a line and the lines that continue it, joined.
    std::size_t last = first;
    statement.assign(lines[first]);
    while (continues(lines[last]) && last + 1 < lines.size()) {
      statement.erase(statement.find_last_of('_'));
      statement.append(" ").append(lines[++last]);
    }
    const std::size_t next = last + 1;
    if (!mayBeRoutineLine(statement)) {
      first = next;
      continue;
    }
    const std::string marked = markUpSelection(statement, MarkupOptions{});
    if (open) {
      if (routineLineRole(marked, openKind, true) == RoutineLineRole::kEnd) {
        routines.back().end = last;
        open = false;
      }
      first = next;
      continue;
    }
    for (RoutineKind kind : kKinds) {
      const RoutineLineRole role = routineLineRole(marked, kind, false);
      if (role != RoutineLineRole::kHeader && role != RoutineLineRole::kOneLineRoutine) continue;
      routines.push_back({first, last, routineTitle(statement, kind)});
      if (role == RoutineLineRole::kHeader) {
        routines.back().end = lines.size() - 1;  // until its end line turns up
        open = true;
        openKind = kind;
      }
      break;
    }
    first = next;
  }
  return routines;
}

bool isComment(std::string_view line) {
  const std::size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos) return false;
  line.remove_prefix(start);
  return line.starts_with('\'') || startsWithIgnoringAsciiCase(line, "rem ") || equalsIgnoringAsciiCase(line, "rem");
}

// Where the first routine's piece begins: at the comment lines right above its header.
std::size_t firstRoutineStart(const std::vector<std::string_view>& lines, std::size_t header) {
  while (header > 0 && isComment(lines[header - 1])) --header;
  return header;
}

CodePiece trimmedPiece(const std::vector<std::string_view>& lines, std::string title, std::size_t begin,
                       std::size_t end) {
  while (begin < end && isBlank(lines[begin])) ++begin;
  while (end > begin && isBlank(lines[end - 1])) --end;
  return {std::move(title), {}, begin, end - begin};
}

}  // namespace

std::vector<CodePiece> routinePieces(const std::vector<std::string_view>& lines) {
  const std::vector<Routine> routines = findRoutines(lines);
  std::vector<CodePiece> pieces;
  pieces.reserve(routines.size() + 1);
  const std::size_t firstStart = routines.empty() ? lines.size() : firstRoutineStart(lines, routines.front().header);
  pieces.push_back(trimmedPiece(lines, std::string(kDeclarationsTitle), 0, firstStart));
  for (std::size_t i = 0; i < routines.size(); ++i) {
    const std::size_t begin = i == 0 ? firstStart : routines[i - 1].end + 1;
    const std::size_t end = i + 1 == routines.size() ? lines.size() : routines[i].end + 1;
    pieces.push_back(trimmedPiece(lines, routines[i].title, begin, end));
  }
  std::map<std::string, int> seen;
  for (CodePiece& piece : pieces) {
    piece.key = foldCase(piece.title);
    if (const int count = ++seen[piece.key]; count > 1) piece.key.append("#").append(std::to_string(count));
  }
  return pieces;
}

}  // namespace cq
