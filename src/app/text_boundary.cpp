#include "app/text_boundary.h"

#include "text/text_decoding.h"

namespace cq {

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string toEngineText(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

QString pathToQString(const std::filesystem::path& path) { return systemTextToQString(path.native()); }

// A byte that is no UTF-8 shows as the Windows-1252 character it is, as the
// engine's path texts show it.
QString systemTextToQString(std::string_view utf8) { return toQString(systemBytesToText(utf8)); }

std::filesystem::path qStringToPath(const QString& path) {
  const QByteArray utf8 = path.toUtf8();
  return std::filesystem::path(std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}  // namespace cq
