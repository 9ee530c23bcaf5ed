#pragma once
// Decodes marked-up text into what a code view shows: the plain characters and
// the coloured or bold stretches, exactly as the RTF rendering colours them.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cq {

// Colour of a stretch of text, numbered like the RTF colour table.
enum StyleColour : int { kPlainColour = 0, kKeywordColour = 1, kCommentColour = 2, kStringColour = 3 };

// A stretch of decoded text with one style; positions are byte positions in StyledText::text.
struct StyleRun {
  std::size_t start = 0;
  std::size_t length = 0;
  int colour = kPlainColour;
  bool bold = false;
};

// The decoded text keeps every byte that is not part of a marker (tabs and CR LF
// included). The runs are ordered, do not overlap, never touch with equal style,
// and cover only text that is coloured or bold; the rest is plain.
struct StyledText {
  std::string text;
  std::vector<StyleRun> runs;
};

// Read by the one decoder of marked-up text, so even a malformed text decodes as
// the RTF shows it. With boldRoutineLines off the bold markers are dropped, as
// the RTF drops them.
StyledText decodeMarkedText(std::string_view marked, bool boldRoutineLines);

// The decoded text without styles.
std::string plainTextOfMarked(std::string_view marked);

}  // namespace cq
