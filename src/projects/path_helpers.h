#pragma once
// Small helpers on path texts, folders and file lists, and the translation of the
// file-type filter notation used by the save dialogs. Path texts use "/" in this
// program; the text helpers take the separator as an argument so that they work
// on keys and on paths written with "\" alike.
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace cq {

// The text after the last occurrence of `c` (letters compared ignoring case);
// empty when `c` does not occur or is the last character.
std::string textAfterLast(std::string_view text, char c);

// The text before the first occurrence of `separator` (letters compared ignoring
// case); all of `text` when it does not occur.
std::string textBeforeFirst(std::string_view text, std::string_view separator);

// The file name part of a path: the text after the last separator, empty for a
// text without one.
std::string fileNameOf(std::string_view path, char separator = '/');

// `path` ending in `separator`; an empty path becomes the separator alone.
std::string withTrailingSeparator(std::string path, char separator = '/');

// Removes the nine characters a file name must not hold: / \ : * ? < > | "
void removeForbiddenNameCharacters(std::string& name);

// A file-system path as Windows-1252 text for names and messages (UTF-8 names are
// converted, other bytes are taken as they are), and back.
std::string pathToText(const std::filesystem::path& path);
std::filesystem::path textToPath(std::string_view windows1252);

// The system's description of an error as Windows-1252 text (it may come in the
// user's language, encoded as UTF-8).
std::string systemErrorText(const std::error_code& error);

// Deletes every file directly in `folder`; subfolders stay. Failures are ignored:
// a file that cannot be deleted simply stays.
void clearFolder(const std::filesystem::path& folder);

// Copies every file directly in `from` into `to`, overwriting files of the same
// name; subfolders are not copied. Throws std::runtime_error with a German
// message naming the file and the system's reason at the first failure.
void copyFolderFiles(const std::filesystem::path& from, const std::filesystem::path& to);

// The files directly in `folder` whose name ends in "." + `extension` (letters
// compared ignoring case); "*" gives every file. Sorted by name. Empty when
// nothing matches or the folder cannot be read.
std::vector<std::filesystem::path> filesWithExtension(const std::filesystem::path& folder,
                                                      std::string_view extension);

// `folder` followed by every folder below it: first all direct subfolders of a
// folder, then, for each of them in turn, their own subfolders. Symbolic links to
// folders are not followed, so a link cycle cannot make the list endless.
std::vector<std::filesystem::path> folderTree(const std::filesystem::path& folder);

// filesWithExtension for every folder of folderTree(folder), in that order.
std::vector<std::filesystem::path> filesWithExtensionRecursive(const std::filesystem::path& folder,
                                                               std::string_view extension);

// One entry of a save dialog's type list.
struct FileFilterEntry {
  std::string name;         // "Code"
  std::string description;  // "Code (*.bas, *.cls)"
  std::string patterns;     // "*.bas; *.cls"
};

struct FileFilter {
  std::vector<FileFilterEntry> entries;
  std::string error;  // German message when the filter text is malformed
  bool ok() const { return error.empty(); }
};

// Translates the filter notation "name:ext,ext;name:ext;" ("RTF-Dokument:RTF;").
// The text must end with ";" and every entry must hold ":"; otherwise the result
// carries the message to show and no entries.
FileFilter translateFileFilter(std::string_view filterText);

// The entries as a filter string for Qt's file dialogs: "RTF-Dokument (*.RTF)",
// entries separated by ";;". Empty for a malformed filter.
std::string qtFileFilter(const FileFilter& filter);

}  // namespace cq
