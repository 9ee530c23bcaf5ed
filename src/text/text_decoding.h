#pragma once
// Where source text enters: bytes of a file or stream become Windows-1252 text
// with CR LF line ends.
#include <cstddef>
#include <string>
#include <string_view>

namespace cq {

struct DecodedText {
  std::string text;           // Windows-1252, line ends CR LF
  std::size_t replaced = 0;   // characters that Windows-1252 cannot hold, written as "?"
};

// A UTF-8 BOM is dropped; valid UTF-8 holding non-ASCII is decoded as UTF-8,
// anything else taken as Windows-1252. CR LF, lone LF and lone CR become CR LF.
DecodedText decodeSourceText(std::string_view bytes);

// Line ends only: CR LF, lone LF and lone CR become CR LF.
std::string normalizeLineEnds(std::string_view text);

// Names and messages of the system (UTF-8 as a rule) as Windows-1252: decoded
// sequence by sequence, so a byte that starts no valid UTF-8 sequence is taken
// as the Windows-1252 character it is, whatever the rest of the text holds.
// Characters Windows-1252 cannot hold become "?"; line ends stay as they are.
std::string systemBytesToWindows1252(std::string_view bytes);

// Unicode (UTF-8) to Windows-1252, counting the characters written as "?".
DecodedText utf8ToWindows1252(std::string_view utf8);
// Windows-1252 to UTF-8 (for terminals and the clipboard).
std::string windows1252ToUtf8(std::string_view text);

}  // namespace cq
