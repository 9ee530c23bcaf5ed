#pragma once
// The commands of codequorix-cli that find things in a read project: search,
// callers, callees, definition and unused. Each returns the exit code: 0 done, 1 failed
// (the message on stderr).
#include "cli/cli_commands.h"

namespace cq::cli {

int searchProject(Context& context);
int listCallers(Context& context);
int listCallees(Context& context);
int showDefinition(Context& context);
int listUnused(Context& context);

}  // namespace cq::cli
