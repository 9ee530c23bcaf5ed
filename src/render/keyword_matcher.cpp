#include "render/keyword_matcher.h"

#include <array>

#include "render/keywords.h"
#include "text/markers.h"

namespace cq {

namespace {

constexpr std::size_t kNever = static_cast<std::size_t>(-2);

// An item of the keyword list: its first word, the words after it (" Base 1"
// for "Option Base 1") and its keyword runs.
struct Item {
  std::string_view firstWord;
  std::string_view moreWords;
  std::string runs;
};

class ItemTable {
 public:
  ItemTable() {
    for (std::string_view text : keywordItems()) {
      const std::string_view words = text.substr(1, text.size() - 2);
      Item item;
      item.firstWord = words.substr(0, words.find(' '));
      item.moreWords = words.substr(item.firstWord.size());
      for (std::size_t start = 0; start <= words.size();) {
        const std::size_t blank = words.find(' ', start);
        if (start > 0) item.runs.push_back(' ');
        item.runs.append(markers::kKeyword)
            .append(words.substr(start, blank == std::string_view::npos ? blank : blank - start))
            .append(markers::kEnd);
        if (blank == std::string_view::npos) break;
        start = blank + 1;
      }
      byFirstChar_[static_cast<unsigned char>(item.firstWord[0])].push_back(static_cast<int>(items_.size()));
      items_.push_back(std::move(item));
    }
  }
  const Item& item(int k) const { return items_[k]; }
  std::size_t size() const { return items_.size(); }
  const std::vector<int>& candidates(char first) const { return byFirstChar_[static_cast<unsigned char>(first)]; }

 private:
  std::vector<Item> items_;
  std::array<std::vector<int>, 256> byFirstChar_;
};

const ItemTable& table() {
  static const ItemTable t;
  return t;
}

constexpr std::array<bool, 256> kSeparators = [] {
  std::array<bool, 256> s{};
  s[' '] = s['\t'] = s['('] = s[')'] = s[','] = true;
  return s;
}();

bool isSeparator(char c) { return kSeparators[static_cast<unsigned char>(c)]; }

}  // namespace

KeywordMatcher::KeywordMatcher() : lastMatchEnd_(table().size(), kNever) {}

void KeywordMatcher::appendMarked(std::string& out, std::string_view code, std::size_t position,
                                  bool touchesRunBefore, bool touchesRunAfter) {
  const ItemTable& items = table();
  const std::size_t n = code.size();
  std::size_t i = 0;
  while (i < n) {
    if (isSeparator(code[i])) {
      const std::size_t from = i;
      while (i < n && isSeparator(code[i])) ++i;
      out.append(code.data() + from, i - from);
      continue;
    }
    std::size_t end = i;
    while (end < n && !isSeparator(code[end])) ++end;
    const std::string_view word = code.substr(i, end - i);
    bool matched = false;
    if (!(i == 0 && touchesRunBefore)) {
      for (int k : items.candidates(word[0])) {
        const Item& item = items.item(k);
        if (item.firstWord != word) continue;
        std::size_t matchEnd = end + item.moreWords.size();
        if (code.substr(end, item.moreWords.size()) != item.moreWords) continue;
        if (matchEnd == n ? touchesRunAfter : !isSeparator(code[matchEnd])) continue;
        const bool sharesBlank = i > 0 && code[i - 1] == ' ' && lastMatchEnd_[k] == position + i - 1;
        if (sharesBlank) continue;
        lastMatchEnd_[k] = position + matchEnd;
        out.append(item.runs);
        end = matchEnd;
        matched = true;
        break;
      }
    }
    if (!matched) out.append(word);
    i = end;
  }
}

}  // namespace cq
