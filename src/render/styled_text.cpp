#include "render/styled_text.h"

#include "render/marked_text_decoder.h"

namespace cq {

namespace {

// Collects what the decoder reports as the text of a view and its styled runs.
class StyledTextWriter {
 public:
  explicit StyledTextWriter(StyledText& styled) : styled_(styled) {}

  void text(std::string_view bytes) {
    addRun(bytes.size());
    styled_.text += bytes;
  }
  void lineBreak() { text("\r\n"); }
  void mark(Mark mark) {
    switch (mark) {
      case Mark::kEnd: colour_ = kPlainColour; break;
      case Mark::kComment: colour_ = kCommentColour; break;
      case Mark::kKeyword: colour_ = kKeywordColour; break;
      case Mark::kString: colour_ = kStringColour; break;
      case Mark::kBold: bold_ = true; break;
      case Mark::kBoldEnd: bold_ = false; break;
    }
  }

 private:
  // Styles the next `length` bytes, extending the last run where the style continues it.
  void addRun(std::size_t length) {
    if (length == 0 || (colour_ == kPlainColour && !bold_)) return;
    const std::size_t position = styled_.text.size();
    if (!styled_.runs.empty()) {
      StyleRun& last = styled_.runs.back();
      if (last.start + last.length == position && last.colour == colour_ && last.bold == bold_) {
        last.length += length;
        return;
      }
    }
    styled_.runs.push_back({position, length, colour_, bold_});
  }

  StyledText& styled_;
  int colour_ = kPlainColour;
  bool bold_ = false;
};

// Collects the text alone: lookups read it without colours.
class PlainTextWriter {
 public:
  explicit PlainTextWriter(std::string& text) : text_(text) {}

  void text(std::string_view bytes) { text_ += bytes; }
  void lineBreak() { text_ += "\r\n"; }
  void mark(Mark) {}

 private:
  std::string& text_;
};

}  // namespace

StyledText decodeMarkedText(std::string_view marked, bool boldRoutineLines) {
  StyledText styled;
  styled.text.reserve(marked.size());
  StyledTextWriter writer(styled);
  MarkedTextDecoder(marked, boldRoutineLines).walk(writer);
  return styled;
}

std::string plainTextOfMarked(std::string_view marked) {
  std::string text;
  text.reserve(marked.size());
  PlainTextWriter writer(text);
  MarkedTextDecoder(marked, true).walk(writer);
  return text;
}

}  // namespace cq
