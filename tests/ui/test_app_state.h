#pragma once
// The program state of a window test: the built-in edition, the template of the
// build, and program, temporary and project folders made under `root`.
#include <filesystem>

#include "app/app_state.h"
#include "app/edition.h"

namespace cq::test {

inline AppState testAppState(const std::filesystem::path& root,
                             const std::filesystem::path& temporaryFolder = "TempDateien/") {
  AppState state;
  state.edition = builtInEdition();
  state.programTitle = programTitle(state.edition);
  state.programFolder = root / "program/";
  state.templateFile = CQ_TEMPLATE_PATH;
  state.temporaryFolder = root / temporaryFolder;
  state.defaultProjectFolder = root / "Projekte/";
  for (const std::filesystem::path& folder : {state.programFolder, state.temporaryFolder, state.defaultProjectFolder})
    std::filesystem::create_directories(folder);
  return state;
}

}  // namespace cq::test
