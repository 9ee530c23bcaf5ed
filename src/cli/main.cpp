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

}  // namespace

int main(int argc, char** argv) {
  // Large texts pass through several whole-text steps: keeping freed buffers in
  // the heap spares the kernel handing out fresh zeroed pages for every step.
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  std::ios::sync_with_stdio(false);
  std::string error;
  const auto args = cq::cli::parseArguments(argc, argv, error);
  if (!args) {
    std::cerr << error + "\n\n" + cq::cli::kUsage;
    return 2;
  }
  const std::string& command = args->command;
  if (command == "--help") {
    std::cout << cq::cli::kUsage;
    return 0;
  }
  if (command == "--version") {
    std::cout << cq::versionReport("codequorix-cli", cq::programFolder());
    return 0;
  }
  cq::cli::Context context{*args, settingsFor(*args), std::cout, std::cerr};
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
  return cq::cli::markUpInput(context, std::cin);
}
