#pragma once
// Letters of every script: which characters belong to a name, and case folding
// for comparisons that ignore case, as VBA compares names ("ЦВЕТ" equals
// "цвет", "Ä" equals "ä"). Texts are UTF-8; bytes of no valid sequence stand
// for themselves and match only themselves.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cq {

namespace unicode_case_detail {

// By byte, false for every byte beyond ASCII.
constexpr std::array<bool, 256> makeAsciiIdentifiers() {
  std::array<bool, 256> table{};
  for (std::size_t c = 0; c < table.size(); ++c)
    table[c] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
  return table;
}

inline constexpr std::array<bool, 256> kAsciiIdentifiers = makeAsciiIdentifiers();

// identifierRunEnd from a byte beyond ASCII on.
std::size_t identifierRunEndFromNonAscii(std::string_view text, std::size_t at);

}  // namespace unicode_case_detail

// A-Z, a-z, 0-9 and "_": the identifier characters of ASCII, by byte (false
// for any byte beyond ASCII). Inline, since the scans ask it for every byte.
constexpr bool isAsciiIdentifierByte(char c) { return unicode_case_detail::kAsciiIdentifiers[static_cast<unsigned char>(c)]; }

// Every letter, combining mark and decimal digit of Unicode, and "_".
bool isIdentifierCodePoint(char32_t codePoint);

// The simple case folding: one code point to one code point.
char32_t foldCodePoint(char32_t codePoint);

// The characters beyond ASCII (UTF-8) whose folded form is the ASCII
// character `c`, as the Kelvin sign's is "k"; mostly none.
std::vector<std::string> nonAsciiFoldingTo(char c);

// Whether the character starting at / ending just before a byte offset is an
// identifier character (false at the ends of the text).
bool identifierCharacterAt(std::string_view text, std::size_t offset);
bool identifierCharacterBefore(std::string_view text, std::size_t offset);

// The end of the run of identifier characters that starts at `from` (`from`
// itself when none starts there).
inline std::size_t identifierRunEnd(std::string_view text, std::size_t from) {
  std::size_t at = from;
  for (; at < text.size(); ++at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (unicode_case_detail::kAsciiIdentifiers[byte]) continue;
    if (byte >= 0x80) return unicode_case_detail::identifierRunEndFromNonAscii(text, at);
    break;
  }
  return at;
}

// The text with every character case folded.
std::string foldCase(std::string_view text);
// The same appended to `out`.
void appendFoldedCase(std::string& out, std::string_view text);

bool equalsIgnoringCase(std::string_view a, std::string_view b);

// The order of `foldCase` texts, code point by code point (UTF-8 bytes compare
// in code point order); negative, zero or positive.
int compareIgnoringCase(std::string_view a, std::string_view b);

}  // namespace cq
