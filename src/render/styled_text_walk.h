#pragma once
// Walks decoded text the way MarkedTextDecoder walks marked-up text, so the
// HTML and RTF writers render a stretch of a code view (a selection, the zoom
// view) with exactly the colours and bold lines the view shows.
#include <algorithm>
#include <cstddef>
#include <string_view>

#include "render/marked_text_decoder.h"
#include "render/styled_text.h"

namespace cq {

namespace styled_walk_detail {

// Code and CR LF line breaks of `text`, as the decoder's sinks take them.
template <typename Sink>
void emitText(std::string_view text, Sink& sink) {
  std::size_t from = 0;
  for (std::size_t cr = text.find("\r\n"); cr != std::string_view::npos; cr = text.find("\r\n", from)) {
    if (cr > from) sink.text(text.substr(from, cr - from));
    sink.lineBreak();
    from = cr + 2;
  }
  if (from < text.size()) sink.text(text.substr(from));
}

inline Mark colourMark(int colour) {
  switch (colour) {
    case kKeywordColour:
      return Mark::kKeyword;
    case kCommentColour:
      return Mark::kComment;
    case kStringColour:
      return Mark::kString;
    default:
      return Mark::kEnd;
  }
}

}  // namespace styled_walk_detail

// Tells the sink (text, lineBreak, mark as for MarkedTextDecoder::walk) the
// styled text: each run opens with its bold and colour marks and every run is
// closed again, so plain stretches between runs are plain.
template <typename Sink>
void walkStyledText(const StyledText& styled, Sink& sink) {
  using styled_walk_detail::emitText;
  const std::string_view text = styled.text;
  std::size_t done = 0;
  bool bold = false;
  int colour = kPlainColour;
  const auto setStyle = [&](int newColour, bool newBold) {
    if (colour != kPlainColour && newColour != colour) sink.mark(Mark::kEnd);
    if (bold != newBold) sink.mark(newBold ? Mark::kBold : Mark::kBoldEnd);
    if (newColour != kPlainColour && newColour != colour) sink.mark(styled_walk_detail::colourMark(newColour));
    colour = newColour;
    bold = newBold;
  };
  for (const StyleRun& run : styled.runs) {
    if (run.start >= text.size()) break;
    if (run.start > done) {
      setStyle(kPlainColour, false);
      emitText(text.substr(done, run.start - done), sink);
    }
    const int runColour = run.colour >= kKeywordColour && run.colour <= kStringColour ? run.colour : kPlainColour;
    setStyle(runColour, run.bold);
    const std::size_t start = std::max(run.start, done);
    const std::size_t end = std::min(run.start + run.length, text.size());
    if (end > start) emitText(text.substr(start, end - start), sink);
    done = std::max(done, end);
  }
  setStyle(kPlainColour, false);
  if (done < text.size()) emitText(text.substr(done), sink);
}

}  // namespace cq
