#pragma once
// The commands of codequorix-cli. Each returns the exit code: 0 done, 1 failed.
#include <filesystem>
#include <iosfwd>
#include <memory>

#include "app/display_settings.h"
#include "cli/cli_arguments.h"
#include "codedb/code_database.h"
#include "text/failure.h"

namespace cq::cli {

struct Context {
  Arguments args;
  DisplaySettings settings;
  std::ostream& out;
  std::ostream& err;
};

// The code database of a project folder; "Kein Gültiges Projekt: <folder>" when the
// folder holds none.
Outcome<std::unique_ptr<CodeDatabase>> openProjectDatabase(const std::filesystem::path& folder);

int listSources(Context& context);
int readSources(Context& context);
int exportModules(Context& context);
int exportHtml(Context& context);
int exportRtf(Context& context);
int exportText(Context& context);
int markUpInput(Context& context, std::istream& in);

}  // namespace cq::cli
