#pragma once
// Where engine text meets Qt and the system. The engine works on UTF-8; Qt
// strings are UTF-16. Text crosses here, exactly once; positions cross through
// the code views' line map.
#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

namespace cq {

QString toQString(std::string_view text);
std::string toEngineText(const QString& text);

// File-system paths as Qt shows them, and back (file names are UTF-8 on disk).
QString pathToQString(const std::filesystem::path& path);
std::filesystem::path qStringToPath(const QString& path);

// Text of the system and of libraries (messages, versions, names typed for the
// file system), UTF-8 as a rule.
QString systemTextToQString(std::string_view utf8);

}  // namespace cq
