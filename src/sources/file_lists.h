#pragma once
// Lists of the files in a folder and in the folders below it, in a stable order.
#include <filesystem>
#include <string_view>
#include <vector>

namespace cq {

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

}  // namespace cq
