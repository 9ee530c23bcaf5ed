#pragma once
// Identifiers in code text: the name that the caret touches from the left.
// Names are made of identifier characters: every letter, combining mark and
// digit of Unicode, and "_".
#include <cstddef>
#include <string>
#include <string_view>

#include "text/unicode_case.h"

namespace cq {

// The identifier that ends at or runs through the character just left of
// `caret` (a byte offset on a character boundary); empty when that character is
// no identifier character, and at both ends of the text. The right-hand scan
// stops one character short of the text's end, so an identifier ending in the
// text's last character loses it (module texts end with a line break, where
// this cannot happen).
std::string wordAtCaret(std::string_view text, std::size_t caret);

}  // namespace cq
