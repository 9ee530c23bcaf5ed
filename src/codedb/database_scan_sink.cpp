#include "codedb/database_scan_sink.h"

namespace cq {

DatabaseScanSink::DatabaseScanSink(sqlite3* db)
    : insertRoutine_(db,
                     "INSERT INTO td_rout(rou_typ,rou_open,anz_dec_zeilen,rou_name,rou_num,mod_num)"
                     " SELECT ?,?,?,?,?,?"),
      setRoutineStart_(db, "UPDATE td_rout SET rou_start = ? WHERE ((rou_num=?))"),
      setRoutineEnd_(db, "UPDATE td_rout SET rou_ende = ? WHERE ((rou_num=?))"),
      endDeclarations_(db,
                       "UPDATE td_rout SET rou_ende = rou_start+(anz_dec_zeilen-1)"
                       " WHERE ((rou_typ>10) AND (mod_num=?))"),
      insertModule_(db,
                    "INSERT INTO td_mod(mod_num,mod_name,mod_typ,mod_zeilen) SELECT ?,?,?,?") {}

void DatabaseScanSink::insertRoutine(const RoutineRow& row) {
  insertRoutine_.bind(1, row.type)
      .bind(2, row.visibility)
      .bind(3, row.declarationLines)
      .bind(4, row.name)
      .bind(5, row.number)
      .bind(6, row.module)
      .execute();
}

void DatabaseScanSink::setRoutineStart(std::int64_t routineNumber, std::int64_t line) {
  setRoutineStart_.bind(1, line).bind(2, routineNumber).execute();
}

void DatabaseScanSink::setRoutineEnd(std::int64_t routineNumber, std::int64_t line) {
  setRoutineEnd_.bind(1, line).bind(2, routineNumber).execute();
}

void DatabaseScanSink::endDeclarationsOfModule(int module) {
  endDeclarations_.bind(1, module).execute();
}

void DatabaseScanSink::insertModule(const ModuleRow& row) {
  insertModule_.bind(1, row.number)
      .bind(2, row.name)
      .bind(3, row.type)
      .bind(4, row.lineBreaks)
      .execute();
}

}  // namespace cq
