#pragma once
// Letters of every script: which characters belong to a name, and case folding
// for comparisons that ignore case, as VBA compares names ("ЦВЕТ" equals
// "цвет", "Ä" equals "ä"). Texts are UTF-8; bytes of no valid sequence stand
// for themselves and match only themselves.
#include <cstddef>
#include <string>
#include <string_view>

namespace cq {

// Every letter, combining mark and decimal digit of Unicode, and "_".
bool isIdentifierCodePoint(char32_t codePoint);

// The simple case folding: one code point to one code point.
char32_t foldCodePoint(char32_t codePoint);

// Whether the character starting at / ending just before a byte offset is an
// identifier character (false at the ends of the text).
bool identifierCharacterAt(std::string_view text, std::size_t offset);
bool identifierCharacterBefore(std::string_view text, std::size_t offset);

// The end of the run of identifier characters that starts at `from` (`from`
// itself when none starts there).
std::size_t identifierRunEnd(std::string_view text, std::size_t from);

// The text with every character case folded.
std::string foldCase(std::string_view text);

bool equalsIgnoringCase(std::string_view a, std::string_view b);

// The order of `foldCase` texts, code point by code point (UTF-8 bytes compare
// in code point order); negative, zero or positive.
int compareIgnoringCase(std::string_view a, std::string_view b);

}  // namespace cq
