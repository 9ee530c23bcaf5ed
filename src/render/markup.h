#pragma once
// Turns plain VBA code (Windows-1252) into marked-up text: keywords, string
// literals, comments and routine lines enclosed in marker strings.
#include <string>
#include <string_view>

#include "analysis/module_scanner.h"
#include "render/markup_options.h"

namespace cq {

// Module mode: marks up one module's code, runs the module scanner on it and
// returns the text of the module file (routine anchors resolved, ending in CR LF).
std::string markUpModule(std::string_view code, const MarkupOptions& options, ModuleScan& scan);

// Selection mode: marks up a piece of code for export; no line breaks are added.
std::string markUpSelection(std::string_view code, const MarkupOptions& options);

// Makes routine header and end lines of one kind bold, for display only.
void markRoutineLines(std::string& text, RoutineKind kind, const MarkupOptions& options);

}  // namespace cq
