#pragma once
// 1-based line numbers of ascending offsets in one text, counted on from the
// last offset asked, so that numbering every hit of a text costs one pass.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace cq {

// A line break is CR LF, a lone CR or a lone LF, as a code view counts them;
// module files hold CR LF only, where this is the number of CRs before the offset.
class LineCounter {
 public:
  explicit LineCounter(std::string_view text) : text_(text) {}

  // `offset` must not be below the one asked before.
  std::int64_t lineOf(std::size_t offset) {
    if (offset > text_.size()) offset = text_.size();
    for (; counted_ < offset; ++counted_) {
      const char c = text_[counted_];
      if (c == '\r' || (c == '\n' && (counted_ == 0 || text_[counted_ - 1] != '\r'))) ++line_;
    }
    return line_;
  }

 private:
  std::string_view text_;
  std::size_t counted_ = 0;  // the breaks before this offset are counted
  std::int64_t line_ = 1;
};

}  // namespace cq
