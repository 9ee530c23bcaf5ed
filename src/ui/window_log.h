#pragma once
// The window's log, category "codequorix": failures that the window meets but
// does not show (a query behind the status bar, the clean-up at the end) are
// written there instead of being lost.
#include "text/failure.h"

namespace cq {

// Logs what failed while the window was doing `step`.
void logFailure(const char* step, const Failure& failure);

}  // namespace cq
