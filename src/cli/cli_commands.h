#pragma once
// The commands of codequorix-cli. Each returns the exit code: 0 done, 1 failed,
// and for list kSomeSourcesFailed.
#include <filesystem>
#include <iosfwd>
#include <memory>

#include "app/display_settings.h"
#include "cli/cli_arguments.h"
#include "codedb/code_database.h"
#include "text/failure.h"

namespace cq::cli {

// list: the listing is complete, but some source could not be read (missing,
// encrypted, damaged, no Office document) and is listed with its reason.
inline constexpr int kSomeSourcesFailed = 3;

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
int markUpInput(Context& context);  // marks up standard input

// A failure on the context's standard error, as commandLineText() writes it.
void report(Context& context, const Failure& failure);

}  // namespace cq::cli
