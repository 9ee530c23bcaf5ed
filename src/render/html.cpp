#include "render/html.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "render/marked_text_decoder.h"
#include "render/styled_text_walk.h"

namespace cq {

namespace {

// Entity for each ASCII byte, empty where the byte stays; the German letters
// (two bytes each in UTF-8, the first 0xC3) have their own. Applying the tables
// in one pass equals replacing the characters one after another ("&" first): no
// entity contains a character that they replace, except "&" itself, which is
// only ever replaced before any entity exists. Every other character stays as
// it is: the page and the clipboard carry UTF-8.
using EntityTable = std::array<std::string_view, 256>;

constexpr EntityTable makeEntityTable() {
  EntityTable table{};
  table[static_cast<unsigned char>('&')] = "&#38;";
  table[static_cast<unsigned char>('<')] = "&lt;";
  table[static_cast<unsigned char>('>')] = "&gt;";
  table[static_cast<unsigned char>('"')] = "&#34;";
  table[static_cast<unsigned char>(':')] = "&#58;";
  table[static_cast<unsigned char>(')')] = "&#41;";
  table[static_cast<unsigned char>('(')] = "&#40;";
  table[static_cast<unsigned char>('+')] = "&#43;";
  return table;
}

constexpr EntityTable kEntities = makeEntityTable();

constexpr unsigned char kGermanLetterLead = 0xC3;

// By the second byte of ä ö ü Ä Ö Ü ß.
constexpr EntityTable makeGermanEntityTable() {
  EntityTable table{};
  table[0xA4] = "&auml;";
  table[0xB6] = "&ouml;";
  table[0xBC] = "&uuml;";
  table[0x84] = "&Auml;";
  table[0x96] = "&Ouml;";
  table[0x9C] = "&Uuml;";
  table[0x9F] = "&szlig;";
  return table;
}

constexpr EntityTable kGermanEntities = makeGermanEntityTable();

// Bytes an entity adds, per byte: a compact table for the hot loops; the lead
// byte of the German letters is marked so that the loops look closer there.
using ByteTable = std::array<std::uint8_t, 256>;

constexpr ByteTable makeExtraLengths() {
  ByteTable table{};
  for (std::size_t b = 0; b < table.size(); ++b)
    if (!kEntities[b].empty()) table[b] = static_cast<std::uint8_t>(kEntities[b].size() - 1);
  table[kGermanLetterLead] = 1;
  return table;
}

constexpr ByteTable kExtraLengths = makeExtraLengths();

// The entity of the character at `p` and the bytes it replaces; empty where the
// character stays.
std::string_view entityAt(const char* p, const char* end, std::size_t& length) {
  const auto byte = static_cast<unsigned char>(*p);
  if (byte != kGermanLetterLead) {
    length = 1;
    return kEntities[byte];
  }
  length = 2;
  return p + 1 != end ? kGermanEntities[static_cast<unsigned char>(p[1])] : std::string_view();
}

std::size_t escapedSize(std::string_view text) {
  std::size_t size = text.size();
  const char* const end = text.data() + text.size();
  for (const char* p = text.data(); p != end; ++p) {
    if (!kExtraLengths[static_cast<unsigned char>(*p)]) continue;
    std::size_t length = 0;
    const std::string_view entity = entityAt(p, end, length);
    if (!entity.empty()) size += entity.size() - length;
  }
  return size;
}

// Appends the escaped text to `out` in one pass; plain bytes are copied in stretches.
void appendEscaped(std::string_view text, std::string& out) {
  const char* const end = text.data() + text.size();
  const char* stretch = text.data();
  for (const char* p = stretch; p != end; ++p) {
    if (!kExtraLengths[static_cast<unsigned char>(*p)]) continue;
    std::size_t length = 0;
    const std::string_view entity = entityAt(p, end, length);
    if (entity.empty()) continue;
    out.append(stretch, static_cast<std::size_t>(p - stretch));
    out.append(entity);
    p += length - 1;
    stretch = p + 1;
  }
  out.append(stretch, static_cast<std::size_t>(end - stretch));
}

std::string colourSpan(std::int32_t colour) {
  return "<span style=\"color:" + htmlColour(colour) + "\"; >";
}

// Writes what the decoder reports as HTML: escaped code, colour spans and bold tags.
class HtmlWriter {
 public:
  HtmlWriter(const RenderOptions& options, std::string& out)
      : out_(out),
        marks_{"</span>", colourSpan(options.commentColour), colourSpan(options.keywordColour),
               colourSpan(options.stringColour), "<b>", "</b>"} {}

  void text(std::string_view bytes) { appendEscaped(bytes, out_); }
  void lineBreak() { out_ += "\r\n"; }
  void mark(Mark mark) { out_ += marks_[static_cast<std::size_t>(mark)]; }
  std::size_t longestMark() const {
    return std::max_element(marks_.begin(), marks_.end(), [](const std::string& a, const std::string& b) {
             return a.size() < b.size();
           })->size();
  }

 private:
  std::string& out_;
  std::array<std::string, 6> marks_;  // by Mark
};

// The <pre> block with the code font around what `walk` writes. The font is
// written as CSS that browsers apply; the name is entity-escaped because it
// stands inside a quoted attribute.
template <typename Walk>
std::string htmlFragment(const RenderOptions& options, std::size_t textSize, std::size_t markCount, Walk walk) {
  static constexpr std::string_view kFragmentEnd = "</span></pre>";
  std::string fragment = "<pre><span style=\"font-family:";
  fragment += escapeHtml(options.fontName);
  fragment += ",Arial; font-size:";
  fragment += std::to_string(options.fontSize);
  fragment += "pt\"; >";
  HtmlWriter writer(options, fragment);
  // Room for every mark as the longest tag; entities are rare enough to fit
  // the room that closing tags leave.
  fragment.reserve(fragment.size() + textSize + markCount * writer.longestMark() + kFragmentEnd.size());
  walk(writer);
  fragment += kFragmentEnd;
  return fragment;
}

}  // namespace

std::string escapeHtml(std::string_view text) {
  std::string out;
  out.reserve(escapedSize(text));
  appendEscaped(text, out);
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
  const MarkedTextDecoder decoder(marked, options.boldRoutineLines);
  return htmlFragment(options, marked.size(), decoder.markCount(),
                      [&](HtmlWriter& writer) { decoder.walk(writer); });
}

std::string styledToHtml(const StyledText& styled, const RenderOptions& options) {
  return htmlFragment(options, styled.text.size(), 2 * styled.runs.size() + 2,
                      [&](HtmlWriter& writer) { walkStyledText(styled, writer); });
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
  // The page is UTF-8, which the browser must not have to guess.
  std::string page = "<HTML><HEAD><meta charset=\"utf-8\"><TITLE>";
  page += hostName;
  page += " Code Quorix</TITLE></HEAD><BODY>";
  page += fragment;
  page += "</Body></HTML>";
  return page;
}

}  // namespace cq
