#include "sources/vbp_document.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <system_error>

#include "text/ascii_case.h"
#include "text/path_text.h"
#include "sources/module_file_encoding.h"
#include "sources/source_file.h"
#include "text/text_decoding.h"

namespace cq {
namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 7> kComponentKeys = {
    "Module", "Class", "Form", "UserControl", "UserDocument", "PropertyPage", "Designer"};

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::string_view withoutQuotes(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

struct ComponentEntry {
  std::string name;  // may be empty: Form= and the designer lines name no module
  std::string file;  // as written in the .vbp
};

// "Module=Name; file" or "Form=file"; false for every other line.
bool parseComponentLine(std::string_view line, ComponentEntry& entry) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  const std::string_view key = trimmed(line.substr(0, equals));
  if (std::none_of(kComponentKeys.begin(), kComponentKeys.end(),
                   [&](std::string_view each) { return equalsIgnoringAsciiCase(key, each); })) {
    return false;
  }
  const std::string_view value = line.substr(equals + 1);
  const std::size_t semicolon = value.find(';');
  entry.name = semicolon == std::string_view::npos ? std::string() : std::string(trimmed(value.substr(0, semicolon)));
  entry.file = std::string(withoutQuotes(trimmed(semicolon == std::string_view::npos ? value : value.substr(semicolon + 1))));
  return !entry.file.empty();
}

bool isRegularFile(const fs::path& file) {
  std::error_code error;
  return fs::is_regular_file(file, error);
}

// The module file, found also when only the case of its name differs from the
// .vbp's spelling (the projects come from a file system that ignores case).
fs::path locateModuleFile(const fs::path& file) {
  if (isRegularFile(file)) return file;
  const std::string wanted = file.filename().native();
  std::error_code error;
  for (fs::directory_iterator it(file.parent_path(), error), end; !error && it != end; it.increment(error)) {
    if (equalsIgnoringAsciiCase(it->path().filename().native(), wanted) && isRegularFile(it->path())) {
      return it->path();
    }
  }
  return {};
}

}  // namespace

LoadedProject loadVbpProject(const fs::path& vbpFile, int codePage) {
  // The project file is written in the code page of its module files.
  const std::string vbpBytes = readSourceFile(vbpFile);
  const int vbpCodePage = codePage != kDetectCodePage ? codePage : detectModuleFilesCodePage({vbpBytes});
  const std::string vbpText = decodeModuleFileBytes(vbpBytes, vbpCodePage).text;
  const fs::path folder = vbpFile.parent_path();
  LoadedProject project(pathToText(vbpFile), pathToText(vbpFile.stem()));
  std::vector<ModuleFileToLoad> files;

  std::size_t start = 0;
  while (start < vbpText.size()) {
    std::size_t end = vbpText.find("\r\n", start);
    if (end == std::string::npos) end = vbpText.size();
    const std::string_view line(vbpText.data() + start, end - start);
    start = end + 2;

    ComponentEntry entry;
    if (!parseComponentLine(line, entry)) continue;
    std::string relative = entry.file;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const fs::path file = locateModuleFile((folder / textToPath(relative)).lexically_normal());
    if (file.empty()) {
      throw Failed("Das Projekt konnte nicht gelesen werden. Die Datei \"" + entry.file + "\" aus \"" +
                      pathToText(vbpFile) + "\" fehlt.");
    }
    files.push_back({file, entry.name.empty() ? pathToText(file.stem()) : entry.name});
  }
  addModuleFiles(project, files, codePage);
  return project;
}

}  // namespace cq
