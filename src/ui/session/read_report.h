#pragma once
// The messages that follow a read of the host's modules (engine text).
#include <cstddef>
#include <string>
#include <vector>

#include "analysis/module_scanner.h"

namespace cq {

// A list longer than this ends with "…" instead of the rest.
inline constexpr std::size_t kMostListedWarnings = 20;

// The routine header lines that were left as plain code, one line each with
// module, line number and code; empty when there are none.
std::string readWarningsText(const std::vector<ScanWarning>& warnings);

}  // namespace cq
