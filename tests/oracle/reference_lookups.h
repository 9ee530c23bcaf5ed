#pragma once
// Deliberately plain transcriptions of the lookups on module texts: the marked
// runs blanked one replacement at a time, names searched for with plain
// substring searches and their neighbours tested against lists of characters,
// line numbers counted from the start each time. Tests compare the fast
// implementations against them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/reference_finder.h"

namespace cq::oracle {

// Same contract as cq::blankMarkedRuns, returning the clean text.
std::string cleanText(std::string marked);

// Same contract as cq::callLines.
std::vector<std::int64_t> callLines(std::string marked, std::string_view name);

// Same contract as cq::findReferences: the names joined with ";" and split
// again, each searched from the text's end backwards.
std::vector<Reference> findReferences(std::string marked, const std::vector<std::string>& names);

// Same contract as cq::TextSearch(needle, wholeWord).allHits(text).
std::vector<std::size_t> searchHits(std::string_view text, std::string_view needle, bool wholeWord);

}  // namespace cq::oracle
