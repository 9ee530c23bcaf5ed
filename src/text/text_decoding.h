#pragma once
// Where text enters and leaves the engine as bytes: the engine's text is UTF-8
// with CR LF line ends; files and streams hold Windows-1252, UTF-8 or a code
// page of their own.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace cq {

struct DecodedText {
  std::string text;           // UTF-8, line ends CR LF
  std::size_t replaced = 0;   // bytes that formed no character, written as U+FFFD
};

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A UTF-8 BOM is dropped; valid UTF-8 holding non-ASCII is taken as UTF-8,
// anything else as Windows-1252. CR LF, lone LF and lone CR become CR LF.
DecodedText decodeSourceText(std::string_view bytes);

// Line ends only: CR LF, lone LF and lone CR become CR LF.
std::string normalizeLineEnds(std::string_view text);

// Every Windows-1252 byte as its character; the five bytes the code page leaves
// undefined stand for the C1 controls of the same value, so every byte
// survives a round trip.
std::string windows1252ToUtf8(std::string_view bytes);

// The Windows-1252 bytes of UTF-8 text; nullopt when a character does not fit
// (or the text is no valid UTF-8).
std::optional<std::string> utf8ToWindows1252(std::string_view utf8);

// The Windows-1252 byte of a character; false when the code page does not hold it.
bool windows1252ByteOf(char32_t codePoint, char& byte);

// Names and messages of the system (UTF-8 as a rule) as engine text: decoded
// sequence by sequence, so a byte that starts no valid sequence is taken as the
// Windows-1252 character it is, whatever the rest of the text holds.
std::string systemBytesToText(std::string_view bytes);

// The module files of a project folder: Windows-1252 when every character fits
// (the files of earlier versions, byte for byte), else UTF-8 with a BOM.
std::string encodeModuleFileText(std::string_view text);
std::string decodeModuleFileText(std::string_view bytes);

}  // namespace cq
