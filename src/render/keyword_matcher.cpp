#include "render/keyword_matcher.h"

#include <array>
#include <cstring>
#include <vector>

#include "render/keywords.h"
#include "render/markers.h"

namespace cq {

namespace {

// The items, looked up by the first word of a blank-delimited token. Several items
// share a first word only when they have several words ("Option ...").
struct Item {
  std::string_view text;        // with its blanks, " Option Explicit "
  std::string_view firstWord;
  std::string replacement;      // " " + keyword runs, without the trailing blank
  bool multiWord = false;
};

class ItemTable {
 public:
  ItemTable() {
    const auto& list = keywordItems();
    items_.reserve(list.size());
    for (std::string_view text : list) {
      Item item;
      item.text = text;
      const std::string_view words = text.substr(1, text.size() - 2);
      item.firstWord = words.substr(0, words.find(' '));
      item.multiWord = words.size() != item.firstWord.size();
      std::size_t start = 0;
      while (start <= words.size()) {
        const std::size_t blank = words.find(' ', start);
        const std::string_view word = words.substr(start, blank == std::string_view::npos ? blank : blank - start);
        item.replacement.append(" ").append(markers::kKeyword).append(word).append(markers::kEnd);
        if (blank == std::string_view::npos) break;
        start = blank + 1;
      }
      items_.push_back(std::move(item));
    }
    for (std::size_t k = 0; k < items_.size(); ++k) {
      const char first = items_[k].firstWord.empty() ? '\0' : items_[k].firstWord[0];
      byFirstChar_[static_cast<unsigned char>(first)].push_back(static_cast<int>(k));
    }
  }
  const std::vector<Item>& items() const { return items_; }
  const std::vector<int>& candidates(char first) const { return byFirstChar_[static_cast<unsigned char>(first)]; }

 private:
  std::vector<Item> items_;
  std::array<std::vector<int>, 256> byFirstChar_;
};

const ItemTable& table() {
  static const ItemTable t;
  return t;
}

}  // namespace

std::string markKeywords(std::string_view text) {
  const ItemTable& items = table();
  // Position of the trailing blank of each item's last match: the next match of
  // the same item cannot start on it.
  std::vector<std::size_t> lastMatchEnd(items.items().size(), std::string_view::npos);

  std::string out;
  out.reserve(text.size() + text.size() / 2);
  const char* data = text.data();
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const void* hit = std::memchr(data + i, ' ', n - i);
    if (!hit) {
      out.append(data + i, n - i);
      break;
    }
    const std::size_t blank = static_cast<const char*>(hit) - data;
    out.append(data + i, blank - i);
    const void* next = blank + 1 < n ? std::memchr(data + blank + 1, ' ', n - blank - 1) : nullptr;
    if (!next) {
      out.append(data + blank, n - blank);
      break;
    }
    const std::size_t tokenEnd = static_cast<const char*>(next) - data;
    const std::string_view token(data + blank + 1, tokenEnd - blank - 1);
    std::size_t matchedEnd = std::string_view::npos;
    if (!token.empty()) {
      for (int k : items.candidates(token[0])) {
        const Item& item = items.items()[k];
        if (item.firstWord != token || lastMatchEnd[k] == blank) continue;
        if (item.multiWord && text.substr(blank, item.text.size()) != item.text) continue;
        matchedEnd = blank + item.text.size() - 1;
        lastMatchEnd[k] = matchedEnd;
        out.append(item.replacement);
        break;
      }
    }
    if (matchedEnd != std::string_view::npos) {
      i = matchedEnd;  // the trailing blank may lead the next match
    } else {
      out.push_back(' ');
      out.append(token);
      i = tokenEnd;
    }
  }
  return out;
}

}  // namespace cq
