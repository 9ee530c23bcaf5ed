#pragma once
// Whole-folder file operations of project folders: emptying and copying the
// files directly in a folder.
#include <filesystem>

namespace cq {

// Deletes every file directly in `folder`; subfolders stay. Failures are ignored:
// a file that cannot be deleted simply stays.
void clearFolder(const std::filesystem::path& folder);

// Copies every file directly in `from` into `to`, overwriting files of the same
// name; subfolders are not copied. Throws Failed naming the file, with the
// system's reason, at the first failure.
void copyFolderFiles(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace cq
