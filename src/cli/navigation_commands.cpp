#include "cli/navigation_commands.h"

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include "analysis/call_search.h"
#include "analysis/call_tree.h"
#include "analysis/definition_lookup.h"
#include "analysis/line_counter.h"
#include "analysis/text_search.h"
#include "analysis/unused_routines.h"
#include "cli/record_output.h"
#include "codedb/code_database_index.h"
#include "projectfolder/module_texts.h"
#include "projectfolder/project_folder.h"
#include "render/styled_text.h"
#include "text/path_text.h"
#include "text/text_decoding.h"

namespace fs = std::filesystem;

namespace cq::cli {

namespace {

void printLine(std::ostream& stream, std::string_view text) { stream << text << '\n'; }

// One output line: the fields separated by tabs.
void printFields(std::ostream& stream, std::initializer_list<std::string_view> fields) {
  std::string line;
  bool first = true;
  for (const std::string_view field : fields) {
    if (!first) line.push_back('\t');
    line.append(field);
    first = false;
  }
  printLine(stream, line);
}

// A key such as "M3" or "R12".
std::string key(char letter, std::int64_t number) { return std::string(1, letter).append(std::to_string(number)); }

int refuse(Context& context, std::string_view message) {
  printLine(context.err, message);
  return 1;
}

int refuse(Context& context, const Failure& failure) {
  report(context, failure);
  return 1;
}

// The project folder named first on the command line, with its code database open.
struct Project {
  fs::path folder;
  std::unique_ptr<CodeDatabase> database;
};

Outcome<Project> openProject(const std::string& argument) {
  const fs::path folder(argument);
  Outcome<std::unique_ptr<CodeDatabase>> database = openProjectDatabase(folder);
  if (!database) return database.failure();
  return Project{folder, std::move(database).value()};
}

// A name or search text of the command line: UTF-8, a byte of no UTF-8
// sequence read as its Windows-1252 character, as file names are.
std::string argumentText(const std::string& argument) { return systemBytesToText(argument); }

// Search texts lose their leading and trailing blanks, as in the search box.
std::string trimmedBlanks(std::string text) {
  text.erase(0, text.find_first_not_of(' '));
  const std::size_t last = text.find_last_not_of(' ');
  text.erase(last == std::string::npos ? 0 : last + 1);
  return text;
}

// Runs `command` on the opened project and the Windows-1252 text of the second
// argument; failures of either end the command with their message.
template <typename Command>
int withProjectAndText(Context& context, Command command) {
  Outcome<Project> project = openProject(context.args.positional[0]);
  if (!project) return refuse(context, project.failure());
  return command(project.value(), argumentText(context.args.positional[1]));
}

}  // namespace

int searchProject(Context& context) {
  return withProjectAndText(context, [&](Project& project, const std::string& argument) {
    const TextSearch search(trimmedBlanks(argument), context.args.word);
    if (search.empty()) {  // a blank search text does nothing, as in the window
      RecordOutput nothing(context.out, context.args.json);
      return 0;
    }
    CodeDatabaseIndex index(*project.database);
    const Outcome<void> done = catchFailure([&] {
      const int count = index.moduleCount();
      if (context.args.module && *context.args.module > count)
        throw Failed(std::string("Das Modul ").append(std::to_string(*context.args.module)).append(" gibt es nicht."));
      const int first = context.args.module.value_or(1);
      const int last = context.args.module.value_or(count);
      const MarkedTextOf markedTextOf = moduleFilesOf(project.folder);
      RecordOutput output(context.out, context.args.json);
      for (int module = first; module <= last; ++module) {
        const std::string text = plainTextOfMarked(markedTextOf(module));
        LineCounter lines(text);
        const std::string moduleKey = key('M', module);
        for (const std::size_t hit : search.allHits(text)) {
          const std::int64_t line = lines.lineOf(hit);
          const auto routine = index.routineAtLine(line, module);
          output.write({{"module", moduleKey},
                        {"line", line},
                        {"routine", routine ? FieldValue(std::string_view(routine->name)) : FieldValue(nullptr)}});
        }
      }
    });
    return done ? 0 : refuse(context, done.failure());
  });
}

namespace {

// The call tree to --depth levels (default 1, the call list). Each level is
// indented by the two fields of the one above; a routine already on the way
// down ends with "Zyklus" and is not followed.
int printCallTree(Context& context, CallDirection direction) {
  return withProjectAndText(context, [&](Project& project, const std::string& name) {
    CodeDatabaseIndex index(*project.database);
    const Outcome<CallTree> tree =
        callTree(index, moduleFilesOf(project.folder), name, context.args.module.value_or(1),
                 context.args.depth.value_or(1), direction, moduleFilesMayHold(project.folder));
    if (!tree) return refuse(context, tree.failure());
    // The window's texts speak of the routine under the cursor; here the name is the argument.
    if (tree->lookup == CallList::Lookup::kUnknownRoutine)
      return refuse(context, "Keine Routine \"" + name + "\" gefunden (gesucht von Modul " +
                                 std::to_string(context.args.module.value_or(1)) + " aus).");
    if (tree->lookup == CallList::Lookup::kProperty)
      return refuse(context, "\"" + name + "\" ist eine Property: die Aufrufsuche unterstützt keine Properties.");
    if (tree->lookup != CallList::Lookup::kSearched) return refuse(context, CallList{tree->lookup, {}}.message());
    if (context.args.json) {
      RecordOutput output(context.out, true);
      for (const CallTreeLine& line : tree->lines) {
        const CallListNode& node = line.node;
        output.write({{"level", std::int64_t{line.level}},
                      {"module", key('M', node.module)},
                      {"routine", node.isModule() ? FieldValue(nullptr) : FieldValue(std::string_view(node.key()))},
                      {"name", node.name},
                      {"cycle", std::int64_t{line.cycle}}});
      }
      return 0;
    }
    for (const CallTreeLine& line : tree->lines) {
      std::string text(2 * static_cast<std::size_t>(line.level - 1), '\t');
      const CallListNode& node = line.node;
      text.append(node.isModule() ? "" : "\t").append(node.key()).append("\t").append(node.name);
      if (line.cycle) text.append("\tZyklus");
      printLine(context.out, text);
    }
    return 0;
  });
}

}  // namespace

int listCallers(Context& context) { return printCallTree(context, CallDirection::kCallers); }

int listCallees(Context& context) { return printCallTree(context, CallDirection::kCallees); }

int showDefinition(Context& context) {
  return withProjectAndText(context, [&](Project& project, const std::string& name) {
    CodeDatabaseIndex index(*project.database);
    const auto target = findDefinition(index, name, context.args.module.value_or(1));
    if (!target) return refuse(context, target.failure());
    if (!target.value()) return refuse(context, "Keine Definition von \"" + name + "\" gefunden.");
    const DefinitionTarget& found = *target.value();
    printFields(context.out, {key('M', found.module), std::to_string(found.line)});
    return 0;
  });
}

int listUnused(Context& context) {
  Outcome<Project> project = openProject(context.args.positional[0]);
  if (!project) return refuse(context, project.failure());
  CodeDatabaseIndex index(*project->database);
  const auto unused = findUnusedRoutines(index, moduleFilesOf(project->folder));
  if (!unused) return refuse(context, unused.failure());
  RecordOutput output(context.out, context.args.json);
  for (const UnusedRoutine& entry : unused.value()) {
    const RoutineFacts& routine = entry.routine;
    const std::string moduleKey = key('M', routine.module);
    const std::string routineKey = key('R', routine.number);
    // Who calls a host-called routine comes last, on its rows only.
    const Field fields[] = {{"group", groupKey(entry.group)},       {"module", moduleKey},
                            {"routine", routineKey},                {"name", routine.name},
                            {"line", std::int64_t{routine.start}}, {"caller", entry.caller}};
    output.write(std::span<const Field>(fields).first(entry.caller.empty() ? 5 : 6));
  }
  return 0;
}

}  // namespace cq::cli
