#include "cli/cli_commands.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>

#include "app/app_state.h"
#include "cli/list_text.h"
#include "codedb/code_database.h"
#include "sources/document_host.h"
#include "sources/host_tree.h"
#include "text/path_text.h"
#include "projectfolder/project_folder.h"
#include "projectfolder/project_replacement.h"
#include "projectfolder/project_saving.h"
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

void report(Context& context, const Failure& failure) {
  print(context.err, failure.text());
  context.err << '\n';
}

int fail(Context& context, const Failure& failure) {
  report(context, failure);
  return 1;
}

// Opens every source in a fresh host, and reports the documents that cannot be
// read without stopping the others.
bool openSources(Context& context, const std::vector<std::string>& sources, DocumentHost& host, HostTree& tree) {
  for (const std::string& source : sources) host.open(fs::path(source));
  const Outcome<HostTreeFill> fill = fillHostTree(host, tree);
  for (const DocumentLoadError& error : host.loadErrors()) {
    print(context.err, error.message);
    context.err << '\n';
  }
  if (!fill) report(context, fill.failure());
  return fill && fill->attached;
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

Outcome<std::string> moduleOrProject(Context& context, const fs::path& folder, bool rtf) {
  const auto database = openProjectDatabase(folder);
  if (!database) return database.failure();
  const RenderOptions& options = context.settings.render;
  if (context.args.module) {
    const Outcome<std::string> marked = readModuleFile(folder, *context.args.module);
    if (!marked) return marked;
    return rtf ? wrapRtfDocument(markedToRtf(marked.value(), options), options) : markedToHtml(marked.value(), options);
  }
  const Outcome<std::vector<ExportModule>> modules = loadProjectModules(folder, *database.value());
  if (!modules) return modules.failure();
  return rtf ? projectToRtf(modules.value(), options) : projectToHtml(modules.value(), options);
}

}  // namespace

Outcome<std::unique_ptr<CodeDatabase>> openProjectDatabase(const fs::path& folder) {
  if (const Outcome<void> checked = checkProjectFolder(folder); !checked)
    return Failure{checked.failure().message + ": " + pathToText(folder)};
  return CodeDatabase::open(folder);
}


int listSources(Context& context) {
  DocumentHost host;
  HostTree tree;
  openSources(context, context.args.positional, host, tree);
  for (const HostTreeNode& node : tree.nodes) {
    print(context.out, listedKey(node.key) + "\t" + escapedListField(node.text) + "\t" + escapedListField(node.image));
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
  if (!openSources(context, sources, host, tree)) return fail(context, {"Keine Quelle konnte gelesen werden."});
  const std::size_t project = projectNode(tree, context.args.project);
  if (project == kNoParent)
    return fail(context, {context.args.project ? "Diesen Projektknoten gibt es nicht."
                                               : "Keine Quelle enth\xE4lt lesbare Module."});
  setTicked(tree, project, true);

  ProjectReadRequest request;
  request.templateFile = templateFilePath(programFolder());
  request.markup = context.settings.markup;
  const Outcome<ProjectRead> read = readIntoProjectFolder(folder, [&](const fs::path& newFolder) {
    request.folder = newFolder;
    return readTickedModules(host, tree, request);
  });
  if (!read) return fail(context, read.failure());
  for (const ScanWarning& warning : read->warnings) {
    print(context.err, "Warnung: Modul " + warning.module + ", Zeile " + std::to_string(warning.line) +
                           ": Routinenkopf ohne \"(\" bleibt unver\xE4ndert: " + warning.code);
    context.err << '\n';
  }

  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  char secondsText[32];
  std::snprintf(secondsText, sizeof secondsText, "%.3f", seconds);
  print(context.out, "Projekt: " + tree.tag + "\nModule: " + std::to_string(read->modules) + "\nRoutinen: " +
                         std::to_string(read->routines) + "\nErsetzte Zeichen: " +
                         std::to_string(read->replacedCharacters) + "\nSekunden: " + secondsText + "\n");
  return 0;
}

int exportHtml(Context& context) {
  const Outcome<std::string> html = moduleOrProject(context, context.args.positional[0], false);
  if (!html) return fail(context, html.failure());
  print(context.out, html.value());
  return 0;
}

int exportRtf(Context& context) {
  const Outcome<std::string> document = moduleOrProject(context, context.args.positional[0], true);
  if (!document) return fail(context, document.failure());
  if (!context.args.output) {
    context.out << document.value();  // RTF is a Windows-1252 document of its own
    return 0;
  }
  errno = 0;
  std::ofstream file(*context.args.output, std::ios::binary | std::ios::trunc);
  file << document.value();
  file.close();
  if (!file) {
    return fail(context, {"Die Datei " + pathToText(*context.args.output) + " konnte nicht geschrieben werden.",
                          lastSystemErrorText()});
  }
  return 0;
}

int exportText(Context& context) {
  const fs::path folder = context.args.positional[0];
  if (const auto database = openProjectDatabase(folder); !database) return fail(context, database.failure());
  const Outcome<std::string> marked = readModuleFile(folder, *context.args.module);
  if (!marked) return fail(context, marked.failure());
  print(context.out, plainTextOfMarked(marked.value()));
  return 0;
}

int markUpInput(Context& context, std::istream& in) {
  const DecodedText code = decodeSourceText(readAll(in));
  const std::string marked = markUpSelection(code.text, context.settings.markup);
  print(context.out, context.args.html ? markedToHtml(marked, context.settings.render) : marked);
  return 0;
}

}  // namespace cq::cli
