#include "render/marked_text_decoder.h"

#include <array>
#include <utility>

#include "text/markers.h"

namespace cq {

namespace {

using marked_text_detail::FoundMark;
using marked_text_detail::nextByte;

constexpr std::size_t kCharSize = markers::kChar.size();
constexpr std::size_t kMarkSize = 3 + kCharSize;

// The rendered marker whose marker character starts at `at`, or false. Markers
// opening a run carry the marker character at index 1, closing ones at index 2,
// so no marker character belongs to two kinds.
constexpr bool markAt(std::string_view text, std::size_t at, Mark& mark, std::size_t& start) {
  const std::size_t after = at + kCharSize;  // the character after the marker character
  if (at >= 1 && after + 1 < text.size() && text[at - 1] == '|' && text[after + 1] == '|') {
    start = at - 1;
    switch (text[after]) {
      case 'k': mark = Mark::kComment; return true;
      case 'f': mark = Mark::kKeyword; return true;
      case 's': mark = Mark::kString; return true;
      case 'x': mark = Mark::kBold; return true;
      default: return false;  // a "|" before it rules out a closing marker
    }
  }
  if (at >= 2 && after < text.size() && text[at - 2] == '|' && text[after] == '|') {
    start = at - 2;
    switch (text[at - 1]) {
      case 'n': mark = Mark::kEnd; return true;
      case 'y': mark = Mark::kBoldEnd; return true;
      default: return false;
    }
  }
  return false;
}

constexpr bool readsAs(std::string_view marker, Mark expected) {
  Mark mark{};
  std::size_t start = 1;
  return marker.size() == kMarkSize && markAt(marker, marker.find(markers::kChar), mark, start) &&
         mark == expected && start == 0;
}
static_assert(readsAs(markers::kEnd, Mark::kEnd) && readsAs(markers::kComment, Mark::kComment) &&
              readsAs(markers::kKeyword, Mark::kKeyword) && readsAs(markers::kString, Mark::kString) &&
              readsAs(markers::kBold, Mark::kBold) && readsAs(markers::kBoldEnd, Mark::kBoldEnd));

bool isShown(Mark mark, bool boldLines) { return boldLines || (mark != Mark::kBold && mark != Mark::kBoldEnd); }

// Collects the markers left to right, or returns false when they cannot be read
// so: two occurrences overlap or, with bold lines off, a marker character
// belongs to none (it could join a bold end marker once a bold marker
// vanished). With nothing removed a stray marker character stays inert: every
// replacement puts output without "|" or marker characters between it and any
// neighbour.
bool findStandAloneMarks(std::string_view text, bool boldLines, std::vector<FoundMark>& marks) {
  std::size_t occupiedUntil = 0;
  // Found by the marker character's last byte, which other characters share
  // only as a continuation byte after another lead byte.
  for (std::size_t last = nextByte<markers::kCharLastByte>(text, 0); last != std::string_view::npos;
       last = nextByte<markers::kCharLastByte>(text, last + 1)) {
    if (last + 1 < kCharSize || text.substr(last + 1 - kCharSize, kCharSize) != markers::kChar) continue;
    const std::size_t at = last + 1 - kCharSize;
    FoundMark found;
    if (!markAt(text, at, found.mark, found.start)) {
      if (!boldLines) return false;
      continue;
    }
    if (found.start < occupiedUntil) return false;
    found.length = kMarkSize;
    found.shown = isShown(found.mark, boldLines);
    marks.push_back(found);
    occupiedUntil = found.start + kMarkSize;
  }
  return true;
}

// The markers in the order their kinds are replaced.
constexpr std::array<std::pair<std::string_view, Mark>, 6> kMarksInTurn = {{{markers::kEnd, Mark::kEnd},
                                                                           {markers::kComment, Mark::kComment},
                                                                           {markers::kKeyword, Mark::kKeyword},
                                                                           {markers::kString, Mark::kString},
                                                                           {markers::kBold, Mark::kBold},
                                                                           {markers::kBoldEnd, Mark::kBoldEnd}}};

// A replaced marker becomes one unit above the byte range, so it can never
// combine with its neighbours into a new marker (no writer's output can).
constexpr char16_t kFirstMarkUnit = 0x100;

bool matchesAt(const std::u16string& units, std::size_t pos, std::string_view marker) {
  if (units.size() - pos < marker.size()) return false;
  for (std::size_t k = 0; k < marker.size(); ++k)
    if (units[pos + k] != static_cast<unsigned char>(marker[k])) return false;
  return true;
}

// Replaces every occurrence of `marker`, left to right without overlap, by its
// unit, or removes it.
void replaceInTurn(std::u16string& units, std::string_view marker, Mark mark, bool keep) {
  std::size_t write = 0;
  for (std::size_t read = 0; read < units.size();) {
    if (matchesAt(units, read, marker)) {
      if (keep) units[write++] = static_cast<char16_t>(kFirstMarkUnit + static_cast<char16_t>(mark));
      read += marker.size();
    } else {
      units[write++] = units[read++];
    }
  }
  units.resize(write);
}

}  // namespace

MarkedTextDecoder::MarkedTextDecoder(std::string_view marked, bool boldLines) : marked_(marked) {
  // Code carries a marker every dozen bytes or so.
  marks_.reserve(marked.size() / 8);
  if (findStandAloneMarks(marked, boldLines, marks_)) return;

  // The replacements one kind after another, on units that keep replaced markers apart.
  marks_.clear();
  resolved_ = true;
  std::u16string units(marked.size(), u'\0');
  for (std::size_t i = 0; i < marked.size(); ++i) units[i] = static_cast<unsigned char>(marked[i]);
  for (const auto& [marker, mark] : kMarksInTurn) replaceInTurn(units, marker, mark, isShown(mark, boldLines));
  resolvedText_.reserve(units.size());
  for (const char16_t unit : units) {
    if (unit >= kFirstMarkUnit)
      marks_.push_back({resolvedText_.size(), 0, static_cast<Mark>(unit - kFirstMarkUnit), true});
    else
      resolvedText_.push_back(static_cast<char>(unit));
  }
}

}  // namespace cq
