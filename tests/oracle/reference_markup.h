#pragma once
// A deliberately plain transcription of the code mark-up and the module scanner:
// whole-text replacements one after another, line splits and substring
// searches, no shortcuts. Tests compare the fast mark-up against it.
#include <string>
#include <string_view>

#include "analysis/module_scanner.h"
#include "render/markup_options.h"

namespace cq::oracle {

// Same contract as cq::markUpModule: the module file's text, scan results to scan.sink.
std::string markUpModule(std::string_view code, const MarkupOptions& options, ModuleScan& scan);

// Same contract as cq::markUpSelection.
std::string markUpSelection(std::string_view code, const MarkupOptions& options);

// Same contract as cq::markLineScan.
std::string markLineScan(std::string_view line);

// Same contract as cq::markRoutineLines.
void markRoutineLines(std::string& text, RoutineKind kind, const MarkupOptions& options);

// The scanner's two passes on their own (same contracts as cq::runRoutinePass / cq::runLinePass).
void runRoutinePass(std::string& text, RoutineKind kind, ModuleScan& scan);
void runLinePass(std::string& text, ModuleScan& scan);

}  // namespace cq::oracle
