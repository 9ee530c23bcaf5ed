#pragma once
// The keyword list of the mark-up. Items keep their surrounding blanks, on which
// matching relies, and are applied in list order; matching is case-sensitive.
#include <string_view>
#include <vector>

namespace cq {

// The whole list as one literal, items separated by ",".
extern const std::string_view kKeywordList;

// The items of kKeywordList in order, each with its blanks (" End ").
const std::vector<std::string_view>& keywordItems();

}  // namespace cq
