#pragma once
// Identifiers in code text (Windows-1252 bytes): which characters belong to a
// name, and the name that the caret touches from the left.
#include <cstddef>
#include <string>
#include <string_view>

namespace cq {

// A-Z, a-z, 0-9, "_" and the German letters Ä Ö Ü ä ö ü ß.
bool isIdentifierCharacter(char c);

// The identifier that ends at or runs through the character just left of
// `caret`; empty when that character is no identifier character, and at both
// ends of the text. The right-hand scan stops one short of the text's end, so an
// identifier ending in the text's last character loses it (module texts end
// with a line break, where this cannot happen).
std::string wordAtCaret(std::string_view text, std::size_t caret);

}  // namespace cq
