#pragma once
// The commands of codequorix-cli for version control: textconv writes a
// document's code as text for `git diff`, diff compares two sources module by
// module and routine by routine.
#include "cli/cli_commands.h"

namespace cq::cli {

// 0 done, 1 the document cannot be read (the reason on stderr, which git shows).
int textconvDocument(Context& context);

// As diff does: 0 equal, 1 different, 2 a source cannot be read.
int diffSources(Context& context);

}  // namespace cq::cli
