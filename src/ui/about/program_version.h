#pragma once
// The program's version as the build names it: major.minor.revision.

namespace cq {

inline constexpr const char* kProgramVersion = CQ_PROGRAM_VERSION;

}  // namespace cq
