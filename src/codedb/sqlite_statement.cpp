#include "codedb/sqlite_statement.h"

#include "codedb/database_error.h"

namespace cq {

namespace {

[[noreturn]] void throwEngineError(sqlite3* db) {
  throw DatabaseError(std::string("Datenbankfehler: ") + sqlite3_errmsg(db));
}

}  // namespace

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
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
  // The bytes are stored as they are: names are Windows-1252 text of the engine.
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
  return std::string(reinterpret_cast<const char*>(bytes),
                     static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

void executeSql(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) throwEngineError(db);
}

}  // namespace cq
