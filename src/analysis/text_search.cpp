#include "analysis/text_search.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "text/unicode_case.h"
#include "text/utf8.h"

namespace cq {

namespace {

bool isWordAt(std::string_view text, std::size_t at) { return identifierCharacterAt(text, at); }

constexpr std::array<char, 256> makeAsciiLower() {
  std::array<char, 256> table{};
  for (std::size_t b = 0; b < table.size(); ++b)
    table[b] = static_cast<char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
  return table;
}

constexpr std::array<char, 256> kAsciiLower = makeAsciiLower();

// Function objects rather than functions, so that the search loop inlines them.
constexpr auto asciiLower = [](char c) { return kAsciiLower[static_cast<unsigned char>(c)]; };
constexpr auto asItIs = [](char c) { return c; };

}  // namespace

TextSearch::TextSearch(std::string_view needle, bool wholeWord) : needle_(foldCase(needle)), wholeWord_(wholeWord) {
  // Horspool: a window whose last byte is b moves on by the distance from b's
  // last place in the needle (before its end) to the needle's end.
  // The distances stand under both cases of an ASCII letter, so that the loop
  // skips by the text's own byte without folding it first (folded text has no
  // capitals to look up).
  const std::size_t length = needle_.size();
  shift_.fill(length);
  for (std::size_t i = 0; i + 1 < length; ++i) shift_[static_cast<unsigned char>(needle_[i])] = length - 1 - i;
  for (std::size_t b = 'A'; b <= 'Z'; ++b) shift_[b] = shift_[b + 32];
  // A needle of ASCII (as nearly every one is) need not fold the text.
  asciiNeedle_ = std::all_of(needle_.begin(), needle_.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!asciiNeedle_) return;
  std::array<bool, 128> seen{};
  for (const char c : needle_) {
    if (std::exchange(seen[static_cast<unsigned char>(c)], true)) continue;
    for (std::string& character : nonAsciiFoldingTo(c)) foldingToNeedle_.push_back(std::move(character));
  }
}

bool TextSearch::searchesUnfolded(std::string_view text) const {
  return asciiNeedle_ && std::none_of(foldingToNeedle_.begin(), foldingToNeedle_.end(), [&](const std::string& c) {
           return text.find(c) != std::string_view::npos;
         });
}

TextSearch::FoldedText TextSearch::fold(std::string_view text) {
  FoldedText folded{foldCase(text), {}};
  if (folded.text.size() == text.size()) return folded;
  // Rare: a character whose folded form has another length (the Kelvin sign,
  // capital sharp s). Map every folded offset back, character by character.
  folded.originalOffsets.reserve(folded.text.size() + 1);
  std::size_t original = 0;
  while (original < text.size()) {
    const std::size_t start = original;
    utf8::next(text, original);
    const std::size_t length = foldCase(text.substr(start, original - start)).size();
    for (std::size_t k = 0; k < length; ++k) folded.originalOffsets.push_back(start);
  }
  folded.originalOffsets.push_back(text.size());
  return folded;
}

std::size_t TextSearch::FoldedText::folded(std::size_t offset) const {
  if (originalOffsets.empty()) return offset;
  return static_cast<std::size_t>(std::lower_bound(originalOffsets.begin(), originalOffsets.end(), offset) -
                                  originalOffsets.begin());
}

bool TextSearch::isWholeWordAt(std::string_view text, std::size_t at, std::size_t length) const {
  return !identifierCharacterBefore(text, at) && !isWordAt(text, at + length);
}

// Horspool over the text's bytes as `byteOf` reads them: a window whose last
// byte is b moves on by the distance from b's last place in the needle (before
// its end) to the needle's end.
template <typename ByteOf>
std::size_t TextSearch::horspool(std::string_view text, std::size_t from, ByteOf byteOf) const {
  const std::size_t length = needle_.size();
  if (length == 0 || from > text.size() || text.size() - from < length) return std::string_view::npos;
  const char* const needle = needle_.data();
  const char last = needle[length - 1];
  for (std::size_t at = from; at + length <= text.size();) {
    const char end = text[at + length - 1];
    if (byteOf(end) == last) {
      std::size_t k = length - 1;
      while (k > 0 && byteOf(text[at + k - 1]) == needle[k - 1]) --k;
      if (k == 0) return at;
    }
    at += shift_[static_cast<unsigned char>(end)];
  }
  return std::string_view::npos;
}

template <typename Visit>
void TextSearch::visitHits(std::string_view text, std::size_t from, Visit visit) const {
  if (needle_.empty() || from > text.size()) return;
  if (searchesUnfolded(text)) {
    const auto find = [&](std::size_t at) { return horspool(text, at, asciiLower); };
    for (std::size_t at = find(from); at != std::string_view::npos; at = find(at + 1))
      if ((!wholeWord_ || isWholeWordAt(text, at, needle_.size())) && !visit(at)) return;
    return;
  }
  const FoldedText folded = fold(text);
  const auto find = [&](std::size_t at) { return horspool(folded.text, at, asItIs); };
  for (std::size_t at = find(folded.folded(from)); at != std::string_view::npos; at = find(at + 1)) {
    const std::size_t original = folded.original(at);
    if ((!wholeWord_ || isWholeWordAt(text, original, folded.original(at + needle_.size()) - original)) &&
        !visit(original))
      return;
  }
}

std::size_t TextSearch::find(std::string_view text, std::size_t from) const {
  std::size_t first = std::string_view::npos;
  visitHits(text, from, [&](std::size_t at) {
    first = at;
    return false;
  });
  return first;
}

std::vector<std::size_t> TextSearch::allHits(std::string_view text) const {
  std::vector<std::size_t> hits;
  visitHits(text, kSearchStart, [&](std::size_t at) {
    hits.push_back(at);
    return true;
  });
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
