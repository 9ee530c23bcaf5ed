#pragma once
// One prepared SQLite statement, finalized with its owner. Values are always
// bound, never spliced into the text. Engine failures throw Failed.
#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cq {

// How a database holds its text: UTF-8, or the Windows-1252 bytes that the
// earlier versions of the program stored.
enum class StoredText { kUtf8, kWindows1252 };

class SqliteStatement {
 public:
  // Text is bound and read as UTF-8 in every case; a Windows-1252 database's
  // bytes are converted on the way.
  SqliteStatement(sqlite3* db, std::string_view sql, StoredText stored = StoredText::kUtf8);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // Parameters are numbered from 1, as in SQLite. A text that a Windows-1252
  // database cannot hold is bound as NULL, which equals no stored value.
  SqliteStatement& bind(int index, std::int64_t value);
  SqliteStatement& bind(int index, std::string_view text);

  // Advances to the next row; false when there is none.
  bool step();
  // Runs a statement that returns no rows and makes it ready for the next use.
  void execute();
  // Makes the statement ready for new values.
  void reset();

  // Columns are numbered from 0. An empty (NULL) value reads as 0 or "".
  std::int64_t integer(int column) const;
  std::optional<std::int64_t> optionalInteger(int column) const;
  std::string text(int column) const;

 private:
  [[noreturn]] void fail() const;

  sqlite3* db_;
  StoredText stored_;
  sqlite3_stmt* statement_ = nullptr;
};

// Runs statements without values and without rows (transactions, pragmas).
void executeSql(sqlite3* db, const char* sql);

// Why SQLite failed with `result` (a primary or extended result code), as German
// text: a full disk, a read-only file, a file that cannot be opened
// and input/output errors in our own words (the system's error where SQLite
// knows it), anything else in SQLite's.
std::string sqliteCause(sqlite3* db, int result);

// Replaces SQLite's NOCASE, which folds A-Z only, on this connection: names
// compare with the case of every script folded, as VBA compares them. The
// bytes of a Windows-1252 database are read as that code page.
void registerUnicodeNoCase(sqlite3* db, StoredText stored);

}  // namespace cq
