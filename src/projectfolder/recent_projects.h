#pragma once
// The list of recently used project folders: settings section "recent", values
// "F0" (the newest) to "F9". Folders are path texts ending in "/", kept in the
// form the settings store holds them (the file system's own, UTF-8).
#include <string>
#include <vector>

namespace cq {

class SettingsStore;

// The stored folders in their stored order, leaving out those that no longer
// exist (they stay stored until the next addRecentProject).
std::vector<std::string> loadRecentProjects(const SettingsStore& settings);

// Puts `folder` at the head of the list and stores the list anew: after it follow
// the first nine earlier entries that still exist and differ from it. Returns the
// new list, newest first, for the menu.
std::vector<std::string> addRecentProject(SettingsStore& settings, const std::string& folder);

// The menu caption of entry `index`: "&" + index + " - " + the folder's name, in
// the folder text's form.
std::string recentMenuCaption(int index, const std::string& folder);

}  // namespace cq
