#include "ui/code/text_operations.h"

#include <string>

#include "ui/code/code_view.h"

namespace cq {
namespace {

constexpr int kMaximumProbes = 1000;

bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

// The middle of two positions, halves rounded to the even neighbour.
std::size_t middle(std::size_t lower, std::size_t upper) {
  const std::size_t sum = lower + upper;
  const std::size_t half = sum / 2;
  return (sum % 2 == 1 && half % 2 == 1) ? half + 1 : half;
}

void moveCaretBackToLineBreak(CodeView& view) {
  const std::string& text = view.text();
  std::size_t p = view.caretOffset();
  while (p > 0 && !isLineBreak(text[p - 1])) --p;
  view.setCaret(p);
}

// Steps back over one line break only, so that an empty line before the caret's
// line is not skipped.
void moveCaretBackPastLineBreak(CodeView& view) {
  const std::string& text = view.text();
  std::size_t p = view.caretOffset();
  if (p > 0 && text[p - 1] == '\n') --p;
  if (p > 0 && text[p - 1] == '\r') --p;
  view.setCaret(p);
}

void moveCaretForwardToLineBreak(CodeView& view) {
  const std::string& text = view.text();
  std::size_t p = view.caretOffset();
  while (p < text.size() && !isLineBreak(text[p])) ++p;
  view.setCaret(p);
}

void extendSelectionOverNonBlanks(CodeView& view) {
  const std::string& text = view.text();
  const std::size_t start = view.caretOffset();
  std::size_t end = start;
  while (end < text.size() && text[end] != ' ') ++end;
  view.setSelection(start, end - start);
}

}  // namespace

bool goToLine(CodeView& view, std::int64_t line) {
  const std::size_t length = view.text().size();
  // From the end, the jump back brings the wanted line to the top.
  view.setCaret(length);
  std::size_t lower = 0;
  std::size_t upper = length;
  for (int probes = 0; probes < kMaximumProbes; ++probes) {
    const std::size_t probe = middle(lower, upper);
    const auto probeLine = static_cast<std::int64_t>(view.lineOfOffset(probe));
    if (probeLine == line - 1 || probeLine == line) {
      view.setCaret(probe);
      if (probeLine == line) {  // one line too far: to the end of the wanted line
        moveCaretBackToLineBreak(view);
        moveCaretBackPastLineBreak(view);
      }
      showCaretLineAtTop(view);
      return true;
    }
    if (probeLine > line)
      upper = probe;
    else
      lower = probe;
  }
  return false;
}

void selectFirstWordOfLine(CodeView& view) {
  moveCaretBackToLineBreak(view);
  extendSelectionOverNonBlanks(view);
}

void showCaretLineAtTop(CodeView& view) {
  selectFirstWordOfLine(view);
  view.scrollLineToTop(caretLine(view));
}

std::size_t caretLine(const CodeView& view) { return view.lineOfOffset(view.caretOffset()); }

bool fillZoomForLine(CodeView& module, CodeView& zoom, std::pair<std::int64_t, std::int64_t> range) {
  const auto [first, last] = range;
  if (first == 0 || !goToLine(module, first)) return false;
  const std::size_t routineStart = module.caretOffset();
  if (!goToLine(module, last)) return false;
  moveCaretForwardToLineBreak(module);
  const std::size_t routineEnd = module.caretOffset();
  if (routineEnd < routineStart) return false;
  module.setSelection(routineStart, routineEnd - routineStart);
  zoom.setStyledText(module.styledRange(routineStart, routineEnd), module.renderOptions());
  module.setSelection(routineStart, 1);
  return true;
}

}  // namespace cq
