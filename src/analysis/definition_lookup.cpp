#include "analysis/definition_lookup.h"

namespace cq {

Outcome<std::optional<DefinitionTarget>> findDefinition(CodeIndex& index, std::string_view name, int currentModule) {
  return catchFailure([&]() -> std::optional<DefinitionTarget> {
    if (name.empty()) return std::nullopt;
    if (const auto local = index.routineNamed(name, currentModule))
      return DefinitionTarget{currentModule, local->start, {}};
    const auto elsewhere = index.nonPrivateRoutineNamed(name);
    if (!elsewhere) return std::nullopt;
    // The current module has no routine of that name, so this is another one.
    const auto module = index.module(elsewhere->module);
    return DefinitionTarget{elsewhere->module, elsewhere->start, module ? module->name : std::string()};
  });
}

}  // namespace cq
