#include "text/path_text.h"

#include <cerrno>

#include "text/ascii_case.h"
#include "text/text_decoding.h"

namespace cq {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kForbiddenNameCharacters = "/\\:*?<>|\"";

// The errors a user meets with files, in German: the system's own text is
// English unless the system happens to speak German.
const char* germanErrorText(const std::error_code& error) {
  const std::error_condition condition = error.default_error_condition();
  if (condition.category() != std::generic_category()) return nullptr;
  switch (condition.value()) {
    case EACCES:
    case EPERM:
      return "Zugriff verweigert";
    case EROFS:
      return "Das Dateisystem ist schreibgeschützt";
    case ENOSPC:
    case EDQUOT:
      return "Kein Speicherplatz mehr auf dem Datenträger";
    case ENOENT:
      return "Datei oder Ordner nicht gefunden";
    case ENOTDIR:
      return "Ist kein Ordner";
    case EISDIR:
      return "Ist ein Ordner";
    case EEXIST:
      return "Die Datei existiert bereits";
    case EMFILE:
    case ENFILE:
      return "Zu viele geöffnete Dateien";
    case ENAMETOOLONG:
      return "Der Name ist zu lang";
    case EFBIG:
      return "Die Datei wird zu groß";
    case EIO:
      return "Ein- oder Ausgabefehler";
    case EBUSY:
      return "Das Gerät oder die Datei ist belegt";
    case ELOOP:
      return "Zu viele Ebenen symbolischer Links";
    case ENOTEMPTY:
      return "Der Ordner ist nicht leer";
    case EXDEV:
      return "Verschieben zwischen verschiedenen Dateisystemen ist nicht möglich";
    default:
      return nullptr;
  }
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

std::string pathToText(const fs::path& path) { return systemText(path.native()); }

fs::path textToPath(std::string_view text) { return fs::path(std::string(text)); }

std::string systemText(std::string_view text) { return systemBytesToText(text); }

std::string systemErrorText(const std::error_code& error) {
  if (const char* german = germanErrorText(error)) return german;
  return systemText(error.message());
}

std::string lastSystemErrorText() {
  const int error = errno;
  return error != 0 ? systemErrorText(std::error_code(error, std::generic_category())) : std::string();
}

}  // namespace cq
