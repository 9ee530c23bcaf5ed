#include "cli/cli_commands.h"

#include <chrono>
#include <cstdio>
#include <ostream>

#include "app/app_state.h"
#include "app/edition.h"
#include "cli/list_text.h"
#include "cli/record_output.h"
#include "cli/standard_streams.h"
#include "codedb/code_database.h"
#include "projectfolder/atomic_file.h"
#include "projectfolder/module_export.h"
#include "projectfolder/project_folder.h"
#include "projectfolder/project_replacement.h"
#include "projectfolder/project_saving.h"
#include "render/html.h"
#include "render/markup.h"
#include "render/project_export.h"
#include "render/rtf.h"
#include "render/styled_text.h"
#include "sources/vba/code_page.h"
#include "sources/document_host.h"
#include "sources/host_tree.h"
#include "sources/project_reader.h"
#include "text/path_text.h"
#include "text/text_decoding.h"

namespace fs = std::filesystem;

namespace cq::cli {

namespace {

// Engine texts are UTF-8, as terminals and pipes take them.
void print(std::ostream& stream, std::string_view text) { stream << text; }

}  // namespace

void report(Context& context, const Failure& failure) {
  print(context.err, commandLineText(failure));
  context.err << '\n';
}

namespace {

int fail(Context& context, const Failure& failure) {
  report(context, failure);
  return 1;
}

// Opens every source in a fresh host, and reports the documents that cannot be
// read without stopping the others.
bool openSources(Context& context, const std::vector<std::string>& sources, DocumentHost& host, HostTree& tree) {
  host.setModuleFileCodePage(context.settings.moduleFileCodePage);
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
  // RTF names the project's code page and writes its characters for it.
  const Outcome<int> codePage = database.value()->codePage();
  if (!codePage) return codePage.failure();
  RenderOptions options = context.settings.render;
  options.codePage = codePage.value();
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
  const bool attached = openSources(context, context.args.positional, host, tree);
  // The warning nodes stay in the listing, as in the host tree; the exit code
  // tells a script that the listing lacks the modules of some source.
  const int code = attached && host.loadErrors().empty() ? 0 : kSomeSourcesFailed;
  if (context.args.json) {
    RecordOutput output(context.out, true);
    for (const HostTreeNode& node : tree.nodes) {
      const FieldValue parent =
          node.parent == kNoParent ? FieldValue(nullptr) : FieldValue(tree.nodes[node.parent].key);
      output.write({{"key", node.key}, {"text", node.text}, {"image", node.image}, {"parent", parent}});
    }
    return code;
  }
  for (const HostTreeNode& node : tree.nodes) {
    print(context.out, listedKey(node.key) + "\t" + escapedListField(node.text) + "\t" + escapedListField(node.image));
    context.out << '\n';
  }
  return code;
}

namespace {

// Opens the sources in front of the folder argument of `read` and `export` and
// finds the project node that --project names (the first by default).
Outcome<std::size_t> openProjectOfSources(Context& context, DocumentHost& host, HostTree& tree) {
  const std::vector<std::string> sources(context.args.positional.begin(), context.args.positional.end() - 1);
  if (!openSources(context, sources, host, tree)) return Failure{"Keine Quelle konnte gelesen werden."};
  const std::size_t project = projectNode(tree, context.args.project);
  if (project == kNoParent)
    return Failure{context.args.project ? "Diesen Projektknoten gibt es nicht." : "Keine Quelle enthält lesbare Module."};
  return project;
}

}  // namespace

int readSources(Context& context) {
  const auto started = std::chrono::steady_clock::now();
  const fs::path folder = context.args.positional.back();
  DocumentHost host;
  HostTree tree;
  const Outcome<std::size_t> projectFound = openProjectOfSources(context, host, tree);
  if (!projectFound) return fail(context, projectFound.failure());
  const std::size_t project = projectFound.value();
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
                           ": Routinenkopf ohne \"(\" bleibt unverändert: " + warning.code);
    context.err << '\n';
  }

  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  char secondsText[32];
  std::snprintf(secondsText, sizeof secondsText, "%.3f", seconds);
  print(context.out, "Projekt: " + tree.tag + "\nModule: " + std::to_string(read->modules) + "\nRoutinen: " +
                         std::to_string(read->routines) + "\nZeichensatz: " + codePageName(read->codePage) +
                         "\nErsetzte Zeichen: " + std::to_string(read->replacedCharacters) + "\nSekunden: " +
                         secondsText + "\n");
  return 0;
}

int exportModules(Context& context) {
  const fs::path folder = context.args.positional.back();
  DocumentHost host;
  HostTree tree;
  const Outcome<std::size_t> projectFound = openProjectOfSources(context, host, tree);
  if (!projectFound) return fail(context, projectFound.failure());
  const std::size_t project = projectFound.value();
  const LoadedProject& loaded = host.loadedProject(tree.nodes[project].project);
  const Outcome<ModuleExport> exported = exportModuleFiles(loaded, folder);
  if (!exported) return fail(context, exported.failure());
  for (const std::string& skipped : exported->skipped) {
    print(context.err,
          "Warnung: Das Modul " + skipped + " hat keine Moduldatei seiner Art und wurde nicht exportiert.");
    context.err << '\n';
  }
  print(context.out, "Projekt: " + loaded.name() + "\nZeichensatz: " + codePageName(loaded.codePage()) +
                         "\nModuldateien: " + std::to_string(exported->written) +
                         "\nEntfernte alte Moduldateien: " + std::to_string(exported->removed) + "\n");
  return 0;
}


namespace {

// Standard output (ending with a line break), or the file of -o written whole
// or not at all, byte for byte as the window writes it.
int deliver(Context& context, std::string bytes) {
  if (!context.args.output) {
    context.out << withFinalLineBreak(std::move(bytes));
    return 0;
  }
  if (const Outcome<void> written = writeFileAtomically(*context.args.output, bytes); !written)
    return fail(context, written.failure());
  return 0;
}

}  // namespace

int exportHtml(Context& context) {
  const Outcome<std::string> html = moduleOrProject(context, context.args.positional[0], false);
  if (!html) return fail(context, html.failure());
  if (context.args.page) return deliver(context, htmlPreviewPage(builtInEdition().name, html.value()));
  return deliver(context, html.value());
}

int exportRtf(Context& context) {
  const Outcome<std::string> document = moduleOrProject(context, context.args.positional[0], true);
  if (!document) return fail(context, document.failure());
  return deliver(context, std::move(document).value());  // RTF is a document of its own code page
}

int exportText(Context& context) {
  const fs::path folder = context.args.positional[0];
  if (const auto database = openProjectDatabase(folder); !database) return fail(context, database.failure());
  const Outcome<std::string> marked = readModuleFile(folder, *context.args.module);
  if (!marked) return fail(context, marked.failure());
  // Terminals and pipes take LF; --crlf gives the CR LF of the window's files.
  const std::string text = plainTextOfMarked(marked.value());
  print(context.out, withFinalLineBreak(context.args.crlf ? text : withLineFeeds(text)));
  return 0;
}

int markUpInput(Context& context) {
  const Outcome<std::string> input = readDescriptor(0);
  if (!input) return fail(context, input.failure());
  const DecodedText code = decodeSourceText(input.value());
  const std::string marked = markUpSelection(code.text, context.settings.markup);
  print(context.out, withFinalLineBreak(context.args.html ? markedToHtml(marked, context.settings.render) : marked));
  return 0;
}

}  // namespace cq::cli
