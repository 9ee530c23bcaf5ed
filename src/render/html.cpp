#include "render/html.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

#include "text/markers.h"
#include "text/text_replace.h"

namespace cq {

namespace {

// Entity for each byte, empty where the byte stays. Applying the table in one
// pass equals replacing the characters one after another ("&" first): no
// entity contains a character that the table replaces, except "&" itself,
// which is only ever replaced before any entity exists.
using EntityTable = std::array<std::string_view, 256>;

constexpr EntityTable makeEntityTable() {
  EntityTable table{};
  table[static_cast<unsigned char>('&')] = "&#38;";
  table[static_cast<unsigned char>('<')] = "&lt;";
  table[static_cast<unsigned char>('>')] = "&gt;";
  table[228] = "&auml;";
  table[246] = "&ouml;";
  table[252] = "&uuml;";
  table[196] = "&Auml;";
  table[214] = "&Ouml;";
  table[220] = "&Uuml;";
  table[223] = "&szlig;";
  table[static_cast<unsigned char>('"')] = "&#34;";
  table[static_cast<unsigned char>(':')] = "&#58;";
  table[static_cast<unsigned char>(')')] = "&#41;";
  table[static_cast<unsigned char>('(')] = "&#40;";
  table[static_cast<unsigned char>('+')] = "&#43;";
  return table;
}

constexpr EntityTable kEntities = makeEntityTable();

// Compact per-byte tables for the hot loops: bytes an entity adds, and the bytes
// where copying must stop (an entity, or "|", with which every marker starts).
using ByteTable = std::array<std::uint8_t, 256>;

constexpr ByteTable makeExtraLengths() {
  ByteTable table{};
  for (std::size_t b = 0; b < table.size(); ++b)
    if (!kEntities[b].empty()) table[b] = static_cast<std::uint8_t>(kEntities[b].size() - 1);
  return table;
}

constexpr ByteTable makeStops() {
  ByteTable table{};
  for (std::size_t b = 0; b < table.size(); ++b) table[b] = kEntities[b].empty() ? 0 : 1;
  table[static_cast<unsigned char>('|')] = 1;
  return table;
}

constexpr ByteTable kExtraLengths = makeExtraLengths();
constexpr ByteTable kStops = makeStops();

// A marker and the HTML it becomes; the fragment replaces them in array order.
// Every rendered marker is four bytes with the marker character at index 1 or 2,
// so a marker is compared as one 32-bit word.
struct MarkerOutput {
  std::string_view marker;
  std::string output;
};
using MarkerOutputs = std::array<MarkerOutput, 6>;
constexpr std::size_t kMarkerSize = 4;
static_assert(markers::kEnd.size() == kMarkerSize && markers::kComment.size() == kMarkerSize &&
              markers::kKeyword.size() == kMarkerSize && markers::kString.size() == kMarkerSize &&
              markers::kBold.size() == kMarkerSize && markers::kBoldEnd.size() == kMarkerSize);

std::uint32_t wordAt(const char* p) {
  std::uint32_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

std::string colourSpan(std::int32_t colour) {
  return "<span style=\"color:" + htmlColour(colour) + "\"; >";
}

MarkerOutputs htmlMarkerOutputs(const RenderOptions& options) {
  const bool bold = options.boldRoutineLines;
  return {{{markers::kEnd, "</span>"},
           {markers::kComment, colourSpan(options.commentColour)},
           {markers::kKeyword, colourSpan(options.keywordColour)},
           {markers::kString, colourSpan(options.stringColour)},
           {markers::kBold, bold ? "<b>" : ""},
           {markers::kBoldEnd, bold ? "</b>" : ""}}};
}

// The marker starting at `p` (kMarkerSize bytes readable), or nullptr.
const MarkerOutput* markerAt(const char* p, const MarkerOutputs& outputs) {
  const std::uint32_t word = wordAt(p);
  for (const MarkerOutput& entry : outputs)
    if (word == wordAt(entry.marker.data())) return &entry;
  return nullptr;
}

// When no two occurrences of the rendered markers overlap (and, where a marker
// is removed, every marker character belongs to one), returns how many bytes
// the replacements add. No output holds a marker character, so then no
// replacement can hide or create another, and one pass gives what the
// replacements one after another give. Otherwise returns nothing.
std::optional<std::ptrdiff_t> growthOfStandAloneMarkers(std::string_view text, const MarkerOutputs& outputs) {
  std::ptrdiff_t growth = 0;
  std::size_t occupiedUntil = 0;
  const bool removesMarkers =
      std::any_of(outputs.begin(), outputs.end(), [](const MarkerOutput& entry) { return entry.output.empty(); });
  for (std::size_t at = text.find(markers::kChar); at != std::string_view::npos;
       at = text.find(markers::kChar, at + 1)) {
    // A marker character at index 1 is followed by a letter, one at index 2 by
    // "|", so at most one rendered marker can hold a given marker character.
    const MarkerOutput* found = nullptr;
    std::size_t start = 0;
    for (const std::size_t offset : {1, 2}) {
      if (at < offset || at - offset + kMarkerSize > text.size()) continue;
      const MarkerOutput* entry = markerAt(text.data() + at - offset, outputs);
      if (!entry) continue;
      found = entry;
      start = at - offset;
    }
    // A marker character that no marker holds stays inert while every output is
    // text without "|": no replacement can then complete a marker around it. A
    // removed marker (bold lines off) could join its neighbours into one.
    if (!found && removesMarkers) return std::nullopt;
    if (!found) continue;
    if (start < occupiedUntil) return std::nullopt;
    occupiedUntil = start + kMarkerSize;
    growth += static_cast<std::ptrdiff_t>(found->output.size()) - static_cast<std::ptrdiff_t>(kMarkerSize);
  }
  return growth;
}

std::size_t escapedSize(std::string_view text) {
  std::size_t size = text.size();
  for (const char c : text) size += kExtraLengths[static_cast<unsigned char>(c)];
  return size;
}

// Appends the escaped text to `out` in one pass and, given outputs, also
// replaces the markers (each starts with "|", which the escape leaves alone).
// Plain bytes are copied in stretches.
void appendEscaped(std::string_view text, const MarkerOutputs* outputs, std::string& out) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* stretch = begin;
  for (const char* p = begin; p != end;) {
    if (!kStops[static_cast<unsigned char>(*p)]) {
      ++p;
      continue;
    }
    const std::string_view entity = kEntities[static_cast<unsigned char>(*p)];
    if (!entity.empty()) {
      out.append(stretch, p);
      out.append(entity);
      stretch = ++p;
      continue;
    }
    if (outputs && end - p >= static_cast<std::ptrdiff_t>(kMarkerSize)) {
      if (const MarkerOutput* entry = markerAt(p, *outputs)) {
        out.append(stretch, p);
        out.append(entry->output);
        p += kMarkerSize;
        stretch = p;
        continue;
      }
    }
    ++p;
  }
  out.append(stretch, end);
}

}  // namespace

std::string escapeHtml(std::string_view text) {
  std::string out;
  out.reserve(escapedSize(text));
  appendEscaped(text, nullptr, out);
  return out;
}

std::string htmlColour(std::int32_t colour) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto v = static_cast<std::uint32_t>(colour);
  std::string out = "#";
  for (const int shift : {0, 8, 16}) {
    const unsigned byte = (v >> shift) & 0xFFu;
    out += kHex[byte >> 4];
    out += kHex[byte & 0xFu];
  }
  return out;
}

std::string markedToHtml(std::string_view marked, const RenderOptions& options) {
  static constexpr std::string_view kFragmentEnd = "</span></pre>";
  std::string fragment = "<pre><span style=\"font-family=";
  fragment += options.fontName;
  fragment += ",Arial; font-size=";
  fragment += std::to_string(options.fontSize);
  fragment += "pt\"; >";

  const MarkerOutputs outputs = htmlMarkerOutputs(options);
  if (const std::optional<std::ptrdiff_t> growth = growthOfStandAloneMarkers(marked, outputs)) {
    // The markers' bytes are part of the escaped size, so the sum is never negative.
    fragment.reserve(fragment.size() + static_cast<std::size_t>(static_cast<std::ptrdiff_t>(escapedSize(marked)) + *growth) +
                     kFragmentEnd.size());
    appendEscaped(marked, &outputs, fragment);
  } else {
    // Overlapping or stray markers: replace one kind after another, so they
    // resolve exactly as they always have.
    std::string text = escapeHtml(marked);
    for (const MarkerOutput& entry : outputs) replaceAllInPlace(text, entry.marker, entry.output);
    fragment += text;
  }
  fragment += kFragmentEnd;
  return fragment;
}

std::string htmlCreditLine(std::string_view hostName, std::string_view address) {
  std::string line =
      "<span style=\" font-weight:bold;\"> Code eingef&uuml;gt mit: </span> <a style =\"color:#ffff00; "
      "background-color:#000080; font-weight:bold;\" href=\"";
  line += address;
  line += "\" target=\"blank\">";
  line += hostName;
  line += " Code Quorix</a>";
  return line;
}

std::string htmlPreviewPage(std::string_view hostName, std::string_view fragment) {
  std::string page = "<HTML><HEAD><TITLE>";
  page += hostName;
  page += " Code Quorix</TITLE></HEAD><BODY>";
  page += fragment;
  page += "</Body></HTML>";
  return page;
}

}  // namespace cq
