#include "codedb/sqlite_statement.h"

#include <system_error>

#include "text/failure.h"
#include "text/path_text.h"
#include "text/text_decoding.h"
#include "text/unicode_case.h"

namespace cq {

namespace {

[[noreturn]] void throwEngineError(sqlite3* db) {
  throw Failed("Datenbankfehler", sqliteCause(db, sqlite3_extended_errcode(db)));
}

// The cause in our words when the system's error is unknown.
const char* ownCause(int primaryResult) {
  switch (primaryResult) {
    case SQLITE_FULL:
      return "Kein Speicherplatz mehr auf dem Datenträger";
    case SQLITE_READONLY:
      return "Die Datenbank ist schreibgeschützt";
    case SQLITE_CANTOPEN:
      return "Die Datenbankdatei kann nicht geöffnet werden";
    case SQLITE_IOERR:
      return "Ein- oder Ausgabefehler beim Zugriff auf die Datenbank";
    default:
      return nullptr;
  }
}

}  // namespace

std::string sqliteCause(sqlite3* db, int result) {
  if (const char* own = ownCause(result & 0xFF)) {
    const int systemError = db ? sqlite3_system_errno(db) : 0;
    return systemError != 0 ? systemErrorText(std::error_code(systemError, std::generic_category())) : own;
  }
  // SQLite's own messages are English UTF-8.
  return systemText(db ? sqlite3_errmsg(db) : sqlite3_errstr(result));
}

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql, StoredText stored) : db_(db), stored_(stored) {
  if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr) !=
      SQLITE_OK) {
    throwEngineError(db_);
  }
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

void SqliteStatement::fail() const { throwEngineError(db_); }

SqliteStatement& SqliteStatement::bind(int index, std::int64_t value) {
  if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) fail();
  return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::string_view text) {
  std::optional<std::string> western;
  if (stored_ == StoredText::kWindows1252) {
    western = utf8ToWindows1252(text);
    if (!western) {
      if (sqlite3_bind_null(statement_, index) != SQLITE_OK) fail();
      return *this;
    }
    text = *western;
  }
  if (sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                        SQLITE_TRANSIENT) != SQLITE_OK) {
    fail();
  }
  return *this;
}

bool SqliteStatement::step() {
  const int result = sqlite3_step(statement_);
  if (result == SQLITE_ROW) return true;
  if (result == SQLITE_DONE) return false;
  fail();
}

void SqliteStatement::execute() {
  try {
    while (step()) {
    }
  } catch (...) {
    reset();
    throw;
  }
  reset();
}

void SqliteStatement::reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

std::int64_t SqliteStatement::integer(int column) const {
  return sqlite3_column_int64(statement_, column);
}

std::optional<std::int64_t> SqliteStatement::optionalInteger(int column) const {
  if (sqlite3_column_type(statement_, column) == SQLITE_NULL) return std::nullopt;
  return integer(column);
}

std::string SqliteStatement::text(int column) const {
  const auto* bytes = sqlite3_column_text(statement_, column);
  if (bytes == nullptr) return {};
  const std::string_view stored(reinterpret_cast<const char*>(bytes),
                                static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
  return stored_ == StoredText::kWindows1252 ? windows1252ToUtf8(stored) : std::string(stored);
}

void registerUnicodeNoCase(sqlite3* db, StoredText stored) {
  static constexpr StoredText kWestern = StoredText::kWindows1252;
  const auto compare = [](void* western, int lengthA, const void* a, int lengthB, const void* b) {
    std::string_view textA(static_cast<const char*>(a), static_cast<std::size_t>(lengthA));
    std::string_view textB(static_cast<const char*>(b), static_cast<std::size_t>(lengthB));
    if (western == nullptr) return compareIgnoringCase(textA, textB);
    return compareIgnoringCase(windows1252ToUtf8(textA), windows1252ToUtf8(textB));
  };
  void* const western = stored == StoredText::kWindows1252 ? const_cast<StoredText*>(&kWestern) : nullptr;
  if (sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, western, compare, nullptr) != SQLITE_OK)
    throwEngineError(db);
}

void executeSql(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) throwEngineError(db);
}

}  // namespace cq
