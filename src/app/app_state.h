#pragma once
// The process-wide start values, created once by main and passed on from there.
#include <filesystem>
#include <string>
#include <string_view>

#include "app/display_settings.h"
#include "app/edition.h"

namespace cq {

class SettingsStore;

struct AppState {
  Edition edition;
  std::string programTitle;                    // e.g. "Access Code Quorix 1.0"
  std::filesystem::path programFolder;         // the executable's folder, ends in "/"
  std::filesystem::path installedDataFolder;   // share/codequorix of the installation, ends in "/"
  std::filesystem::path templateFile;          // mask_CodeQuorix.mdb to copy for every read
  std::filesystem::path temporaryFolder;       // holds the instance folders, ends in "/"
  std::filesystem::path defaultProjectFolder;  // where new project folders go, ends in "/"
  DisplaySettings display;                     // defaults; loaded later by the main window
};

// Fills the start values for an edition: names the application after it (so the
// per-user data folder is its own), creates the temporary folder (ignoring
// failures) and reads the default project folder from section "proj".
AppState startAppState(const Edition& edition, const SettingsStore& settings);

// edition name + " Code Quorix " + major + "." + minor version.
std::string programTitle(const Edition& edition);
// What --version prints (UTF-8): "<name> <major>.<minor>" and the line
// "Datenbankvorlage: <path>" of the template in use ("nicht gefunden" without one).
std::string versionReport(std::string_view programName, const std::filesystem::path& programFolder);
// The folder of the running executable, ending in "/".
std::filesystem::path programFolder();
// The installed data folder: "../share/codequorix/" from the program folder when
// it exists, else the one of the configured install prefix.
std::filesystem::path installedDataFolder(const std::filesystem::path& programFolder);
// The template in the program folder, else in the installed data folder; when
// neither exists, the program folder's path (whose absence the read reports).
std::filesystem::path templateFilePath(const std::filesystem::path& programFolder);
// "proj_pf" when it holds more than one character, else the home folder.
std::filesystem::path defaultProjectFolder(const SettingsStore& settings);

}  // namespace cq
