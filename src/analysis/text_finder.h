#pragma once
// Looking for one fixed text, case-sensitively: skipping along by the text's
// length where the bytes do not fit (Boyer-Moore-Horspool), or by one rare byte.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

namespace cq {

class TextFinder {
 public:
  explicit TextFinder(std::string_view needle) : needle_(needle), searcher_(needle_.begin(), needle_.end()) {}
  TextFinder(const TextFinder&) = delete;
  TextFinder& operator=(const TextFinder&) = delete;

  // Where the text next occurs at or after `from`, or npos.
  std::size_t operator()(std::string_view text, std::size_t from) const {
    if (from > text.size()) return std::string_view::npos;
    const auto at = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), searcher_);
    return at == text.end() ? std::string_view::npos : static_cast<std::size_t>(at - text.begin());
  }

 private:
  std::string needle_;  // the searcher refers to it
  std::boyer_moore_horspool_searcher<std::string::const_iterator> searcher_;
};

// Where `needle` next occurs at or after `from`, or npos, found by its byte at
// index `anchor`: fast where that byte is rare in the text.
inline std::size_t findByByte(std::string_view text, std::string_view needle, std::size_t anchor, std::size_t from) {
  for (std::size_t at = from + anchor; at < text.size();) {
    const void* hit = std::memchr(text.data() + at, needle[anchor], text.size() - at);
    if (hit == nullptr) break;
    const auto found = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    if (text.compare(found - anchor, needle.size(), needle) == 0) return found - anchor;
    at = found + 1;
  }
  return std::string_view::npos;
}

}  // namespace cq
