// codequorix-cli: the engine without a window.
#include <malloc.h>

#include <iostream>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "app/edition.h"
#include "app/settings_store.h"
#include "cli/cli_arguments.h"
#include "cli/cli_commands.h"
#include "cli/compare_commands.h"
#include "cli/navigation_commands.h"
#include "cli/standard_streams.h"
#include "projectfolder/scratch_paths.h"
#include "text/text_decoding.h"

namespace {

// The --option values over the stored settings (none with --no-settings), read
// by the same loader the window uses.
cq::DisplaySettings settingsFor(const cq::cli::Arguments& args) {
  std::optional<cq::SettingsStore> stored;
  if (!args.noSettings) stored.emplace(cq::builtInEdition());
  cq::DisplaySettings settings;
  cq::loadDisplaySettings(
      [&](const char* key) -> std::string {
        for (auto option = args.options.rbegin(); option != args.options.rend(); ++option)
          if (option->first == key) return option->second;
        return stored ? stored->get(cq::kOptionsSection, key) : std::string();
      },
      settings);
  return settings;
}

int runCommand(const cq::cli::Arguments& args, std::ostream& out) {
  const std::string& command = args.command;
  if (command == "--help") {
    out << cq::cli::kUsage;
    return 0;
  }
  if (command == "--version") {
    out << cq::versionReport("codequorix-cli", cq::programFolder());
    return 0;
  }
  cq::cli::Context context{args, settingsFor(args), out, std::cerr};
  if (command == "list") return cq::cli::listSources(context);
  if (command == "read") return cq::cli::readSources(context);
  if (command == "export") return cq::cli::exportModules(context);
  if (command == "html") return cq::cli::exportHtml(context);
  if (command == "rtf") return cq::cli::exportRtf(context);
  if (command == "text") return cq::cli::exportText(context);
  if (command == "search") return cq::cli::searchProject(context);
  if (command == "callers") return cq::cli::listCallers(context);
  if (command == "callees") return cq::cli::listCallees(context);
  if (command == "definition") return cq::cli::showDefinition(context);
  if (command == "unused") return cq::cli::listUnused(context);
  if (command == "textconv") return cq::cli::textconvDocument(context);
  if (command == "diff") return cq::cli::diffSources(context);
  return cq::cli::markUpInput(context);
}

}  // namespace

int main(int argc, char** argv) {
  cq::cli::guardClosedStandardDescriptors();
  // Large texts pass through several whole-text steps: keeping freed buffers in
  // the heap spares the kernel handing out fresh zeroed pages for every step.
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  std::ios::sync_with_stdio(false);
  // Ctrl+C or a kill in the middle of a read or export leaves nothing half written.
  cq::removeScratchPathsOnSignals();
  std::string error;
  const auto args = cq::cli::parseArguments(argc, argv, error);
  if (!args) {
    std::cerr << error + "\n\n" + cq::cli::kUsage;
    return 2;
  }
  // Standard output is checked to its close: a script must not take a cut
  // output (full disk, closed pipe) for a finished one.
  cq::cli::DescriptorOutput standardOutput(1);
  std::ostream out(&standardOutput);
  const int code = runCommand(*args, out);
  if (const cq::Outcome<void> closed = standardOutput.close(); !closed) {
    std::cerr << cq::cli::commandLineText(closed.failure()) << '\n';
    return 1;
  }
  return code;
}
