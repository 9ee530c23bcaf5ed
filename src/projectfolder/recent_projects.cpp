#include "projectfolder/recent_projects.h"

#include <filesystem>
#include <system_error>

#include "app/settings_store.h"
#include "text/path_text.h"

namespace cq {

namespace {

constexpr const char* kRecentSection = "recent";
constexpr std::size_t kMostEntries = 10;

bool folderExists(const std::string& folder) {
  std::error_code error;
  return std::filesystem::is_directory(std::filesystem::path(folder), error);
}

std::vector<std::string> storedFolders(const SettingsStore& settings) {
  std::vector<std::string> folders;
  for (auto& [key, value] : settings.getAll(kRecentSection)) folders.push_back(std::move(value));
  return folders;
}

}  // namespace

std::vector<std::string> loadRecentProjects(const SettingsStore& settings) {
  std::vector<std::string> shown;
  for (std::string& folder : storedFolders(settings)) {
    if (folderExists(folder)) shown.push_back(std::move(folder));
  }
  return shown;
}

std::vector<std::string> addRecentProject(SettingsStore& settings, const std::string& folder) {
  const std::vector<std::string> earlier = storedFolders(settings);
  std::vector<std::string> list{withTrailingSeparator(folder)};
  for (std::size_t i = 0; i < earlier.size() && i + 1 < kMostEntries; ++i) {
    if (earlier[i] != list.front() && folderExists(earlier[i])) list.push_back(earlier[i]);
  }
  settings.deleteSection(kRecentSection);
  for (std::size_t i = 0; i < list.size(); ++i) settings.save(kRecentSection, std::string("F").append(std::to_string(i)), list[i]);
  return list;
}

std::string recentMenuCaption(int index, const std::string& folder) {
  std::string withoutSeparator = folder;
  if (!withoutSeparator.empty() && withoutSeparator.back() == '/') withoutSeparator.pop_back();
  return std::string("&").append(std::to_string(index)).append(" - ").append(fileNameOf(withoutSeparator));
}

}  // namespace cq
