#pragma once
// The boundary between the engine's Windows-1252 bytes and Qt's UTF-16 text:
// every byte becomes exactly one UTF-16 unit and back, so positions agree.
#include <QString>

#include <string>
#include <string_view>

namespace cq {

QString windows1252ToQString(std::string_view bytes);

// Characters that Windows-1252 cannot hold become "?".
std::string qStringToWindows1252(const QString& text);

}  // namespace cq
