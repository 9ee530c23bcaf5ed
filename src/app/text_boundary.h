#pragma once
// Where engine text meets Qt and the system. The engine works on Windows-1252
// bytes; Qt strings, settings, file names and system messages are Unicode. Text
// crosses here, exactly once, and every byte becomes exactly one UTF-16 unit and
// back, so positions in a view agree with positions in the engine's text.
#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

namespace cq {

QString toQString(std::string_view windows1252);

// Characters that Windows-1252 cannot hold become "?".
std::string toEngineText(const QString& text);

// File-system paths as Qt shows them, and back (file names are UTF-8 on disk).
QString pathToQString(const std::filesystem::path& path);
std::filesystem::path qStringToPath(const QString& path);

// Text of the system and of libraries (messages, versions, names typed for the
// file system), which is UTF-8, not engine text.
QString systemTextToQString(std::string_view utf8);

}  // namespace cq
