#pragma once
// UTF-8, the engine's text: code points in and out, and positions in UTF-16
// units (the positions of Qt's strings and views) of the same text.
#include <cstddef>
#include <string>
#include <string_view>

namespace cq::utf8 {

inline constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes one strictly valid sequence at `pos` (no overlong forms, no
// surrogates, nothing above U+10FFFF) and moves past it. On an invalid sequence
// it returns kInvalid and moves past the first byte only.
char32_t next(std::string_view text, std::size_t& pos);

// The start of the character that ends just before `pos` (0 at the start): one
// byte back for ASCII and for bytes that form no valid sequence.
std::size_t previousStart(std::string_view text, std::size_t pos);

// The code point of the character that ends just before `pos`, kInvalid for a
// byte of no valid sequence, 0 at the start.
char32_t previous(std::string_view text, std::size_t pos);

void append(std::string& out, char32_t codePoint);

bool isValid(std::string_view text);
bool isAscii(std::string_view text);

// UTF-16 units of the text; a byte of no valid sequence counts one unit, as
// Qt's decoder shows it as one replacement character.
std::size_t utf16Length(std::string_view text);

// The byte offset after `units` UTF-16 units; never inside a character (a
// position inside a surrogate pair moves to the character's end).
std::size_t offsetOfUtf16(std::string_view text, std::size_t units);

}  // namespace cq::utf8
