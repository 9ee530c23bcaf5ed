#include "projects/project_reader.h"

#include <fstream>

#include "codedb/code_database.h"
#include "projects/path_helpers.h"
#include "render/markup.h"

namespace cq {

const char* const kReadFailedMessage =
    "Fehler beim Einlesen !\r\n"
    "Dies kann mehrere Ursachen haben:\r\n"
    "1. Die Mappe mit dem Modul ist nicht mehr ge\xF6" "ffnet.\r\n"
    "2. Im Code sind Konstrukte, die die Codequorix nicht auslesen kann, z.B.  spezielle Doppelpunktonstrukte\r\n"
    "in der Art, \r\n"
    "Private Sub Test : End Sub\r\n"
    "(Also Deklaration Sub und  End Sub in einer Zeile)\r\n"
    "3. Syntaktisch nicht korrekter Code (Sollte dann auch im Editior rot sein)\r\n"
    "\r\n"
    "Siehe auch m\xF6" "gliche Fehler in der Hilfe";

namespace {

// Counts the routine rows on their way to the database.
class CountingSink final : public ScanSink {
 public:
  explicit CountingSink(ScanSink& target) : target_(target) {}
  void insertRoutine(const RoutineRow& row) override {
    target_.insertRoutine(row);
    ++routines;
  }
  void setRoutineStart(std::int64_t n, std::int64_t line) override { target_.setRoutineStart(n, line); }
  void setRoutineEnd(std::int64_t n, std::int64_t line) override { target_.setRoutineEnd(n, line); }
  void endDeclarationsOfModule(int module) override { target_.endDeclarationsOfModule(module); }
  void insertModule(const ModuleRow& row) override { target_.insertModule(row); }
  std::int64_t routines = 0;

 private:
  ScanSink& target_;
};

void writeModuleFile(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) throw std::runtime_error("Die Moduldatei " + pathToText(file) + " konnte nicht geschrieben werden.");
}

// The project index of a key "A<index>\...".
long projectIndexOfKey(const std::string& key) {
  const std::string digits = textBeforeFirst(key.substr(1), "\\");
  long index = 0;
  for (char c : digits) {
    if (c < '0' || c > '9' || index > 1000000) throw HostError("Ung\xFCltiger Schl\xFCssel im Baum: " + key);
    index = index * 10 + (c - '0');
  }
  return index;
}

}  // namespace

std::filesystem::path moduleFilePath(const std::filesystem::path& folder, int moduleNumber) {
  std::string name = "M";
  name.append(std::to_string(moduleNumber)).append(".txt");
  return folder / name;
}

ProjectRead readTickedModules(HostApplication& host, HostTree& tree, const ProjectReadRequest& request) {
  ProjectRead result;
  if (!host.attach()) {
    result.attached = false;
    return result;
  }
  std::int64_t routineCounter = 0;
  try {
    createDatabaseFromTemplate(request.templateFile, request.folder);
  } catch (const std::exception& e) {
    result.message = e.what();
    return result;
  }
  try {
    auto database = CodeDatabase::open(request.folder);
    database->beginBulkWrite();
    CountingSink sink(database->scanSink());
    const HostProject* project = nullptr;
    const std::size_t nodeCount = tree.nodes.size();
    for (std::size_t i = 0; i < nodeCount; ++i) {
      const HostTreeNode& node = tree.nodes[i];
      if (!node.checked || !node.children.empty() || node.parent == kNoParent) continue;
      if (!project) {
        project = &host.project(projectIndexOfKey(node.key));
        tree.tag = project->name();
      }
      const HostComponent& component = project->component(textAfterLast(node.key, '\\'));
      const ModuleKind kind = moduleKindOf(component.type(), component.name());
      const long lineCount = component.countOfLines();
      ModuleScan scan;
      scan.moduleNumber = ++result.modules;
      scan.moduleType = kind.typeCode;
      scan.moduleName = kind.displayName;
      scan.routineCounter = &routineCounter;
      scan.sink = &sink;
      scan.warnings = &result.warnings;
      scan.blankLineBeforeRoutines = request.markup.blankLineBeforeRoutines;
      scan.indentRoutineBodies = request.markup.reindent && request.markup.indentRoutineBodies;
      const std::string marked = markUpModule(component.lines(1, lineCount), request.markup, scan);
      writeModuleFile(moduleFilePath(request.folder, scan.moduleNumber), marked);
      result.replacedCharacters += component.replacedCharacters();
    }
    result.routines = sink.routines;
    database->endBulkWrite();
    result.ok = true;
  } catch (const std::exception& e) {
    result.message = kReadFailedMessage;
    result.cause = e.what();
  }
  return result;
}

}  // namespace cq
