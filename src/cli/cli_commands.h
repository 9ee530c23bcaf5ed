#pragma once
// The commands of codequorix-cli. Each returns the exit code: 0 done, 1 failed.
#include <iosfwd>

#include "app/display_settings.h"
#include "cli/cli_arguments.h"

namespace cq::cli {

struct Context {
  Arguments args;
  DisplaySettings settings;
  std::ostream& out;
  std::ostream& err;
};

int listSources(Context& context);
int readSources(Context& context);
int exportHtml(Context& context);
int exportRtf(Context& context);
int exportText(Context& context);
int markUpInput(Context& context, std::istream& in);

}  // namespace cq::cli
