#pragma once
// The scanner's statements on an open code database, prepared once per
// connection and reused for every routine, anchor and module.
#include <sqlite3.h>

#include "analysis/scan_sink.h"
#include "codedb/sqlite_statement.h"

namespace cq {

class DatabaseScanSink final : public ScanSink {
 public:
  explicit DatabaseScanSink(sqlite3* db);

  void insertRoutine(const RoutineRow& row) override;
  void setRoutineStart(std::int64_t routineNumber, std::int64_t line) override;
  void setRoutineEnd(std::int64_t routineNumber, std::int64_t line) override;
  void endDeclarationsOfModule(int module) override;
  void insertModule(const ModuleRow& row) override;

 private:
  SqliteStatement insertRoutine_;
  SqliteStatement setRoutineStart_;
  SqliteStatement setRoutineEnd_;
  SqliteStatement endDeclarations_;
  SqliteStatement insertModule_;
};

}  // namespace cq
