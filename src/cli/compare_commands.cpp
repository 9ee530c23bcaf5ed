#include "cli/compare_commands.h"

#include <algorithm>
#include <ostream>

#include "cli/json_text.h"
#include "compare/project_comparison.h"
#include "projectfolder/compared_sources.h"
#include "sources/host_tree.h"
#include "sources/module_file.h"
#include "sources/module_file_export.h"
#include "text/unicode_case.h"

namespace fs = std::filesystem;

namespace cq::cli {

namespace {

// Git shows text with LF line ends; a CR would stand at the end of every line.
void appendWithLineFeeds(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(text[i]);
    }
  }
}

// The header line, then the module file without its kind's header (VERSION,
// BEGIN … END): the attribute lines and the code.
void appendModuleText(std::string& out, const LoadedComponent& component) {
  const ModuleKind kind = moduleKindOf(component.type(), component.name());
  out.append("' ===== ").append(component.name()).append(" (").append(moduleTypeName(kind.type)).append(") =====\n");
  const std::string file = moduleFileText(component.name(), component.type(), component.source());
  const ModuleFileParts parts = splitModuleFile(file);
  appendWithLineFeeds(out, headerAttributes(parts.header));
  appendWithLineFeeds(out, parts.code);
}

}  // namespace

int textconvDocument(Context& context) {
  const Outcome<LoadedProject> project =
      readableProject(fs::path(context.args.positional[0]), context.settings.moduleFileCodePage);
  if (!project) {
    context.err << project.failure().text() << '\n';
    return 1;
  }
  // By name, so that the text stays the same when the document stores its
  // modules in another order.
  std::vector<std::pair<std::string, const LoadedComponent*>> components;
  for (const LoadedComponent& component : project->components())
    components.emplace_back(foldCase(component.name()), &component);
  std::sort(components.begin(), components.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : a.second->name() < b.second->name();
  });
  std::string out;
  for (const auto& [key, component] : components) {
    if (!out.empty()) out.push_back('\n');
    appendModuleText(out, *component);
  }
  context.out << out;
  return 0;
}

namespace {

constexpr int kDifferent = 1;
constexpr int kUnreadable = 2;

std::string_view changeName(Change change) {
  switch (change) {
    case Change::kAdded: return "added";
    case Change::kRemoved: return "removed";
    case Change::kChanged: return "changed";
    case Change::kRenamed: return "renamed";
    case Change::kMoved: return "moved";
  }
  return {};
}

std::string moduleName(const ModuleChange& module) {
  return module.newName.empty() ? module.oldName : module.newName;
}

std::string textReport(const ProjectComparison& comparison) {
  std::string out;
  for (const ModuleChange& module : comparison.modules) {
    out.append("Modul ").append(changeText(module.change));
    if (module.whitespaceOnly) out.append(" (nur Leerraum)");
    out.append(": ");
    if (module.change == Change::kRenamed) out.append(module.oldName).append(" -> ");
    out.append(moduleName(module)).append(" (").append(moduleTypeName(module.type)).append(")\n");
    if (module.oldType != module.type) {
      out.append("Modultyp geändert: ").append(moduleTypeName(module.oldType)).append(" -> ");
      out.append(moduleTypeName(module.type)).append("\n");
    }
    if (module.change == Change::kAdded || module.change == Change::kRemoved) continue;
    for (const PieceChange& piece : module.pieces) {
      out.append("Routine ").append(changeText(piece.change));
      if (piece.whitespaceOnly) out.append(" (nur Leerraum)");
      out.append(": ").append(piece.title).append("\n");
      if (piece.hunks.empty()) continue;
      out.append("--- ").append(module.oldName).append(": ").append(piece.title).append("\n");
      out.append("+++ ").append(module.newName).append(": ").append(piece.title).append("\n");
      out.append(piece.hunks);
    }
  }
  return out;
}

std::string jsonTextOrNull(std::string_view text) { return text.empty() ? "null" : jsonString(text); }

std::string jsonReport(const ProjectComparison& comparison) {
  std::string out = std::string("{\"equal\": ").append(comparison.equal() ? "true" : "false").append(", \"modules\": [");
  bool firstModule = true;
  for (const ModuleChange& module : comparison.modules) {
    out.append(firstModule ? "\n  {" : ",\n  {");
    firstModule = false;
    out.append("\"change\": ").append(jsonString(changeName(module.change)));
    out.append(", \"oldName\": ").append(jsonTextOrNull(module.oldName));
    out.append(", \"newName\": ").append(jsonTextOrNull(module.newName));
    out.append(", \"type\": ").append(jsonString(moduleTypeName(module.type)));
    out.append(", \"oldType\": ").append(jsonString(moduleTypeName(module.oldType)));
    out.append(", \"whitespaceOnly\": ").append(module.whitespaceOnly ? "true" : "false");
    out.append(", \"routines\": [");
    bool firstPiece = true;
    for (const PieceChange& piece : module.pieces) {
      out.append(firstPiece ? "\n    {" : ",\n    {");
      firstPiece = false;
      out.append("\"change\": ").append(jsonString(changeName(piece.change)));
      out.append(", \"routine\": ").append(jsonString(piece.title));
      out.append(", \"whitespaceOnly\": ").append(piece.whitespaceOnly ? "true" : "false");
      out.append(", \"diff\": ").append(jsonTextOrNull(piece.hunks)).append("}");
    }
    out.append(firstPiece ? "]}" : "\n  ]}");
  }
  out.append(firstModule ? "]}\n" : "\n]}\n");
  return out;
}

}  // namespace

int diffSources(Context& context) {
  const int codePage = context.settings.moduleFileCodePage;
  const Outcome<ComparedProject> older = loadComparedProject(fs::path(context.args.positional[0]), codePage);
  if (!older) {
    context.err << older.failure().text() << '\n';
    return kUnreadable;
  }
  const Outcome<ComparedProject> newer = loadComparedProject(fs::path(context.args.positional[1]), codePage);
  if (!newer) {
    context.err << newer.failure().text() << '\n';
    return kUnreadable;
  }
  const ProjectComparison comparison = compareProjects(older.value(), newer.value());
  context.out << (context.args.json ? jsonReport(comparison) : textReport(comparison));
  return comparison.equal() ? 0 : kDifferent;
}

}  // namespace cq::cli
