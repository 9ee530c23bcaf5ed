#pragma once
// Empty modules: what a new module holds ("Option Explicit") and nothing more.
// They are left out of the tree and the project folders, and so out of every
// comparison with a project folder.
#include <string_view>

namespace cq {

// Whether the code holds anything but Option lines, attribute lines and blank
// lines: a module of a single constant or declaration does.
bool holdsCode(std::string_view code);

}  // namespace cq
