#include "ui/code/line_map.h"

#include <algorithm>

#include "text/utf8.h"

namespace cq {

LineMap::LineMap(std::string_view text) : text_(text) {
  Line line;
  const auto close = [&](std::size_t end) {
    line.length = end - line.offset;
    const std::string_view content = text.substr(line.offset, line.length);
    line.units = utf8::isAscii(content) ? line.length : utf8::utf16Length(content);
  };
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    close(i);
    lines_.push_back(line);
    const std::size_t breakLength = (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    i += breakLength;
    line.documentPosition += line.units + 1;
    line.offset = i;
  }
  close(text.size());
  lines_.push_back(line);
}

std::string_view LineMap::lineText(std::size_t index) const {
  return std::string_view(text_).substr(lines_[index].offset, lines_[index].length);
}

std::size_t LineMap::lineOfOffset(std::size_t offset) const {
  const auto after = std::upper_bound(lines_.begin(), lines_.end(), offset,
                                      [](std::size_t value, const Line& l) { return value < l.offset; });
  return static_cast<std::size_t>(after - lines_.begin()) - 1;
}

int LineMap::documentPosition(std::size_t offset) const {
  const std::size_t index = lineOfOffset(offset);
  const Line& line = lines_[index];
  const std::size_t within = std::min(offset - line.offset, line.length);
  const std::size_t units = line.units == line.length ? within : utf8::utf16Length(lineText(index).substr(0, within));
  return static_cast<int>(line.documentPosition + units);
}

std::size_t LineMap::offsetOfDocumentPosition(int position) const {
  const std::size_t wanted = static_cast<std::size_t>(std::clamp(position, 0, documentLength()));
  const auto after = std::upper_bound(lines_.begin(), lines_.end(), wanted,
                                      [](std::size_t value, const Line& l) { return value < l.documentPosition; });
  const std::size_t index = static_cast<std::size_t>(after - lines_.begin()) - 1;
  const Line& line = lines_[index];
  const std::size_t units = std::min(wanted - line.documentPosition, line.units);
  return line.offset + (line.units == line.length ? units : utf8::offsetOfUtf16(lineText(index), units));
}

int LineMap::documentLength() const {
  const Line& last = lines_.back();
  return static_cast<int>(last.documentPosition + last.units);
}

}  // namespace cq
