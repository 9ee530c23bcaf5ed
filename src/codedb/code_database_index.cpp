#include "codedb/code_database_index.h"

#include "codedb/sqlite_statement.h"
#include "text/failure.h"

namespace cq {

namespace {

// The columns every routine query below selects, in this order.
constexpr std::string_view kRoutineColumns =
    "SELECT td_rout.mod_num, td_rout.rou_num, td_rout.rou_name, td_rout.rou_typ, td_rout.rou_open,"
    " td_rout.rou_start FROM td_rout";

RoutineFacts routineOfRow(const SqliteStatement& row) {
  return {static_cast<int>(row.integer(0)), row.integer(1), row.text(2), static_cast<int>(row.integer(3)),
          static_cast<int>(row.integer(4)), row.integer(5)};
}

std::optional<RoutineFacts> firstRoutine(SqliteStatement& query) {
  if (!query.step()) return std::nullopt;
  return routineOfRow(query);
}

// Runs `work`, turning an engine failure into the engine's failure type.
template <typename Work>
auto reading(Work&& work) -> decltype(work()) {
  try {
    return work();
  } catch (const Failed& failed) {
    throw Failed("Die Code-Datenbank kann nicht gelesen werden.", failed.failure().text());
  }
}

}  // namespace

int CodeDatabaseIndex::moduleCount() {
  return reading([&] {
    SqliteStatement query = database_.statement("SELECT Count(*) FROM td_mod");
    return query.step() ? static_cast<int>(query.integer(0)) : 0;
  });
}

std::vector<ModuleFacts> CodeDatabaseIndex::modules() {
  return reading([&] {
    SqliteStatement query = database_.statement("SELECT mod_num, mod_name, mod_typ FROM td_mod ORDER BY mod_num");
    std::vector<ModuleFacts> modules;
    while (query.step())
      modules.push_back({static_cast<int>(query.integer(0)), query.text(1), static_cast<int>(query.integer(2))});
    return modules;
  });
}

std::optional<ModuleFacts> CodeDatabaseIndex::module(int number) {
  return reading([&]() -> std::optional<ModuleFacts> {
    const Outcome<std::optional<ModuleListEntry>> module = database_.moduleByNumber(number);
    if (!module) throw Failed(module.failure());
    if (!module.value()) return std::nullopt;
    return ModuleFacts{module.value()->number, module.value()->name, moduleTypeCode(module.value()->type)};
  });
}

std::optional<RoutineFacts> CodeDatabaseIndex::routineAtLine(std::int64_t line, int module) {
  return reading([&]() -> std::optional<RoutineFacts> {
    const Outcome<std::optional<RoutineAtLine>> found = database_.routineAtLine(line, module);
    if (!found) throw Failed(found.failure());
    const std::optional<RoutineAtLine>& routine = found.value();
    if (!routine) return std::nullopt;
    return RoutineFacts{module, routine->number, routine->name, routine->type, routine->visibility, routine->start};
  });
}

std::optional<RoutineFacts> CodeDatabaseIndex::routineNamed(std::string_view name, int module) {
  return reading([&] {
    SqliteStatement query = database_.statement(
                          std::string(kRoutineColumns) +
                              " WHERE td_rout.rou_name = ?1 AND td_rout.mod_num = ?2 ORDER BY td_rout.rou_num");
    query.bind(1, name).bind(2, module);
    return firstRoutine(query);
  });
}

std::optional<RoutineFacts> CodeDatabaseIndex::nonPrivateRoutineNamed(std::string_view name) {
  return reading([&] {
    SqliteStatement query = database_.statement( std::string(kRoutineColumns) +
                                                  " INNER JOIN td_mod ON td_rout.mod_num = td_mod.mod_num"
                                                  " WHERE td_rout.rou_name = ?1 AND td_rout.rou_open <> 2"
                                                  " ORDER BY td_rout.mod_num, td_rout.rou_num");
    query.bind(1, name);
    return firstRoutine(query);
  });
}

std::vector<RoutineFacts> CodeDatabaseIndex::uncalledCandidates() {
  return reading([&] {
    // Subs, Functions and their Declare forms; a public one only when no other
    // public one has its name (the column compares names ignoring case).
    SqliteStatement query = database_.statement(
                          std::string(kRoutineColumns) +
                              " WHERE (td_rout.rou_typ < 3 OR td_rout.rou_typ > 10) AND (td_rout.rou_open > 1 OR"
                              " (td_rout.rou_open = 1 AND td_rout.rou_name IN (SELECT rou_name FROM td_rout"
                              " WHERE (rou_typ < 3 OR rou_typ > 10) AND rou_open = 1"
                              " GROUP BY rou_name HAVING Count(rou_name) < 2)))"
                              " ORDER BY td_rout.mod_num, td_rout.rou_num");
    std::vector<RoutineFacts> candidates;
    while (query.step()) candidates.push_back(routineOfRow(query));
    return candidates;
  });
}

std::vector<DocumentCaller> CodeDatabaseIndex::documentCallers() {
  return reading([&] {
    Outcome<std::vector<DocumentCaller>> callers = database_.documentCallers();
    if (!callers) throw Failed(callers.failure());
    return std::move(callers).value();
  });
}

}  // namespace cq
