#include "projects/path_helpers.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

#include "projects/ascii_case.h"
#include "projects/text_decoding.h"
#include "render/text_replace.h"

namespace cq {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kForbiddenNameCharacters = "/\\:*?<>|\"";

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

std::string textAfterLast(std::string_view text, char c) {
  const char lower = toLowerAscii(c);
  for (std::size_t i = text.size(); i-- > 0;) {
    if (toLowerAscii(text[i]) == lower) return std::string(text.substr(i + 1));
  }
  return {};
}

std::string textBeforeFirst(std::string_view text, std::string_view separator) {
  const std::size_t pos = findIgnoringAsciiCase(text, separator);
  return std::string(pos == std::string_view::npos ? text : text.substr(0, pos));
}

std::string fileNameOf(std::string_view path, char separator) { return textAfterLast(path, separator); }

std::string withTrailingSeparator(std::string path, char separator) {
  if (path.empty() || path.back() != separator) path += separator;
  return path;
}

void removeForbiddenNameCharacters(std::string& name) {
  std::erase_if(name, [](char c) { return kForbiddenNameCharacters.find(c) != std::string_view::npos; });
}

std::string pathToText(const fs::path& path) { return decodeSourceText(path.native()).text; }

fs::path textToPath(std::string_view windows1252) { return fs::path(windows1252ToUtf8(windows1252)); }

std::string systemErrorText(const std::error_code& error) { return decodeSourceText(error.message()).text; }

void clearFolder(const fs::path& folder) {
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code ignored;
    if (!it->is_directory(ignored)) fs::remove(it->path(), ignored);
  }
}

void copyFolderFiles(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::directory_iterator it(from, error);
  if (error) throw std::runtime_error("Der Ordner \"" + pathToText(from) + "\" konnte nicht gelesen werden.");
  for (fs::directory_iterator end; it != end; it.increment(error)) {
    if (error) throw std::runtime_error("Der Ordner \"" + pathToText(from) + "\" konnte nicht gelesen werden.");
    std::error_code statusError;
    if (!it->is_regular_file(statusError)) continue;
    fs::copy_file(it->path(), to / it->path().filename(), fs::copy_options::overwrite_existing, error);
    if (error) {
      throw std::runtime_error("Die Datei \"" + pathToText(it->path()) + "\" konnte nicht nach \"" +
                               pathToText(to) + "\" kopiert werden.\r\n" + systemErrorText(error));
    }
  }
}

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

FileFilter translateFileFilter(std::string_view filterText) {
  FileFilter filter;
  if (filterText.empty() || filterText.back() != ';') {
    filter.error = "Bitte Filterart mit ; abschlie\xDF" "en";
    return filter;
  }
  std::size_t start = 0;
  while (start < filterText.size()) {
    const std::size_t end = filterText.find(';', start);
    const std::string_view entry = filterText.substr(start, end - start);
    start = end + 1;
    const std::size_t colon = entry.find(':');
    if (colon == std::string_view::npos) {
      filter.entries.clear();
      filter.error = "Doppelpunkt vergessen";
      return filter;
    }
    const std::string_view extensions = entry.substr(colon + 1);
    const std::string pattern =
        extensions.empty() ? std::string("*.*") : "*." + replaceAll(extensions, ",", ", *.");
    FileFilterEntry translated;
    translated.name = std::string(entry.substr(0, colon));
    translated.description = translated.name + " (" + toLowerAscii(pattern) + ")";
    translated.patterns = replaceAll(pattern, ",", ";");
    filter.entries.push_back(std::move(translated));
  }
  return filter;
}

std::string qtFileFilter(const FileFilter& filter) {
  std::string qtFilter;
  for (const FileFilterEntry& entry : filter.entries) {
    if (!qtFilter.empty()) qtFilter += ";;";
    // Qt separates patterns by blanks, and "*.*" would miss names without a dot.
    const std::string patterns = entry.patterns == "*.*" ? std::string("*") : replaceAll(entry.patterns, "; ", " ");
    qtFilter += entry.name + " (" + patterns + ")";
  }
  return qtFilter;
}

}  // namespace cq
