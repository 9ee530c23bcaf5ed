#include "sources/file_lists.h"

#include <algorithm>
#include <system_error>

#include "text/ascii_case.h"

namespace cq {
namespace fs = std::filesystem;

namespace {

void sortByName(std::vector<fs::path>& paths) {
  std::sort(paths.begin(), paths.end(), [](const fs::path& a, const fs::path& b) {
    return lessIgnoringAsciiCaseThenExact(a.filename().native(), b.filename().native());
  });
}

bool hasExtension(const fs::path& file, std::string_view extension) {
  if (extension == "*") return true;
  const std::string name = file.filename().native();
  return name.size() > extension.size() && name[name.size() - extension.size() - 1] == '.' &&
         endsWithIgnoringAsciiCase(name, extension);
}

// Direct subfolders of `folder`, sorted; links to folders are left out.
std::vector<fs::path> subfoldersOf(const fs::path& folder) {
  std::vector<fs::path> folders;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code statusError;
    if (it->is_directory(statusError) && !it->is_symlink(statusError)) folders.push_back(it->path());
  }
  sortByName(folders);
  return folders;
}

void appendFolderTree(const fs::path& folder, std::vector<fs::path>& list) {
  const std::vector<fs::path> subfolders = subfoldersOf(folder);
  list.insert(list.end(), subfolders.begin(), subfolders.end());
  for (const fs::path& subfolder : subfolders) appendFolderTree(subfolder, list);
}

}  // namespace

std::vector<fs::path> filesWithExtension(const fs::path& folder, std::string_view extension) {
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code statusError;
    if (it->is_regular_file(statusError) && hasExtension(it->path(), extension)) files.push_back(it->path());
  }
  sortByName(files);
  return files;
}

std::vector<fs::path> folderTree(const fs::path& folder) {
  std::vector<fs::path> list{folder};
  appendFolderTree(folder, list);
  return list;
}

std::vector<fs::path> filesWithExtensionRecursive(const fs::path& folder, std::string_view extension) {
  std::vector<fs::path> files;
  for (const fs::path& each : folderTree(folder)) {
    std::vector<fs::path> found = filesWithExtension(each, extension);
    files.insert(files.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
  }
  return files;
}

}  // namespace cq
