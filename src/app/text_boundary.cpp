#include "app/text_boundary.h"

#include "text/text_decoding.h"

namespace cq {

// Every Windows-1252 byte stands for a character of the Basic Multilingual
// Plane, so the way through UTF-8 yields one UTF-16 unit per byte.
QString toQString(std::string_view windows1252) {
  const std::string utf8 = windows1252ToUtf8(windows1252);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toEngineText(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return utf8ToWindows1252(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))).text;
}

QString pathToQString(const std::filesystem::path& path) { return systemTextToQString(path.native()); }

QString systemTextToQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::filesystem::path qStringToPath(const QString& path) {
  const QByteArray utf8 = path.toUtf8();
  return std::filesystem::path(std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}  // namespace cq
