#include "codedb/code_database.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#include "codedb/database_scan_sink.h"
#include "codedb/sqlite_statement.h"
#include "text/path_text.h"

namespace cq {

namespace fs = std::filesystem;

namespace {

// Copies the file by reading and writing, so that the failure is the system's
// own (a full disk says so); a copy that fails is removed rather than left
// truncated.
std::error_code copyWholeFile(const fs::path& from, const fs::path& to) {
  std::FILE* in = std::fopen(from.c_str(), "rb");
  if (!in) return std::error_code(errno, std::generic_category());
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> inHandle(in, std::fclose);
  std::FILE* out = std::fopen(to.c_str(), "wb");
  if (!out) return std::error_code(errno, std::generic_category());
  std::error_code error;
  char buffer[1 << 16];
  while (!error) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, in);
    if (got == 0) {
      if (std::ferror(in)) error = std::error_code(errno ? errno : EIO, std::generic_category());
      break;
    }
    if (std::fwrite(buffer, 1, got, out) != got) error = std::error_code(errno ? errno : EIO, std::generic_category());
  }
  errno = 0;
  if (std::fclose(out) != 0 && !error) error = std::error_code(errno ? errno : EIO, std::generic_category());
  if (error) {
    std::error_code ignored;
    fs::remove(to, ignored);
  }
  return error;
}

// Tables added in later versions are missing from earlier databases.
bool hasTable(const CodeDatabase& database, std::string_view name) {
  SqliteStatement table = database.statement("SELECT Count(*) FROM sqlite_master WHERE type='table' AND name=?");
  table.bind(1, name);
  return table.step() && table.integer(0) > 0;
}

}  // namespace

Outcome<void> createDatabaseFromTemplate(const fs::path& templateFile, const fs::path& folder) {
  std::error_code error;
  if (!fs::is_regular_file(templateFile, error)) {
    return Failure{"Die notwendige Datenbank\n" + pathToText(templateFile) +
                   "\nexistiert nicht !!!\nBitte kopieren Sie diese wieder an diese Stelle"};
  }
  const fs::path target = folder / kDatabaseFileName;
  error = copyWholeFile(templateFile, target);
  if (!error) {
    // An installed template is read-only; the copy is the working database.
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, error);
  }
  if (error) {
    // The cause first: it is what the user can act on.
    return Failure{"Die Datenbank\n" + pathToText(target) + "\nkann nicht angelegt werden.", systemErrorText(error), {},
                   true};
  }
  return {};
}

CodeDatabase::CodeDatabase(sqlite3* db) : db_(db) {}

CodeDatabase::~CodeDatabase() {
  sink_.reset();
  if (inTransaction_) sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close_v2(db_);
}

Outcome<std::unique_ptr<CodeDatabase>> CodeDatabase::open(const fs::path& folder) {
  const fs::path file = folder / kDatabaseFileName;
  sqlite3* db = nullptr;
  const int result = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  // Owned from here on, so that every failure below closes the handle.
  std::unique_ptr<CodeDatabase> database(new CodeDatabase(db));
  if (result != SQLITE_OK) {
    return Failure{"Die Datenbank\n" + pathToText(file) + "\nkann nicht geöffnet werden.",
                   sqliteCause(db, result)};
  }
  try {
    {
      SqliteStatement version(db, "PRAGMA user_version");
      const bool utf8 = version.step() && version.integer(0) >= 1;
      database->storedText_ = utf8 ? StoredText::kUtf8 : StoredText::kWindows1252;
    }  // the collation cannot change while a statement runs
    registerUnicodeNoCase(db, database->storedText_);
    SqliteStatement modules(db, "SELECT mod_num,mod_name,mod_typ,mod_zeilen FROM td_mod");
    SqliteStatement routines(db,
                             "SELECT rou_typ,rou_open,anz_dec_zeilen,rou_name,rou_num,mod_num,"
                             "rou_start,rou_ende FROM td_rout");
    database->sink_ = std::make_unique<DatabaseScanSink>(db);
  } catch (const Failed& failed) {
    return Failure{"Die Datei\n" + pathToText(file) + "\nist keine Code Quorix Datenbank.", failed.failure().cause};
  }
  return database;
}

void CodeDatabase::beginBulkWrite() {
  if (inTransaction_) return;
  executeSql(db_, "PRAGMA synchronous=OFF");
  executeSql(db_, "PRAGMA journal_mode=MEMORY");
  executeSql(db_, "BEGIN");
  inTransaction_ = true;
}

void CodeDatabase::endBulkWrite() {
  if (!inTransaction_) return;
  inTransaction_ = false;
  executeSql(db_, "COMMIT");
}

ScanSink& CodeDatabase::scanSink() { return *sink_; }

Outcome<int> CodeDatabase::codePage() {
  return catchFailure([&] {
    if (!hasTable(*this, "td_projekt")) return 1252;
    SqliteStatement query = statement("SELECT prj_codepage FROM td_projekt");
    return query.step() && query.integer(0) > 0 ? static_cast<int>(query.integer(0)) : 1252;
  });
}

void CodeDatabase::setCodePage(int codePage) {
  statement("DELETE FROM td_projekt").execute();
  statement("INSERT INTO td_projekt(prj_codepage) VALUES (?)").bind(1, codePage).execute();
}

Outcome<std::vector<DocumentCaller>> CodeDatabase::documentCallers() {
  return catchFailure([&] {
    std::vector<DocumentCaller> callers;
    if (!hasTable(*this, "td_aufruf")) return callers;
    SqliteStatement query = statement("SELECT auf_rout, auf_modul, auf_von FROM td_aufruf ORDER BY rowid");
    while (query.step()) callers.push_back({query.text(0), query.text(1), query.text(2)});
    return callers;
  });
}

void CodeDatabase::addDocumentCallers(const std::vector<DocumentCaller>& callers) {
  if (callers.empty()) return;
  // Made here rather than in the template, so that a read with an earlier
  // template records them too; earlier databases simply lack the table.
  executeSql(db_,
             "CREATE TABLE IF NOT EXISTS td_aufruf ("
             "auf_rout TEXT COLLATE NOCASE, auf_modul TEXT COLLATE NOCASE, auf_von TEXT)");
  SqliteStatement insert = statement("INSERT INTO td_aufruf(auf_rout, auf_modul, auf_von) VALUES (?, ?, ?)");
  for (const DocumentCaller& caller : callers) {
    insert.bind(1, caller.routine).bind(2, caller.module).bind(3, caller.caller).execute();
  }
}

Outcome<std::vector<ModuleListEntry>> CodeDatabase::moduleList() {
  return catchFailure([&] {
    SqliteStatement query = statement(
                          "SELECT mod_typ, mod_name, mod_num FROM td_mod"
                          " ORDER BY mod_typ, mod_name");
    std::vector<ModuleListEntry> modules;
    while (query.step()) {
      modules.push_back({static_cast<int>(query.integer(2)), query.text(1), moduleTypeOfCode(query.integer(0))});
    }
    return modules;
  });
}

Outcome<std::vector<RoutineListEntry>> CodeDatabase::routineList() {
  return catchFailure([&] {
    SqliteStatement query = statement(
                          "SELECT 'M'||mod_num AS mnum, 'R'||rou_num AS rnum, rou_name,"
                          " 'R'||rou_typ||'O'||rou_open AS iflag FROM td_rout"
                          " ORDER BY mod_num, rou_name");
    std::vector<RoutineListEntry> routines;
    while (query.step()) {
      routines.push_back({query.text(0), query.text(1), query.text(2), query.text(3)});
    }
    return routines;
  });
}

Outcome<std::optional<RoutineAtLine>> CodeDatabase::routineAtLine(std::int64_t line, int module) {
  return catchFailure([&]() -> std::optional<RoutineAtLine> {
    SqliteStatement query = statement(
                          "SELECT rou_typ, rou_open, rou_name, rou_num, rou_start, rou_ende"
                          " FROM td_rout"
                          " WHERE (((rou_start)<=?1) AND ((rou_ende)>=?1) AND ((mod_num)=?2))"
                          " ORDER BY rou_num");
    query.bind(1, line).bind(2, module);
    if (!query.step()) return std::nullopt;
    RoutineAtLine routine;
    routine.type = static_cast<int>(query.integer(0));
    routine.visibility = static_cast<int>(query.integer(1));
    routine.name = query.text(2);
    routine.number = query.integer(3);
    routine.start = query.integer(4);
    routine.end = query.integer(5);
    return routine;
  });
}

Outcome<std::optional<std::int64_t>> CodeDatabase::routineStart(std::int64_t routineNumber) {
  return catchFailure([&]() -> std::optional<std::int64_t> {
    SqliteStatement query = statement("SELECT rou_start, rou_num FROM td_rout WHERE rou_num = ?");
    query.bind(1, routineNumber);
    if (!query.step()) return std::nullopt;
    return query.optionalInteger(0);
  });
}

Outcome<std::optional<ModuleListEntry>> CodeDatabase::moduleByNumber(int module) {
  return catchFailure([&]() -> std::optional<ModuleListEntry> {
    SqliteStatement query = statement("SELECT mod_typ, mod_name, mod_num FROM td_mod WHERE mod_num = ?");
    query.bind(1, module);
    if (!query.step()) return std::nullopt;
    return ModuleListEntry{static_cast<int>(query.integer(2)), query.text(1), moduleTypeOfCode(query.integer(0))};
  });
}

Outcome<std::optional<std::pair<std::int64_t, std::int64_t>>> CodeDatabase::zoomRange(std::int64_t line,
                                                                                       int module) {
  const auto routine = routineAtLine(line, module);
  if (!routine) return routine.failure();
  if (routine.value()) return std::optional(std::pair{routine.value()->start, routine.value()->end});
  return catchFailure([&]() -> std::optional<std::pair<std::int64_t, std::int64_t>> {
    SqliteStatement query = statement("SELECT Min(rou_start)-1 AS Letzte FROM td_rout WHERE ((mod_num=?))");
    query.bind(1, module);
    if (!query.step()) return std::nullopt;
    const auto lastDeclarationLine = query.optionalInteger(0);
    if (!lastDeclarationLine) return std::nullopt;
    return std::pair<std::int64_t, std::int64_t>{1, *lastDeclarationLine};
  });
}

}  // namespace cq
