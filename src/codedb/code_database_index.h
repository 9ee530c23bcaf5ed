#pragma once
// The lookups' view of the code database: modules and routines as the call
// list, go to definition and the report of routines nobody calls read them.
// Where several rows match, the lowest module number, then the lowest routine
// number decides. Engine failures are thrown as Failed.
#include "analysis/code_index.h"
#include "codedb/code_database.h"

namespace cq {

class CodeDatabaseIndex final : public CodeIndex {
 public:
  explicit CodeDatabaseIndex(CodeDatabase& database) : database_(database) {}

  int moduleCount() override;
  std::vector<ModuleFacts> modules() override;
  std::optional<ModuleFacts> module(int number) override;
  std::optional<RoutineFacts> routineAtLine(std::int64_t line, int module) override;
  std::optional<RoutineFacts> routineNamed(std::string_view name, int module) override;
  std::optional<RoutineFacts> nonPrivateRoutineNamed(std::string_view name) override;
  std::vector<RoutineFacts> uncalledCandidates() override;
  std::vector<DocumentCaller> documentCallers() override;

 private:
  CodeDatabase& database_;
};

}  // namespace cq
