#pragma once
// The code database: one SQLite file per project folder ("CodeQuorix.mdb"), made
// from the empty template "mask_CodeQuorix.mdb" for every read. Names are stored
// as UTF-8; the databases of earlier versions, with Windows-1252 bytes, open as
// well. Failures come as Failure: a German message naming the file and the cause.
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/document_callers.h"
#include "analysis/scan_sink.h"
#include "analysis/module_type.h"
#include "codedb/sqlite_statement.h"
#include "text/failure.h"

namespace cq {

inline constexpr const char* kDatabaseFileName = "CodeQuorix.mdb";
inline constexpr const char* kTemplateFileName = "mask_CodeQuorix.mdb";

// Copies the template over folder/CodeQuorix.mdb; fails for a missing template
// or a failed copy.
Outcome<void> createDatabaseFromTemplate(const std::filesystem::path& templateFile,
                                         const std::filesystem::path& folder);

struct ModuleListEntry {
  int number = 0;
  std::string name;
  ModuleType type = ModuleType::kOther;
};

struct RoutineListEntry {
  std::string moduleKey;   // "M" + mod_num
  std::string routineKey;  // "R" + rou_num
  std::string name;
  std::string imageKey;    // "R" + rou_typ + "O" + rou_open
};

struct RoutineAtLine {
  std::string name;
  std::int64_t number = 0;
  int type = 0;
  int visibility = 0;
  std::int64_t start = 0;
  std::int64_t end = 0;
};

// The open connection. Closing is the destructor (never reports anything).
class CodeDatabase {
 public:
  // Opens folder/CodeQuorix.mdb for reading and writing; fails also for a file
  // that is no code database.
  static Outcome<std::unique_ptr<CodeDatabase>> open(const std::filesystem::path& folder);
  ~CodeDatabase();
  CodeDatabase(const CodeDatabase&) = delete;
  CodeDatabase& operator=(const CodeDatabase&) = delete;

  // Scratch mode for a read: no disk syncs, journal in memory, one transaction
  // until endBulkWrite() (also called by the destructor), so rows written before
  // a failure remain. Both throw Failed, as the scan sink does: they run inside
  // a read, which reports the failure.
  void beginBulkWrite();
  void endBulkWrite();

  // The scanner's statements on this connection.
  ScanSink& scanSink();

  // Queries of the browsing side.
  Outcome<std::vector<ModuleListEntry>> moduleList();    // by type, then name
  Outcome<std::vector<RoutineListEntry>> routineList();  // by module, then name
  // The routine whose line range holds the line (the lowest routine number when
  // ranges overlap); a routine without an end line is never found.
  Outcome<std::optional<RoutineAtLine>> routineAtLine(std::int64_t line, int module);
  // The first line of a routine, nullopt when the number is unknown or the
  // start was never recorded.
  Outcome<std::optional<std::int64_t>> routineStart(std::int64_t routineNumber);
  Outcome<std::optional<ModuleListEntry>> moduleByNumber(int module);
  // Line range of the routine at a line, else 1 to the line before the module's
  // first routine (the declarations); nullopt for a module without routines.
  Outcome<std::optional<std::pair<std::int64_t, std::int64_t>>> zoomRange(std::int64_t line, int module);

  // The project's code page: 1252 for the databases of earlier versions.
  Outcome<int> codePage();
  // Records it; inside a read (throws Failed, as the scan sink does).
  void setCodePage(int codePage);

  // The routines the document calls from outside the code; none for the
  // databases of earlier versions.
  Outcome<std::vector<DocumentCaller>> documentCallers();
  // Records them; inside a read (throws Failed, as the scan sink does).
  void addDocumentCallers(const std::vector<DocumentCaller>& callers);

  // A statement on this connection that reads and binds text as UTF-8.
  SqliteStatement statement(std::string_view sql) const { return SqliteStatement(db_, sql, storedText_); }
  sqlite3* handle() const { return db_; }

 private:
  explicit CodeDatabase(sqlite3* db);
  sqlite3* db_ = nullptr;
  StoredText storedText_ = StoredText::kUtf8;
  bool inTransaction_ = false;
  std::unique_ptr<ScanSink> sink_;
};

}  // namespace cq
