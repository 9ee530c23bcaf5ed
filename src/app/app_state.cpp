#include "app/app_state.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <system_error>

#include "app/settings_store.h"
#include "app/text_boundary.h"
#include "codedb/code_database.h"

namespace cq {

namespace fs = std::filesystem;

namespace {

// Folder paths end in "/" so that file names can be appended directly.
fs::path asFolder(const fs::path& folder) { return folder / ""; }

}  // namespace

std::string programTitle(const Edition& edition) {
  return std::string(edition.name) + " Code Quorix " + std::to_string(CQ_VERSION_MAJOR) + "." +
         std::to_string(CQ_VERSION_MINOR);
}

fs::path programFolder() {
  std::error_code error;
  const fs::path executable = fs::read_symlink("/proc/self/exe", error);
  if (error) return asFolder(fs::current_path(error));
  return asFolder(executable.parent_path());
}

std::string versionReport(std::string_view programName, const fs::path& programFolder) {
  const fs::path templateFile = templateFilePath(programFolder);
  std::error_code error;
  const std::string found = fs::is_regular_file(templateFile, error) ? templateFile.string() : "nicht gefunden";
  return std::string(programName) + " " + std::to_string(CQ_VERSION_MAJOR) + "." + std::to_string(CQ_VERSION_MINOR) +
         "\nDatenbankvorlage: " + found + "\n";
}

fs::path installedDataFolder(const fs::path& programFolder) {
  // An installed tree may be moved as a whole (a test prefix, a relocated
  // package): the data folder beside "bin" wins over the configured prefix.
  const fs::path relative = (programFolder / ".." / "share" / "codequorix").lexically_normal();
  std::error_code error;
  if (fs::is_directory(relative, error)) return asFolder(relative);
  return asFolder(CQ_INSTALLED_DATA_DIR);
}

fs::path templateFilePath(const fs::path& programFolder) {
  const fs::path besideProgram = programFolder / kTemplateFileName;
  const fs::path installed = installedDataFolder(programFolder) / kTemplateFileName;
  std::error_code error;
  if (!fs::exists(besideProgram, error) && fs::exists(installed, error)) return installed;
  return besideProgram;
}

fs::path defaultProjectFolder(const SettingsStore& settings) {
  const std::string stored = settings.get("proj", "proj_pf");
  if (stored.size() > 1) return asFolder(stored);
  return asFolder(qStringToPath(QDir::homePath()));
}

AppState startAppState(const Edition& edition, const SettingsStore& settings) {
  QCoreApplication::setOrganizationName(QString::fromUtf8(kSettingsOrganisation));
  QCoreApplication::setApplicationName(toQString(settingsApplicationName(edition)));

  AppState state;
  state.edition = edition;
  state.programTitle = programTitle(edition);
  state.programFolder = programFolder();
  state.installedDataFolder = installedDataFolder(state.programFolder);
  state.templateFile = templateFilePath(state.programFolder);
  state.temporaryFolder =
      asFolder(qStringToPath(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)) / "TempDateien");
  std::error_code ignored;
  fs::create_directories(state.temporaryFolder, ignored);
  state.defaultProjectFolder = defaultProjectFolder(settings);
  return state;
}

}  // namespace cq
