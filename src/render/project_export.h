#pragma once
// Whole-project exports: every module behind a banner naming it and its type,
// rendered as one HTML text of <pre> blocks or as one RTF document.
#include <string>
#include <string_view>
#include <vector>

#include "analysis/module_type.h"
#include "render/render_options.h"

namespace cq {

// One module as the project exports need it: its name, its type and the
// marked-up text of its module file.
struct ExportModule {
  std::string name;
  ModuleType type = ModuleType::kOther;
  std::string marked;
};

// The type line both exports write into the banner; empty for unknown types.
std::string_view moduleTypeLine(ModuleType type);

// The three-line banner as marked-up text: one comment run inside one bold line.
std::string moduleBanner(std::string_view moduleName, std::string_view typeLine);

// Each module converted on its own behind its banner; the fragments follow one another.
std::string projectToHtml(const std::vector<ExportModule>& modules, const RenderOptions& options);

// Each module behind its banner, all in one RTF document with one header.
std::string projectToRtf(const std::vector<ExportModule>& modules, const RenderOptions& options);

}  // namespace cq
