#pragma once
// Whole-text replacement with the semantics of a left-to-right, non-overlapping
// search, done in one linear pass.
#include <string>
#include <string_view>

namespace cq {

// Replaces every occurrence of `find` (exact comparison, left to right, without
// overlap) by `replacement`. An empty `find` leaves the text unchanged.
std::string replaceAll(std::string_view text, std::string_view find, std::string_view replacement);
void replaceAllInPlace(std::string& text, std::string_view find, std::string_view replacement);

// Position of the first occurrence of `find` at or after `from`, or npos.
std::size_t findText(std::string_view text, std::string_view find, std::size_t from = 0);

// Number of non-overlapping occurrences of `find` in `text`.
std::size_t countOccurrences(std::string_view text, std::string_view find);

}  // namespace cq
