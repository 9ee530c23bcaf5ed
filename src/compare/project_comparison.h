#pragma once
// Two versions of a project compared: which modules were added, removed,
// renamed (found by their code when the name changed) or changed, and within a
// changed module which routines were added, removed, changed or moved.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/module_type.h"

namespace cq {

// A module as both versions offer it: its name and type as the host tree shows
// them, its attribute lines (module files keep them) and its code, CR LF lines.
struct ComparedModule {
  std::string name;
  ModuleType type = ModuleType::kOther;
  std::string attributes;
  std::string code;
};

struct ComparedProject {
  std::string name;
  // False for sources that keep no attribute lines (project folders): then the
  // attribute lines of neither side count.
  bool keepsAttributes = true;
  // A source that leaves out empty modules (project folders): the empty
  // modules of the other side do not count either.
  bool leavesOutEmptyModules = false;
  std::vector<ComparedModule> modules;
};

enum class Change { kAdded, kRemoved, kChanged, kRenamed, kMoved };

// A routine, the declarations or the attribute lines of a module that differ.
struct PieceChange {
  Change change = Change::kChanged;  // kAdded, kRemoved, kChanged or kMoved
  std::string title;                 // "Sub Name", "(Deklarationen)", "(Attribute)"
  bool whitespaceOnly = false;       // the texts differ in blanks and empty lines only
  std::string oldCode;               // the piece's lines, each ending in CR LF; empty when added
  std::string newCode;               // empty when removed
  std::string hunks;                 // unified diff of a changed piece, module line numbers
};

struct ModuleChange {
  Change change = Change::kChanged;  // kAdded, kRemoved, kChanged or kRenamed (its code may differ too)
  std::string oldName;               // empty when added
  std::string newName;               // empty when removed
  ModuleType type = ModuleType::kOther;  // the newer one's, else the older one's
  ModuleType oldType = ModuleType::kOther;
  bool whitespaceOnly = false;       // every piece change is whitespace only
  std::vector<PieceChange> pieces;   // in the newer module's order, removed ones after
};

struct ProjectComparison {
  std::vector<ModuleChange> modules;  // by the newer module order; removed modules last
  bool equal() const { return modules.empty(); }
};

inline constexpr std::string_view kAttributesTitle = "(Attribute)";

ProjectComparison compareProjects(const ComparedProject& older, const ComparedProject& newer);

// How the user reads a change: "hinzugefügt", "entfernt", "geändert", "umbenannt", "verschoben".
std::string_view changeText(Change change);

// The German name of a module type: "Standardmodul", "Klassenmodul", …
std::string_view moduleTypeName(ModuleType type);

}  // namespace cq
