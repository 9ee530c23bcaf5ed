#pragma once
// Writing a file the user keeps (an RTF document, the preview page) so that a
// failure never leaves it half written: the bytes go to a temporary file beside
// the target, which then replaces the target in one step.
#include <filesystem>
#include <string_view>

#include "text/failure.h"

namespace cq {

// Writes `bytes` to `target`, replacing a file of that name with its
// permissions kept; a symbolic link is written through, to the file it points
// to. On failure the target is as it was, no temporary file stays, and the
// Failure names the file and the system's reason.
Outcome<void> writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// Writes `bytes` into a file that must not exist yet (one of a staging folder,
// which takes its place only when complete); a failure names the file by
// `namedAs`, the place it is meant for.
Outcome<void> writeNewFile(const std::filesystem::path& file, std::string_view bytes,
                           const std::filesystem::path& namedAs);

// Gives `replacement` the permission bits of `existing` when that exists, so
// that replacing a file keeps who may read and write it. A file that cannot be
// changed keeps the permissions it was created with.
void takePermissionsOf(const std::filesystem::path& existing, const std::filesystem::path& replacement);

}  // namespace cq
