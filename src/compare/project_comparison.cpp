#include "compare/project_comparison.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "analysis/empty_module.h"
#include "compare/line_diff.h"
#include "compare/routine_pieces.h"
#include "text/unicode_case.h"

namespace cq {
namespace {

// A module whose name went counts as renamed to a new one holding at least
// this share of the same lines.
constexpr double kRenamedSimilarity = 0.5;

bool isBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

std::string joinedLines(const std::vector<std::string_view>& lines, std::size_t first, std::size_t count) {
  std::string text;
  for (std::size_t i = first; i < first + count; ++i) text.append(lines[i]).append("\r\n");
  return text;
}

// The lines with every run of blanks made one blank, blanks at the ends and
// empty lines dropped: what stays the same when only white space changed.
std::vector<std::string> withoutWhitespaceChanges(const std::vector<std::string_view>& lines, std::size_t first,
                                                  std::size_t count) {
  std::vector<std::string> result;
  for (std::size_t i = first; i < first + count; ++i) {
    std::string line;
    bool blank = false;
    for (char c : lines[i]) {
      if (c == ' ' || c == '\t') {
        blank = true;
        continue;
      }
      if (blank && !line.empty()) line.push_back(' ');
      blank = false;
      line.push_back(c);
    }
    if (!line.empty()) result.push_back(std::move(line));
  }
  return result;
}

// One side of a module comparison: its lines and their pieces.
struct ModuleLines {
  explicit ModuleLines(std::string_view code) : lines(splitLines(code)), pieces(routinePieces(lines)) {}
  std::vector<std::string_view> lines;
  std::vector<CodePiece> pieces;

  std::string text(const CodePiece& piece) const { return joinedLines(lines, piece.firstLine, piece.lineCount); }
  std::vector<std::string_view> slice(const CodePiece& piece) const {
    return {lines.begin() + static_cast<std::ptrdiff_t>(piece.firstLine),
            lines.begin() + static_cast<std::ptrdiff_t>(piece.firstLine + piece.lineCount)};
  }
};

PieceChange changedPiece(std::string title, const std::vector<std::string_view>& older,
                         const std::vector<std::string_view>& newer, std::size_t oldFirst, std::size_t newFirst) {
  PieceChange change;
  change.title = std::move(title);
  change.oldCode = joinedLines(older, 0, older.size());
  change.newCode = joinedLines(newer, 0, newer.size());
  change.whitespaceOnly =
      withoutWhitespaceChanges(older, 0, older.size()) == withoutWhitespaceChanges(newer, 0, newer.size());
  change.hunks = unifiedHunks(older, newer, diffLines(older, newer), oldFirst, newFirst);
  return change;
}

// Every piece of a module added or removed whole.
std::vector<PieceChange> wholePieces(const ComparedModule& module, Change change) {
  const ModuleLines side(module.code);
  std::vector<PieceChange> pieces;
  for (const CodePiece& piece : side.pieces) {
    if (piece.lineCount == 0) continue;
    PieceChange each;
    each.change = change;
    each.title = piece.title;
    (change == Change::kAdded ? each.newCode : each.oldCode) = side.text(piece);
    pieces.push_back(std::move(each));
  }
  return pieces;
}

std::vector<PieceChange> changedPieces(const ComparedModule& older, const ComparedModule& newer,
                                       bool attributesCount) {
  std::vector<PieceChange> changes;
  if (attributesCount && older.attributes != newer.attributes) {
    changes.push_back(changedPiece(std::string(kAttributesTitle), splitLines(older.attributes),
                                   splitLines(newer.attributes), 1, 1));
  }
  if (older.code == newer.code) return changes;
  const ModuleLines oldSide(older.code);
  const ModuleLines newSide(newer.code);
  std::unordered_map<std::string_view, std::size_t> oldByKey;
  for (std::size_t i = 0; i < oldSide.pieces.size(); ++i) oldByKey.emplace(oldSide.pieces[i].key, i);

  // The routines both versions hold, in each one's order: those off the
  // longest common order have moved.
  std::vector<std::string_view> oldOrder;
  for (const CodePiece& piece : oldSide.pieces) oldOrder.push_back(piece.key);
  std::vector<std::string_view> newOrder;
  std::unordered_map<std::string_view, std::size_t> newByKey;
  for (const CodePiece& piece : newSide.pieces) {
    newByKey.emplace(piece.key, newOrder.size());
    newOrder.push_back(piece.key);
  }
  std::erase_if(oldOrder, [&](std::string_view key) { return !newByKey.contains(key); });
  std::erase_if(newOrder, [&](std::string_view key) { return !oldByKey.contains(key); });
  std::unordered_set<std::string_view> moved;
  for (const LineEdit& edit : diffLines(oldOrder, newOrder))
    if (edit.kind == LineEditKind::kAdded) moved.insert(newOrder[edit.newLine]);

  for (const CodePiece& piece : newSide.pieces) {
    const auto found = oldByKey.find(piece.key);
    if (found == oldByKey.end()) {
      if (piece.lineCount > 0) changes.push_back({Change::kAdded, piece.title, false, {}, newSide.text(piece), {}});
      continue;
    }
    const CodePiece& oldPiece = oldSide.pieces[found->second];
    const std::vector<std::string_view> oldLines = oldSide.slice(oldPiece);
    const std::vector<std::string_view> newLines = newSide.slice(piece);
    if (oldLines != newLines) {
      changes.push_back(changedPiece(piece.title, oldLines, newLines, oldPiece.firstLine + 1, piece.firstLine + 1));
    } else if (moved.contains(piece.key)) {
      changes.push_back({Change::kMoved, piece.title, false, oldSide.text(oldPiece), newSide.text(piece), {}});
    }
  }
  for (const CodePiece& piece : oldSide.pieces) {
    if (!newByKey.contains(piece.key) && piece.lineCount > 0)
      changes.push_back({Change::kRemoved, piece.title, false, oldSide.text(piece), {}, {}});
  }
  return changes;
}

// The hashes of a code's non-blank lines, sorted: two such lists give the
// lines two codes share in one merge.
std::vector<std::size_t> sortedLineHashes(std::string_view code) {
  std::vector<std::size_t> hashes;
  for (std::string_view line : splitLines(code))
    if (!isBlank(line)) hashes.push_back(std::hash<std::string_view>{}(line));
  std::sort(hashes.begin(), hashes.end());
  return hashes;
}

// The share of non-blank lines two codes have in common (each line counted as
// often as both hold it).
double similarity(const std::vector<std::size_t>& older, const std::vector<std::size_t>& newer) {
  if (older.empty() && newer.empty()) return 1.0;
  std::size_t common = 0;
  for (std::size_t o = 0, n = 0; o < older.size() && n < newer.size();) {
    if (older[o] < newer[n]) {
      ++o;
    } else if (newer[n] < older[o]) {
      ++n;
    } else {
      ++common, ++o, ++n;
    }
  }
  return 2.0 * static_cast<double>(common) / static_cast<double>(older.size() + newer.size());
}

// For each newer module the older one it continues (matched by name, else by
// code of the same type), or nothing.
std::vector<std::optional<std::size_t>> matchModules(const ComparedProject& older, const ComparedProject& newer) {
  std::vector<std::optional<std::size_t>> match(newer.modules.size());
  std::vector<bool> oldTaken(older.modules.size(), false);
  std::unordered_map<std::string, std::size_t> oldByName;
  for (std::size_t i = 0; i < older.modules.size(); ++i) oldByName.emplace(foldCase(older.modules[i].name), i);
  for (std::size_t i = 0; i < newer.modules.size(); ++i) {
    if (const auto found = oldByName.find(foldCase(newer.modules[i].name)); found != oldByName.end()) {
      match[i] = found->second;
      oldTaken[found->second] = true;
    }
  }
  struct Candidate {
    double similarity;
    std::size_t oldIndex;
    std::size_t newIndex;
  };
  std::vector<std::vector<std::size_t>> oldHashes(older.modules.size());
  for (std::size_t o = 0; o < older.modules.size(); ++o)
    if (!oldTaken[o]) oldHashes[o] = sortedLineHashes(older.modules[o].code);
  std::vector<Candidate> candidates;
  for (std::size_t n = 0; n < newer.modules.size(); ++n) {
    if (match[n]) continue;
    const std::vector<std::size_t> newHashes = sortedLineHashes(newer.modules[n].code);
    for (std::size_t o = 0; o < older.modules.size(); ++o) {
      if (oldTaken[o] || older.modules[o].type != newer.modules[n].type) continue;
      const double share = older.modules[o].code == newer.modules[n].code
                               ? 2.0  // the same code wins over any share
                               : similarity(oldHashes[o], newHashes);
      if (share >= kRenamedSimilarity) candidates.push_back({share, o, n});
    }
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Candidate& a, const Candidate& b) { return a.similarity > b.similarity; });
  for (const Candidate& candidate : candidates) {
    if (oldTaken[candidate.oldIndex] || match[candidate.newIndex]) continue;
    match[candidate.newIndex] = candidate.oldIndex;
    oldTaken[candidate.oldIndex] = true;
  }
  return match;
}

ComparedProject withoutEmptyModules(const ComparedProject& project) {
  ComparedProject kept{project.name, project.keepsAttributes, true, {}};
  for (const ComparedModule& module : project.modules)
    if (holdsCode(module.code)) kept.modules.push_back(module);
  return kept;
}

ProjectComparison compareComparable(const ComparedProject& older, const ComparedProject& newer);

}  // namespace

ProjectComparison compareProjects(const ComparedProject& older, const ComparedProject& newer) {
  if (!older.leavesOutEmptyModules && !newer.leavesOutEmptyModules) return compareComparable(older, newer);
  return compareComparable(withoutEmptyModules(older), withoutEmptyModules(newer));
}

namespace {

ProjectComparison compareComparable(const ComparedProject& older, const ComparedProject& newer) {
  const bool attributesCount = older.keepsAttributes && newer.keepsAttributes;
  const std::vector<std::optional<std::size_t>> match = matchModules(older, newer);
  std::vector<bool> oldKept(older.modules.size(), false);
  ProjectComparison comparison;
  for (std::size_t n = 0; n < newer.modules.size(); ++n) {
    const ComparedModule& module = newer.modules[n];
    ModuleChange change;
    change.newName = module.name;
    change.type = change.oldType = module.type;
    if (!match[n]) {
      change.change = Change::kAdded;
      change.pieces = wholePieces(module, Change::kAdded);
      comparison.modules.push_back(std::move(change));
      continue;
    }
    const ComparedModule& before = older.modules[*match[n]];
    oldKept[*match[n]] = true;
    change.oldName = before.name;
    change.oldType = before.type;
    change.change = before.name == module.name ? Change::kChanged : Change::kRenamed;
    change.pieces = changedPieces(before, module, attributesCount);
    if (change.change == Change::kChanged && change.pieces.empty() && before.type == module.type) continue;
    change.whitespaceOnly = !change.pieces.empty() && std::all_of(change.pieces.begin(), change.pieces.end(),
                                                                  [](const PieceChange& piece) { return piece.whitespaceOnly; });
    comparison.modules.push_back(std::move(change));
  }
  for (std::size_t o = 0; o < older.modules.size(); ++o) {
    if (oldKept[o]) continue;
    ModuleChange change;
    change.change = Change::kRemoved;
    change.oldName = older.modules[o].name;
    change.type = change.oldType = older.modules[o].type;
    change.pieces = wholePieces(older.modules[o], Change::kRemoved);
    comparison.modules.push_back(std::move(change));
  }
  return comparison;
}

}  // namespace

std::string_view changeText(Change change) {
  switch (change) {
    case Change::kAdded: return "hinzugefügt";
    case Change::kRemoved: return "entfernt";
    case Change::kChanged: return "geändert";
    case Change::kRenamed: return "umbenannt";
    case Change::kMoved: return "verschoben";
  }
  return {};
}

std::string_view moduleTypeName(ModuleType type) {
  switch (type) {
    case ModuleType::kForm: return "Formular";
    case ModuleType::kStandardModule: return "Standardmodul";
    case ModuleType::kClassModule: return "Klassenmodul";
    case ModuleType::kDocumentModule: return "Dokumentmodul";
    case ModuleType::kReport: return "Bericht";
    default: return "Modul";
  }
}

}  // namespace cq
