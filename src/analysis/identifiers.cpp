#include "analysis/identifiers.h"

#include "text/utf8.h"

namespace cq {

std::string wordAtCaret(std::string_view text, std::size_t caret) {
  if (caret == 0 || caret >= text.size() || !identifierCharacterBefore(text, caret)) return {};
  std::size_t left = caret;
  while (left > 0 && identifierCharacterBefore(text, left)) left = utf8::previousStart(text, left);
  // The last character of the text is never taken.
  const std::size_t lastCharacter = utf8::previousStart(text, text.size());
  std::size_t right = caret;
  while (right < lastCharacter && identifierCharacterAt(text, right)) {
    std::size_t next = right;
    utf8::next(text, next);
    right = next;
  }
  return std::string(text.substr(left, right - left));
}

}  // namespace cq
