#include "analysis/text_search.h"

#include "text/windows1252_letters.h"

namespace cq {

namespace {

bool isWordCharacter(char c) { return isLetter(c) || (c >= '0' && c <= '9') || c == '_'; }

}  // namespace

TextSearch::TextSearch(std::string_view needle, bool wholeWord) : needle_(needle), wholeWord_(wholeWord) {
  for (char& c : needle_) c = foldCase(c);
  // Horspool: a window whose last byte is b moves on by the distance from b's
  // last place in the needle (before its end) to the needle's end.
  const std::size_t length = needle_.size();
  shift_.fill(length);
  for (std::size_t i = 0; i + 1 < length; ++i) shift_[static_cast<unsigned char>(needle_[i])] = length - 1 - i;
}

bool TextSearch::isWholeWordAt(std::string_view text, std::size_t at) const {
  if (at > 0 && isWordCharacter(text[at - 1])) return false;
  const std::size_t after = at + needle_.size();
  return after >= text.size() || !isWordCharacter(text[after]);
}

std::size_t TextSearch::find(std::string_view text, std::size_t from) const {
  const std::size_t length = needle_.size();
  if (length == 0 || from > text.size() || text.size() - from < length) return std::string_view::npos;
  const char* const folded = needle_.data();
  const char last = folded[length - 1];
  for (std::size_t at = from; at + length <= text.size();) {
    const char end = foldCase(text[at + length - 1]);
    if (end == last) {
      std::size_t k = length - 1;
      while (k > 0 && foldCase(text[at + k - 1]) == folded[k - 1]) --k;
      if (k == 0 && (!wholeWord_ || isWholeWordAt(text, at))) return at;
    }
    at += shift_[static_cast<unsigned char>(end)];
  }
  return std::string_view::npos;
}

std::vector<std::size_t> TextSearch::allHits(std::string_view text) const {
  std::vector<std::size_t> hits;
  for (std::size_t at = find(text, kSearchStart); at != std::string_view::npos; at = find(text, at + 1))
    hits.push_back(at);
  return hits;
}

std::optional<SearchHit> findFirstInProject(const TextSearch& search, int moduleCount, const ModuleTextOf& textOf) {
  for (int module = 1; module <= moduleCount; ++module) {
    const std::size_t at = search.find(textOf(module), kSearchStart);
    if (at != std::string_view::npos) return SearchHit{module, at};
  }
  return std::nullopt;
}

std::optional<SearchHit> findNextInProject(const TextSearch& search, int moduleCount, int current, std::size_t start,
                                           const ModuleTextOf& textOf) {
  if (current < 1 || current > moduleCount) return std::nullopt;
  std::size_t at = search.find(textOf(current), start);
  if (at != std::string_view::npos) return SearchHit{current, at};
  // The modules after the current one, then around to it again.
  for (int step = 1; step <= moduleCount; ++step) {
    const int module = (current - 1 + step) % moduleCount + 1;
    at = search.find(textOf(module), kSearchStart);
    if (at != std::string_view::npos) return SearchHit{module, at};
  }
  return std::nullopt;
}

}  // namespace cq
