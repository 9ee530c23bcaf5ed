#include "sources/project_reader.h"

#include <cerrno>
#include <exception>
#include <system_error>
#include <fstream>
#include <memory>

#include "codedb/code_database.h"
#include "sources/module_file.h"
#include "sources/module_file_encoding.h"
#include "sources/source_file.h"
#include "text/text_decoding.h"
#include "text/path_text.h"
#include "render/markup.h"

namespace cq {

const char* const kReadFailedMessage =
    "Fehler beim Einlesen !\r\n"
    "Dies kann mehrere Ursachen haben:\r\n"
    "1. Die Mappe mit dem Modul ist nicht mehr geöffnet.\r\n"
    "2. Im Code sind Konstrukte, die die Codequorix nicht auslesen kann, z.B.  spezielle Doppelpunktonstrukte\r\n"
    "in der Art, \r\n"
    "Private Sub Test : End Sub\r\n"
    "(Also Deklaration Sub und  End Sub in einer Zeile)\r\n"
    "3. Syntaktisch nicht korrekter Code (Sollte dann auch im Editior rot sein)\r\n"
    "\r\n"
    "Siehe auch mögliche Fehler in der Hilfe";

const char* const kVbReadFailedMessage =
    "Das Projekt konnte nicht gelesen werden.\r\n"
    "Mögliche Ursachen:\r\n"
    "Ein Modul ist nicht im gleichen Verzeichnis wie die vbp gespeichert.\r\n"
    "Im Code befinden sich Syntaxerrors\r\n"
    "Es gibt Konstruktionen wie Sub Bla: End Sub \r\n"
    "Also die Routine in Doppelpunkt Konstrukten.\r\n"
    "Siehe auch OH";

namespace {

// A read stopped by what it could not store (a full disk, a module too large for
// its file) rather than by the code: the window says the cause first, and
// leaves out the list of code constructs that may fail a read.
class StorageFailed : public Failed {
 public:
  StorageFailed(std::string what, std::string cause)
      : Failed(Failure{std::move(what), std::move(cause), {}, true}) {}
};

// Counts the routine rows on their way to the database; the database's failures
// are failures to store.
class CountingSink final : public ScanSink {
 public:
  CountingSink(ScanSink& target, const std::filesystem::path& folder) : target_(target), folder_(folder) {}
  void insertRoutine(const RoutineRow& row) override {
    stored([&] { target_.insertRoutine(row); });
    ++routines;
  }
  void setRoutineStart(std::int64_t n, std::int64_t line) override {
    stored([&] { target_.setRoutineStart(n, line); });
  }
  void setRoutineEnd(std::int64_t n, std::int64_t line) override { stored([&] { target_.setRoutineEnd(n, line); }); }
  void endDeclarationsOfModule(int module) override { stored([&] { target_.endDeclarationsOfModule(module); }); }
  void insertModule(const ModuleRow& row) override { stored([&] { target_.insertModule(row); }); }
  std::int64_t routines = 0;

  template <typename Write>
  void stored(Write write) const {
    try {
      write();
    } catch (const Failed& failed) {
      throw StorageFailed("Die Datenbank " + pathToText(folder_ / kDatabaseFileName) +
                              " konnte nicht geschrieben werden.",
                          failed.failure().cause);
    }
  }

 private:
  ScanSink& target_;
  const std::filesystem::path& folder_;
};

// A module file that cannot be written completely is removed, not left cut off.
void writeModuleFile(const std::filesystem::path& file, std::string_view marked) {
  const std::string text = encodeModuleFileText(marked);
  errno = 0;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) {
    const std::string cause = lastSystemErrorText();
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    throw StorageFailed("Die Moduldatei " + pathToText(file) + " konnte nicht geschrieben werden.", cause);
  }
}

// Module files are read back (exports, lookups) only up to this size; a read
// must not write what it could not read again.
void checkModuleFileSize(std::size_t bytes, const std::string& moduleName) {
  if (bytes <= kMaxSourceFileBytes) return;
  throw StorageFailed("Das Modul " + moduleName + " ist zu groß: seine Moduldatei hätte mehr als " +
                          std::to_string(kMaxSourceFileBytes / (1024 * 1024)) + " MB.",
                      {});
}

// The project under construction: a fresh code database in the folder and one
// module file per module, numbered in the order the modules come.
class ProjectWriter {
 public:
  // Throws Failed when the database cannot be made or opened.
  ProjectWriter(const ProjectReadRequest& request, ProjectRead& result) : request_(request), result_(result) {
    if (const Outcome<void> made = createDatabaseFromTemplate(request.templateFile, request.folder); !made)
      throw Failed(made.failure());
    Outcome<std::unique_ptr<CodeDatabase>> opened = CodeDatabase::open(request.folder);
    if (!opened) throw Failed(opened.failure());
    database_ = std::move(opened).value();
    sink_ = std::make_unique<CountingSink>(database_->scanSink(), request_.folder);
    sink_->stored([&] { database_->beginBulkWrite(); });
  }

  void addModule(std::string_view code, ModuleType type, const std::string& name) {
    checkModuleFileSize(code.size(), name);
    ModuleScan scan;
    scan.moduleNumber = ++result_.modules;
    scan.moduleType = moduleTypeCode(type);
    scan.moduleName = name;
    scan.routineCounter = &routineCounter_;
    scan.sink = sink_.get();
    scan.warnings = &result_.warnings;
    scan.blankLineBeforeRoutines = request_.markup.blankLineBeforeRoutines;
    scan.indentRoutineBodies = request_.markup.reindent && request_.markup.indentRoutineBodies;
    const std::string marked = markUpModule(code, request_.markup, scan);
    checkModuleFileSize(marked.size(), name);
    writeModuleFile(moduleFilePath(request_.folder, scan.moduleNumber), marked);
    result_.routines = sink_->routines;
  }

  void setCodePage(int codePage) {
    result_.codePage = codePage;
    sink_->stored([&] { database_->setCodePage(codePage); });
  }

  void addDocumentCallers(const std::vector<DocumentCaller>& callers) {
    sink_->stored([&] { database_->addDocumentCallers(callers); });
  }

  void finish() {
    sink_->stored([&] { database_->endBulkWrite(); });
  }

 private:
  const ProjectReadRequest& request_;
  ProjectRead& result_;
  std::unique_ptr<CodeDatabase> database_;
  std::unique_ptr<CountingSink> sink_;
  std::int64_t routineCounter_ = 0;
};

// Runs a read: a database that cannot be made and a failure to store fail with
// their own message, cause first; any other failure with `failureMessage` and
// the cause. Complete rows and files written before stay.
template <typename ReadModules>
Outcome<ProjectRead> runRead(const ProjectReadRequest& request, const char* failureMessage, ReadModules readModules) {
  ProjectRead result;
  try {
    ProjectWriter writer(request, result);
    try {
      readModules(writer, result);
      writer.finish();
    } catch (const StorageFailed& failed) {
      return failed.failure();
    } catch (const Failed& failed) {
      return Failure{failureMessage, failed.failure().text()};
    } catch (const std::exception& error) {
      // Hostile input may still exhaust a limit of the library.
      return Failure{failureMessage, systemText(error.what())};
    }
  } catch (const Failed& failed) {
    return failed.failure();
  }
  return result;
}

bool isTickedModule(const HostTreeNode& node) {
  return node.checked && node.children.empty() && node.parent != kNoParent;
}

}  // namespace

std::filesystem::path moduleFilePath(const std::filesystem::path& folder, int moduleNumber) {
  std::string name = "M";
  name.append(std::to_string(moduleNumber)).append(".txt");
  return folder / name;
}

Outcome<ProjectRead> readTickedModules(HostApplication& host, HostTree& tree, const ProjectReadRequest& request) {
  if (!host.attach()) {
    ProjectRead result;
    result.attached = false;
    return result;
  }
  return runRead(request, kReadFailedMessage, [&](ProjectWriter& writer, ProjectRead& result) {
    const HostProject* project = nullptr;
    for (const HostTreeNode& node : tree.nodes) {
      if (!isTickedModule(node)) continue;
      if (!project) {
        project = &host.project(node.project);
        tree.tag = project->name();
        writer.setCodePage(project->codePage());
        writer.addDocumentCallers(project->documentCallers());
      }
      const HostComponent& component = project->component(node.component);
      const ModuleKind kind = moduleKindOf(component.type(), component.name());
      writer.addModule(component.lines(1, component.countOfLines()), kind.type, kind.displayName);
      result.replacedCharacters += component.replacedCharacters();
    }
  });
}

Outcome<ProjectRead> readTickedModuleFiles(const HostTree& tree, const std::filesystem::path& projectFolder,
                                           const ProjectReadRequest& request) {
  return runRead(request, kVbReadFailedMessage, [&](ProjectWriter& writer, ProjectRead& result) {
    // The files of one project share their code page, detected from all that
    // can be read; a file that cannot be read fails the read when its turn
    // comes, so the modules before it remain.
    struct TickedFile {
      const HostTreeNode* node;
      std::string bytes;
      std::exception_ptr unreadable;
    };
    std::vector<TickedFile> files;
    std::vector<std::string_view> contents;
    for (const HostTreeNode& node : tree.nodes) {
      if (!isTickedModule(node)) continue;
      std::string fileName = textAfterLast(textBeforeFirst(node.key, ":"), '\\');
      fileName.erase(0, fileName.find_first_not_of(' '));
      fileName.erase(fileName.find_last_not_of(' ') + 1);
      TickedFile& file = files.emplace_back(TickedFile{&node, {}, nullptr});
      try {
        file.bytes = readSourceFile(projectFolder / textToPath(fileName));
      } catch (const Failed&) {
        file.unreadable = std::current_exception();
      }
    }
    for (const TickedFile& file : files) contents.push_back(file.bytes);
    const int codePage = detectModuleFilesCodePage(contents);
    writer.setCodePage(codePage);
    for (const TickedFile& file : files) {
      if (file.unreadable) std::rethrow_exception(file.unreadable);
      const char typeDigit = file.node->key.empty() ? '0' : file.node->key.back();
      const ModuleType type =
          typeDigit >= '1' && typeDigit <= '9' ? moduleTypeOfCode(typeDigit - '0') : ModuleType::kOther;
      const DecodedText text = decodeDetectedModuleFile(file.bytes, codePage);
      writer.addModule(splitModuleFile(text.text).code, type, file.node->text);
      result.replacedCharacters += text.replaced;
    }
  });
}

}  // namespace cq
