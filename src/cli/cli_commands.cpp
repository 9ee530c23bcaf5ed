#include "cli/cli_commands.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>

#include "app/app_state.h"
#include "codedb/code_database.h"
#include "sources/document_host.h"
#include "sources/host_tree.h"
#include "text/path_text.h"
#include "projectfolder/project_folder.h"
#include "sources/project_reader.h"
#include "text/text_decoding.h"
#include "render/html.h"
#include "render/markup.h"
#include "render/project_export.h"
#include "render/rtf.h"
#include "render/styled_text.h"

namespace fs = std::filesystem;

namespace cq::cli {

namespace {

// Engine texts are Windows-1252; terminals and pipes get UTF-8, block by block
// so that a large export is never held twice.
void print(std::ostream& stream, std::string_view windows1252) {
  constexpr std::size_t kBlock = 1 << 16;
  for (std::size_t at = 0; at < windows1252.size(); at += kBlock) stream << windows1252ToUtf8(windows1252.substr(at, kBlock));
}

std::string readAll(std::istream& in) {
  std::string bytes;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
  return bytes;
}

int fail(Context& context, std::string_view message) {
  print(context.err, message);
  context.err << '\n';
  return 1;
}

// Opens every source in a fresh host, and reports the documents that cannot be
// read without stopping the others.
bool openSources(Context& context, const std::vector<std::string>& sources, DocumentHost& host, HostTree& tree) {
  for (const std::string& source : sources) host.open(fs::path(source));
  const HostTreeFill fill = fillHostTree(host, tree);
  for (const DocumentLoadError& error : host.loadErrors()) {
    print(context.err, error.message);
    context.err << '\n';
  }
  if (!fill.error.empty()) {
    print(context.err, fill.error);
    context.err << '\n';
  }
  return fill.ok;
}

std::size_t projectNode(const HostTree& tree, std::optional<int> number) {
  std::string wanted;
  if (number) wanted.append("A").append(std::to_string(*number)).append("\\");
  for (std::size_t i = 0; i < tree.nodes.size(); ++i) {
    const HostTreeNode& node = tree.nodes[i];
    if (node.parent != kNoParent || node.children.empty()) continue;
    if (wanted.empty() || node.key == wanted) return i;
  }
  return kNoParent;
}

std::unique_ptr<CodeDatabase> openProject(const fs::path& folder) {
  if (!isProjectFolder(folder)) throw std::runtime_error("Kein G\xFCltiges Projekt: " + pathToText(folder));
  return CodeDatabase::open(folder);
}

std::string moduleOrProject(Context& context, const fs::path& folder, bool rtf) {
  auto database = openProject(folder);
  const RenderOptions& options = context.settings.render;
  if (context.args.module) {
    const std::string marked = readModuleFile(folder, *context.args.module);
    return rtf ? wrapRtfDocument(markedToRtf(marked, options), options) : markedToHtml(marked, options);
  }
  const std::vector<ExportModule> modules = loadProjectModules(folder, *database);
  return rtf ? projectToRtf(modules, options) : projectToHtml(modules, options);
}

}  // namespace

int listSources(Context& context) {
  DocumentHost host;
  HostTree tree;
  openSources(context, context.args.positional, host, tree);
  for (const HostTreeNode& node : tree.nodes) {
    print(context.out, node.key + "\t" + node.text + "\t" + node.image);
    context.out << '\n';
  }
  return 0;
}

int readSources(Context& context) {
  const auto started = std::chrono::steady_clock::now();
  std::vector<std::string> sources = context.args.positional;
  const fs::path folder = sources.back();
  sources.pop_back();

  DocumentHost host;
  HostTree tree;
  if (!openSources(context, sources, host, tree)) return fail(context, "Keine Quelle konnte gelesen werden.");
  const std::size_t project = projectNode(tree, context.args.project);
  if (project == kNoParent)
    return fail(context, context.args.project ? "Diesen Projektknoten gibt es nicht."
                                              : "Keine Quelle enth\xE4lt lesbare Module.");
  setTicked(tree, project, true);
  try {
    prepareNewProjectFolder(folder);
  } catch (const std::exception& e) {
    return fail(context, e.what());
  }

  ProjectReadRequest request;
  request.templateFile = templateFilePath(programFolder());
  request.folder = folder;
  request.markup = context.settings.markup;
  const ProjectRead read = readTickedModules(host, tree, request);
  for (const ScanWarning& warning : read.warnings) {
    print(context.err, "Warnung: Modul " + warning.module + ", Zeile " + std::to_string(warning.line) +
                           ": Routinenkopf ohne \"(\" bleibt unver\xE4ndert: " + warning.code);
    context.err << '\n';
  }
  if (!read) return fail(context, read.cause.empty() ? read.message : read.message + "\r\n\r\n" + read.cause);

  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  char secondsText[32];
  std::snprintf(secondsText, sizeof secondsText, "%.3f", seconds);
  print(context.out, "Projekt: " + tree.tag + "\nModule: " + std::to_string(read.modules) + "\nRoutinen: " +
                         std::to_string(read.routines) + "\nErsetzte Zeichen: " +
                         std::to_string(read.replacedCharacters) + "\nSekunden: " + secondsText + "\n");
  return 0;
}

int exportHtml(Context& context) {
  try {
    print(context.out, moduleOrProject(context, context.args.positional[0], false));
  } catch (const std::exception& e) {
    return fail(context, e.what());
  }
  return 0;
}

int exportRtf(Context& context) {
  std::string document;
  try {
    document = moduleOrProject(context, context.args.positional[0], true);
  } catch (const std::exception& e) {
    return fail(context, e.what());
  }
  if (!context.args.output) {
    context.out << document;  // RTF is a Windows-1252 document of its own
    return 0;
  }
  std::ofstream file(*context.args.output, std::ios::binary | std::ios::trunc);
  file << document;
  file.close();
  if (!file) return fail(context, "Die Datei " + *context.args.output + " konnte nicht geschrieben werden.");
  return 0;
}

int exportText(Context& context) {
  try {
    openProject(context.args.positional[0]);
    print(context.out, plainTextOfMarked(readModuleFile(context.args.positional[0], *context.args.module)));
  } catch (const std::exception& e) {
    return fail(context, e.what());
  }
  return 0;
}

int markUpInput(Context& context, std::istream& in) {
  const DecodedText code = decodeSourceText(readAll(in));
  const std::string marked = markUpSelection(code.text, context.settings.markup);
  print(context.out, context.args.html ? markedToHtml(marked, context.settings.render) : marked);
  return 0;
}

}  // namespace cq::cli
