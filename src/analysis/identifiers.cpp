#include "analysis/identifiers.h"

namespace cq {

bool isIdentifierCharacter(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') || byte == '_')
    return true;
  switch (byte) {
    case 196:  // Ä
    case 214:  // Ö
    case 220:  // Ü
    case 228:  // ä
    case 246:  // ö
    case 252:  // ü
    case 223:  // ß
      return true;
    default:
      return false;
  }
}

std::string wordAtCaret(std::string_view text, std::size_t caret) {
  const std::size_t length = text.size();
  if (caret == 0 || caret >= length) return {};
  // Counting characters from 1, the character left of the caret is number `caret`.
  const auto identifierAt = [&](std::size_t number) { return isIdentifierCharacter(text[number - 1]); };
  if (!identifierAt(caret)) return {};
  std::size_t left = caret;
  while (left >= 1 && identifierAt(left)) --left;
  std::size_t right = caret;
  while (right < length && identifierAt(right)) ++right;
  // Characters left + 1 to right - 1.
  return std::string(text.substr(left, right - left - 1));
}

}  // namespace cq
