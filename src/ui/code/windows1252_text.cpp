#include "ui/code/windows1252_text.h"

#include "projects/text_decoding.h"

namespace cq {

// Every Windows-1252 byte stands for a character of the Basic Multilingual
// Plane, so the way through UTF-8 yields one UTF-16 unit per byte.
QString windows1252ToQString(std::string_view bytes) {
  const std::string utf8 = windows1252ToUtf8(bytes);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string qStringToWindows1252(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return utf8ToWindows1252(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))).text;
}

}  // namespace cq
