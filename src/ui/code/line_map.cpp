#include "ui/code/line_map.h"

#include <algorithm>

namespace cq {

LineMap::LineMap(std::string_view text) {
  Line line;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    line.length = i - line.offset;
    lines_.push_back(line);
    const std::size_t breakLength = (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    i += breakLength;
    line.documentPosition += line.length + 1;
    line.offset = i;
  }
  line.length = text.size() - line.offset;
  lines_.push_back(line);
}

std::size_t LineMap::lineOfOffset(std::size_t offset) const {
  const auto after = std::upper_bound(lines_.begin(), lines_.end(), offset,
                                      [](std::size_t value, const Line& l) { return value < l.offset; });
  return static_cast<std::size_t>(after - lines_.begin()) - 1;
}

int LineMap::documentPosition(std::size_t offset) const {
  const Line& line = lines_[lineOfOffset(offset)];
  return static_cast<int>(line.documentPosition + std::min(offset - line.offset, line.length));
}

std::size_t LineMap::offsetOfDocumentPosition(int position) const {
  const std::size_t wanted = static_cast<std::size_t>(std::clamp(position, 0, documentLength()));
  const auto after = std::upper_bound(lines_.begin(), lines_.end(), wanted,
                                      [](std::size_t value, const Line& l) { return value < l.documentPosition; });
  const Line& line = *(after - 1);
  return line.offset + std::min(wanted - line.documentPosition, line.length);
}

int LineMap::documentLength() const {
  const Line& last = lines_.back();
  return static_cast<int>(last.documentPosition + last.length);
}

}  // namespace cq
