#pragma once
// The per-user settings store: section -> key -> text, kept by QSettings in an
// INI file of organisation "ZT_Quorix", application "Co_Quor_" + edition name,
// so every edition keeps its own settings. Texts are UTF-8.
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/edition.h"

class QSettings;

namespace cq {

inline constexpr const char* kSettingsOrganisation = "ZT_Quorix";

// "Co_Quor_" + edition name: the application part of the settings root.
std::string settingsApplicationName(const Edition& edition);

class SettingsStore {
 public:
  // The user's store of the edition.
  explicit SettingsStore(const Edition& edition);
  // A store in an explicit INI file (tests, tools).
  explicit SettingsStore(const std::filesystem::path& iniFile);
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // The stored text, or "" when the key was never written.
  std::string get(const std::string& section, const std::string& key) const;
  void save(const std::string& section, const std::string& key, const std::string& value);
  // All pairs of the section in the store's order (by key name, so F0 to F9
  // keep their order); empty when the section is absent.
  std::vector<std::pair<std::string, std::string>> getAll(const std::string& section) const;
  // Removes the section; a missing section is no error.
  void deleteSection(const std::string& section);

  // Where the store keeps its data.
  std::filesystem::path fileName() const;

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace cq
