#pragma once
// Path texts and names: the parts of a path or key text, names cleaned for the
// file system, and file-system paths and system errors as engine text. The
// text helpers take the separator as an argument so that they work on keys and on
// paths written with "\" alike.
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace cq {

// The text after the last occurrence of `c` (letters compared ignoring case);
// empty when `c` does not occur or is the last character.
std::string textAfterLast(std::string_view text, char c);

// The text before the first occurrence of `separator` (letters compared ignoring
// case); all of `text` when it does not occur.
std::string textBeforeFirst(std::string_view text, std::string_view separator);

// The file name part of a path: the text after the last separator, empty for a
// text without one.
std::string fileNameOf(std::string_view path, char separator = '/');

// `path` ending in `separator`; an empty path becomes the separator alone.
std::string withTrailingSeparator(std::string path, char separator = '/');

// Removes the nine characters a file name must not hold: / \ : * ? < > | "
void removeForbiddenNameCharacters(std::string& name);

// A file-system path as text for names and messages (UTF-8 is kept, a byte of no
// UTF-8 sequence is taken as its Windows-1252 character, line breaks stay), and
// back.
std::string pathToText(const std::filesystem::path& path);
std::filesystem::path textToPath(std::string_view text);

// A text of the system or a library (a message, a command-line argument; UTF-8 as
// a rule) as engine text, for messages.
std::string systemText(std::string_view text);

// The description of a system error as text: German for the common
// errors with files and folders (access denied, read-only file system, disk
// full, not found, …), else the system's own text (which may come in the user's
// language, encoded as UTF-8).
std::string systemErrorText(const std::error_code& error);

// systemErrorText of the error that the last failed system call left in errno;
// empty when it left none (callers clear errno before the call).
std::string lastSystemErrorText();

}  // namespace cq
