#pragma once
// The HTML manual shipped beside the program, and the messages shown when it is
// missing or cannot be shown.
#include <QString>
#include <filesystem>
#include <optional>
#include <string_view>

namespace cq {

inline constexpr const char* kHelpManualFileName = "CodeQuorix.html";

// The manual in the program folder, else in the installed data folder.
std::optional<std::filesystem::path> findHelpManual(const std::filesystem::path& programFolder,
                                                    const std::filesystem::path& installedDataFolder);

// The message about a missing manual; `programFolder` is shown ending in "/".
QString missingHelpManualMessage(std::string_view editionAbbreviation,
                                 const std::filesystem::path& programFolder);

// The message when the desktop could not show the manual that is there.
QString unopenedHelpManualMessage(const std::filesystem::path& manual);

}  // namespace cq
