#include "analysis/reference_finder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <unordered_set>

#include "text/unicode_case.h"
#include "text/utf8.h"
#include "analysis/marked_runs.h"
#include "analysis/text_finder.h"

namespace cq {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Bytes of the character at `at` that is no identifier character.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at) {
  std::size_t next = at;
  utf8::next(text, next);
  return next - at;
}

constexpr std::size_t kSieveSlots = 1 << 16;

std::size_t sieveSlot(std::string_view word) {
  return (static_cast<unsigned char>(word.front()) * 131u + static_cast<unsigned char>(word.back()) * 7u +
          word.size()) %
         kSieveSlots;
}

}  // namespace

ReferenceFinder::ReferenceFinder(const std::vector<std::string>& names) : sieve_(kSieveSlots, false) {
  std::unordered_set<std::string_view> seen;
  for (const std::string& name : names)
    if (!name.empty() && seen.insert(name).second) names_.push_back(name);
  // The views below point into names_, which no longer changes.
  for (std::size_t i = 0; i < names_.size(); ++i) {
    const std::string& name = names_[i];
    const std::size_t other = identifierRunEnd(name, 0);
    if (other == name.size()) {
      wordNames_.emplace(name, i);
      sieve_[sieveSlot(name)] = true;
      shortest_ = wordNames_.size() == 1 ? name.size() : std::min(shortest_, name.size());
      longest_ = std::max(longest_, name.size());
    } else {
      otherNames_.push_back({i, other});
    }
  }
}

void ReferenceFinder::forEachReference(
    std::string_view clean, const std::function<void(std::size_t offset, std::size_t nameIndex)>& visit) const {
  // A word name can only be a reference where it ends a run of word characters,
  // starting at the run's start or right after a digit inside it.
  if (!wordNames_.empty()) {
    const auto check = [&](std::size_t at, std::size_t end) {
      const std::size_t length = end - at;
      if (length < shortest_ || length > longest_) return;
      const std::string_view word = clean.substr(at, length);
      if (!sieve_[sieveSlot(word)]) return;
      const auto found = wordNames_.find(word);
      if (found != wordNames_.end()) visit(at, found->second);
    };
    const std::size_t size = clean.size();
    constexpr std::uint64_t kEightBlanks = 0x2020202020202020;
    for (std::size_t i = 0; i < size;) {
      const char first = clean[i];
      if (!isAsciiIdentifierByte(first) && (static_cast<unsigned char>(first) < 0x80 || !identifierCharacterAt(clean, i))) {
        i += static_cast<unsigned char>(first) < 0x80 ? 1 : utf8SequenceLength(clean, i);
        // Blanked runs make up much of a clean text: pass them eight at a time.
        for (std::uint64_t eight = 0; i + 8 <= size; i += 8) {
          std::memcpy(&eight, clean.data() + i, 8);
          if (eight != kEightBlanks) break;
        }
        continue;
      }
      const std::size_t start = i;
      bool digits = false;
      // The run's ASCII part in the same pass as its digits; from a character
      // beyond ASCII on, by the Unicode tables.
      for (; i < size && isAsciiIdentifierByte(clean[i]); ++i) digits = digits || isDigit(clean[i]);
      if (i < size && static_cast<unsigned char>(clean[i]) >= 0x80) {
        const std::size_t end = identifierRunEnd(clean, i);
        for (; i < end; ++i) digits = digits || isDigit(clean[i]);
      }
      check(start, i);
      if (digits)
        for (std::size_t at = start + 1; at < i; ++at)
          if (isDigit(clean[at - 1])) check(at, i);
    }
  }
  // Any other name as the report reads it: from the end backwards, each next
  // place wholly before the last one taken. Found forwards, then taken backwards.
  for (const OtherName& other : otherNames_) {
    const std::string& name = names_[other.index];
    const std::size_t length = name.size();
    std::vector<std::size_t> places;
    for (std::size_t at = findByByte(clean, name, other.anchor, 0); at != std::string_view::npos;
         at = findByByte(clean, name, other.anchor, at + 1))
      places.push_back(at);
    std::size_t limit = clean.size();  // a place taken must end at or before this
    for (auto place = places.rbegin(); place != places.rend(); ++place) {
      const std::size_t at = *place;
      if (at + length > limit) continue;
      limit = at;
      const bool freeBefore = !identifierCharacterBefore(clean, at) || isDigit(clean[at - 1]);
      const bool freeAfter = !identifierCharacterAt(clean, at + length);
      if (freeBefore && freeAfter) visit(at, other.index);
    }
  }
}

std::vector<Reference> findReferences(std::string marked, const std::vector<std::string>& names) {
  blankMarkedRuns(marked);
  const ReferenceFinder finder(names);
  std::vector<Reference> references;
  finder.forEachReference(marked, [&](std::size_t offset, std::size_t index) {
    references.push_back({offset, finder.name(index)});
  });
  std::sort(references.begin(), references.end(), [](const Reference& a, const Reference& b) {
    return std::tie(a.offset, a.name) < std::tie(b.offset, b.name);
  });
  return references;
}

}  // namespace cq
