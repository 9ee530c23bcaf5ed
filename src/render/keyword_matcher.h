#pragma once
// Marks every keyword of the keyword list in a padded text in one pass, with the
// same result as replacing the items one after another over the whole text.
#include <string>
#include <string_view>

namespace cq {

// `text` is the padded text of the mark-up: every line starts and ends with a
// blank. Each item matches as " word(s) " and becomes " " + keyword runs + " ";
// an item never matches where its own previous match took the leading blank.
std::string markKeywords(std::string_view text);

}  // namespace cq
