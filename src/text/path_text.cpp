#include "text/path_text.h"

#include "text/ascii_case.h"
#include "text/text_decoding.h"

namespace cq {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kForbiddenNameCharacters = "/\\:*?<>|\"";

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

}  // namespace cq
