#include "analysis/reference_finder.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <unordered_set>

#include "analysis/identifiers.h"
#include "analysis/marked_runs.h"

namespace cq {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Identifier characters (digits included) by byte: the word scan asks for every byte.
const std::array<bool, 256>& wordTable() {
  static const std::array<bool, 256> table = [] {
    std::array<bool, 256> t{};
    for (int c = 0; c < 256; ++c) t[static_cast<std::size_t>(c)] = isIdentifierCharacter(static_cast<char>(c));
    return t;
  }();
  return table;
}

bool isWordByte(const std::array<bool, 256>& table, char c) { return table[static_cast<unsigned char>(c)]; }

}  // namespace

ReferenceFinder::ReferenceFinder(const std::vector<std::string>& names) {
  std::unordered_set<std::string_view> seen;
  for (const std::string& name : names)
    if (!name.empty() && seen.insert(name).second) names_.push_back(name);
  // The views below point into names_, which no longer changes.
  const auto& table = wordTable();
  for (std::size_t i = 0; i < names_.size(); ++i) {
    const std::string& name = names_[i];
    if (std::all_of(name.begin(), name.end(), [&](char c) { return isWordByte(table, c); })) {
      wordNames_.emplace(name, i);
      shortest_ = wordNames_.size() == 1 ? name.size() : std::min(shortest_, name.size());
      longest_ = std::max(longest_, name.size());
    } else {
      otherNames_.push_back(i);
    }
  }
}

void ReferenceFinder::forEachReference(
    std::string_view clean, const std::function<void(std::size_t offset, std::size_t nameIndex)>& visit) const {
  const auto& table = wordTable();
  // A word name can only be a reference where it ends a run of word characters,
  // starting at the run's start or right after a digit inside it.
  if (!wordNames_.empty()) {
    const std::size_t size = clean.size();
    for (std::size_t i = 0; i < size;) {
      if (!isWordByte(table, clean[i])) {
        ++i;
        continue;
      }
      const std::size_t start = i;
      while (i < size && isWordByte(table, clean[i])) ++i;
      for (std::size_t at = start; at < i; ++at) {
        if (at != start && !isDigit(clean[at - 1])) continue;
        const std::size_t length = i - at;
        if (length < shortest_ || length > longest_) continue;
        const auto found = wordNames_.find(clean.substr(at, length));
        if (found != wordNames_.end()) visit(at, found->second);
      }
    }
  }
  // Any other name the plain way: from the end backwards, each next place
  // wholly before the last.
  for (const std::size_t index : otherNames_) {
    const std::string& name = names_[index];
    for (std::size_t at = clean.rfind(name); at != std::string_view::npos;
         at = at >= name.size() ? clean.rfind(name, at - name.size()) : std::string_view::npos) {
      const bool freeBefore = at == 0 || !isWordByte(table, clean[at - 1]) || isDigit(clean[at - 1]);
      const std::size_t after = at + name.size();
      const bool freeAfter = after >= clean.size() || !isWordByte(table, clean[after]);
      if (freeBefore && freeAfter) visit(at, index);
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
  std::sort(references.begin(), references.end(),
            [](const Reference& a, const Reference& b) { return std::tie(a.offset, a.name) < std::tie(b.offset, b.name); });
  return references;
}

}  // namespace cq
