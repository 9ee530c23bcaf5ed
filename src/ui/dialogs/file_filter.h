#pragma once
// The file-type filter notation of the save dialogs ("RTF-Dokument:RTF;") and its
// translation into Qt's filter strings.
#include <string>
#include <string_view>
#include <vector>

#include "text/failure.h"

namespace cq {

// One entry of a save dialog's type list.
struct FileFilterEntry {
  std::string name;         // "Code"
  std::string description;  // "Code (*.bas, *.cls)"
  std::string patterns;     // "*.bas; *.cls"
};

struct FileFilter {
  std::vector<FileFilterEntry> entries;
};

// Translates the filter notation "name:ext,ext;name:ext;" ("RTF-Dokument:RTF;").
// The text must end with ";" and every entry must hold ":"; otherwise it fails
// with the message to show.
Outcome<FileFilter> translateFileFilter(std::string_view filterText);

// The entries as a filter string for Qt's file dialogs: "RTF-Dokument (*.RTF *.rtf)",
// entries separated by ";;".
std::string qtFileFilter(const FileFilter& filter);

}  // namespace cq
