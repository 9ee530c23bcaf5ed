#pragma once
// Writing a file the user keeps (an RTF document, the preview page) so that a
// failure never leaves it half written: the bytes go to a temporary file beside
// the target, which then replaces the target in one step.
#include <filesystem>
#include <string_view>

#include "text/failure.h"

namespace cq {

// Writes `bytes` to `target`, replacing a file of that name. On failure the
// target is as it was, no temporary file stays, and the Failure names the file
// and the system's reason.
Outcome<void> writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace cq
