#pragma once
// The one reader of marked-up text. It decodes the text once and tells a writer
// what to produce: code bytes, line breaks and the rendered markers. The HTML,
// RTF and code-view writers all consume it, so they colour every text alike.
//
// Markers resolve as if each kind were replaced over the whole text in turn:
// end, comment, keyword, string, bold, bold end. Where two occurrences overlap,
// the kind replaced first wins; with bold lines off the bold markers vanish, and
// bytes they separated can join into a bold end marker (which then vanishes too)
// or into a line break. Well-formed text has none of this and takes a fast path.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace cq {

// A rendered marker: back to plain code, a run of comment, keyword or string,
// the start or end of a bold line.
enum class Mark : unsigned char { kEnd, kComment, kKeyword, kString, kBold, kBoldEnd };

namespace marked_text_detail {

// A rendered marker found in the text the walk reads: `length` bytes from
// `start` give way to the mark, which writers see only where it is `shown`.
struct FoundMark {
  std::size_t start = 0;
  std::size_t length = 0;
  Mark mark = Mark::kEnd;
  bool shown = true;
};

// The first `wanted` byte at or after `from`, or npos. Stops are a few bytes
// apart in code, so eight bytes are tested at a time inline rather than calling
// a library search for every short stretch.
template <char wanted>
std::size_t nextByte(std::string_view text, std::size_t from) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  constexpr std::uint64_t kWanted = kOnes * static_cast<unsigned char>(wanted);
  const char* const data = text.data();
  std::size_t at = from;
  if constexpr (std::endian::native == std::endian::little) {
    for (; at + 8 <= text.size(); at += 8) {
      std::uint64_t word;
      std::memcpy(&word, data + at, sizeof word);
      const std::uint64_t x = word ^ kWanted;
      // The lowest flagged byte is the first zero byte of x: flags above it may be false.
      if (const std::uint64_t zeros = (x - kOnes) & ~x & kHighBits)
        return at + static_cast<std::size_t>(std::countr_zero(zeros) / 8);
    }
  }
  for (; at < text.size(); ++at)
    if (data[at] == wanted) return at;
  return std::string_view::npos;
}

// Hands stretches of one text to the sink as code and line breaks. The
// stretches come in order; a CR that ends one waits for the next, because a
// vanished marker may have stood between CR and LF.
template <typename Sink>
class LineSplitter {
 public:
  LineSplitter(std::string_view text, Sink& sink) : text_(text), sink_(sink), nextCr_(nextByte<'\r'>(text, 0)) {}

  void text(std::size_t from, std::size_t to) {
    if (from == to) return;
    if (pendingCr_) {
      pendingCr_ = false;
      if (text_[from] == '\n') {
        sink_.lineBreak();
        ++from;
      } else {
        sink_.text("\r");
      }
    }
    // One search per line rather than per stretch: stretches are short.
    while (nextCr_ < to) {
      const std::size_t cr = nextCr_;
      nextCr_ = nextByte<'\r'>(text_, cr + 1);
      if (cr + 1 == to) {
        code(from, cr);
        pendingCr_ = true;
        return;
      }
      if (text_[cr + 1] == '\n') {
        code(from, cr);
        sink_.lineBreak();
        from = cr + 2;
      }
    }
    code(from, to);
  }

  void mark(Mark mark) {
    flush();
    sink_.mark(mark);
  }

  void flush() {
    if (pendingCr_) sink_.text("\r");
    pendingCr_ = false;
  }

 private:
  void code(std::size_t from, std::size_t to) {
    if (from < to) sink_.text(text_.substr(from, to - from));
  }

  std::string_view text_;
  Sink& sink_;
  std::size_t nextCr_;
  bool pendingCr_ = false;
};

}  // namespace marked_text_detail

class MarkedTextDecoder {
 public:
  // Finds the markers of `marked`, which must outlive the decoder. With
  // `boldLines` off the bold markers vanish.
  MarkedTextDecoder(std::string_view marked, bool boldLines);

  // At least as many marks as the walk reports, to size the writers' output.
  std::size_t markCount() const { return marks_.size(); }

  // Tells the sink, in order:
  //   sink.text(std::string_view bytes)  code as it stands (never holding CR LF)
  //   sink.lineBreak()                   CR LF
  //   sink.mark(Mark mark)               a rendered marker
  template <typename Sink>
  void walk(Sink& sink) const {
    const std::string_view text = resolved_ ? std::string_view(resolvedText_) : marked_;
    marked_text_detail::LineSplitter<Sink> out(text, sink);
    std::size_t done = 0;
    for (const marked_text_detail::FoundMark& found : marks_) {
      out.text(done, found.start);
      if (found.shown) out.mark(found.mark);
      done = found.start + found.length;
    }
    out.text(done, text.size());
    out.flush();
  }

 private:
  std::string_view marked_;
  // Where markers overlap or vanished bold markers could join their
  // neighbours, the walk reads the bytes the replacements in turn leave.
  bool resolved_ = false;
  std::string resolvedText_;
  std::vector<marked_text_detail::FoundMark> marks_;
};

}  // namespace cq
