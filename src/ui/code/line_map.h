#pragma once
// Where the lines of a module text lie in two numberings: byte offsets of the
// engine's UTF-8 text, where CR LF counts two, and positions in a code view's
// document: UTF-16 units, where every line break is one block separator.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cq {

class LineMap {
 public:
  // Line breaks are CR LF, a lone CR or a lone LF, as the document splits them.
  explicit LineMap(std::string_view text = {});

  // At least 1: a text ending in a line break has an empty last line.
  std::size_t lineCount() const { return lines_.size(); }
  // Positions beyond the text count as its end.
  std::size_t lineOfOffset(std::size_t offset) const;

  // An offset inside a line break (between CR and LF) maps to the break itself.
  int documentPosition(std::size_t offset) const;
  std::size_t offsetOfDocumentPosition(int position) const;

 private:
  int documentLength() const;
  std::string_view lineText(std::size_t index) const;

  struct Line {
    std::size_t offset = 0;            // first byte
    std::size_t length = 0;            // bytes before the line break
    std::size_t documentPosition = 0;  // UTF-16 units before the line
    std::size_t units = 0;             // UTF-16 units before the line break
  };
  std::string text_;  // lines beyond ASCII map their positions through it
  std::vector<Line> lines_;
};

}  // namespace cq
