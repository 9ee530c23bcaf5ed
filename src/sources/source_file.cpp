#include "sources/source_file.h"

#include <cerrno>
#include <fstream>
#include <system_error>

#include "sources/module_file.h"
#include "text/ascii_case.h"
#include "sources/module_file_encoding.h"
#include "text/path_text.h"
#include "text/text_decoding.h"

namespace cq {
namespace fs = std::filesystem;

std::string readSourceFile(const fs::path& file) {
  const std::string quotedName = std::string("\"").append(pathToText(file)).append("\"");
  const std::string unreadable = "Die Datei " + quotedName + " konnte nicht gelesen werden.";
  std::error_code error;
  const bool regular = fs::is_regular_file(file, error);
  if (error) throw Failed(unreadable, systemErrorText(error));
  if (!regular) throw Failed("Die Datei " + quotedName + " wurde nicht gefunden.");
  const std::uintmax_t size = fs::file_size(file, error);
  if (error) throw Failed(unreadable, systemErrorText(error));
  if (size > kMaxSourceFileBytes) {
    throw Failed("Die Datei " + quotedName + " ist zu groß (mehr als " +
                 std::to_string(kMaxSourceFileBytes / (1024 * 1024)) + " MB).");
  }
  errno = 0;
  std::ifstream stream(file, std::ios::binary);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!stream || !stream.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    throw Failed(unreadable, lastSystemErrorText());
  }
  return bytes;
}

namespace {

LoadedComponent moduleFileComponent(const ModuleFileToLoad& toLoad, std::string_view bytes, int codePage,
                                    bool detected) {
  DecodedText decoded = detected ? decodeDetectedModuleFile(bytes, codePage) : decodeModuleFileBytes(bytes, codePage);
  const ModuleFileParts parts = splitModuleFile(decoded.text);
  std::string name = moduleNameAttribute(parts.header);
  if (name.empty()) name = toLoad.fallbackName;
  if (!toLoad.accessPrefix.empty() && !startsWithIgnoringAsciiCase(name, toLoad.accessPrefix))
    name.insert(0, toLoad.accessPrefix);
  const int type = moduleFileComponentType(pathToText(toLoad.file.filename()), parts.header, name);
  // The header's attribute lines stay with the code (hidden from its lines) so
  // that the module can be written out as a module file again.
  std::string source(headerAttributes(parts.header));
  source.append(parts.code);
  return LoadedComponent(std::move(name), type, ModuleCode(source), decoded.replaced);
}

}  // namespace

void addModuleFiles(LoadedProject& project, const std::vector<ModuleFileToLoad>& files, int chosenCodePage) {
  std::vector<std::string> contents;
  contents.reserve(files.size());
  for (const ModuleFileToLoad& each : files) contents.push_back(readSourceFile(each.file));
  const bool detected = chosenCodePage == kDetectCodePage;
  const int codePage =
      detected ? detectModuleFilesCodePage(std::vector<std::string_view>(contents.begin(), contents.end()))
               : chosenCodePage;
  project.setCodePage(codePage);
  for (std::size_t i = 0; i < files.size(); ++i) {
    project.addComponent(moduleFileComponent(files[i], contents[i], codePage, detected));
    std::string().swap(contents[i]);  // each file's bytes are held until it is a component
  }
}

}  // namespace cq
