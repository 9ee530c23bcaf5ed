#pragma once
// Marks the keywords of the keyword list in the code of one text, stretch by
// stretch, with the same result as padding punctuation with blanks and replacing
// the items " word " one after another over the whole text.
#include <string>
#include <string_view>
#include <vector>

namespace cq {

class KeywordMatcher {
 public:
  KeywordMatcher();

  // Appends `code`, a stretch of code characters that starts at `position` of the
  // input, with its keywords marked. Words are separated by blanks, tabs,
  // parentheses and commas; a word that touches a string or comment run
  // (`touchesRunBefore`, `touchesRunAfter`) is never a keyword, and a line end
  // separates words. An item does not match where its own previous match took
  // the one blank before the word.
  void appendMarked(std::string& out, std::string_view code, std::size_t position, bool touchesRunBefore,
                    bool touchesRunAfter);

 private:
  std::vector<std::size_t> lastMatchEnd_;  // per item: input position after its last match
};

}  // namespace cq
