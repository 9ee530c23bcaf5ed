#include "render/rtf.h"

#include <array>
#include <cmath>

#include "render/marked_text_decoder.h"
#include "render/styled_text_walk.h"
#include "text/text_decoding.h"
#include "text/utf8.h"

namespace cq {

namespace {

// What each code byte becomes in RTF; empty where the byte stays. Bytes beyond
// ASCII start a character that the writer looks at on its own: they are marked
// in the same table so that one look-up a byte finds every byte to stop at.
using ByteOutputs = std::array<std::string_view, 256>;

inline constexpr std::string_view kCharacterBeyondAscii = "?";

constexpr ByteOutputs makeByteOutputs() {
  ByteOutputs table{};
  for (std::size_t byte = 0x80; byte < table.size(); ++byte) table[byte] = kCharacterBeyondAscii;
  table[static_cast<unsigned char>('\\')] = "\\\\";
  table[static_cast<unsigned char>('{')] = "\\{";
  table[static_cast<unsigned char>('}')] = "\\}";
  table[static_cast<unsigned char>('\t')] = "\\tab ";
  return table;
}

constexpr ByteOutputs kByteOutputs = makeByteOutputs();

// A character beyond ASCII: in a Western document the Windows-1252 byte where
// the code page holds the character (as `westernByte` writes it), else as
// "\uN?" with N the signed UTF-16 unit ("?" for readers without Unicode).
template <typename WesternByte>
void appendNonAscii(std::string& out, char32_t codePoint, bool western, WesternByte westernByte) {
  if (western) {
    char byte = 0;
    if (windows1252ByteOf(codePoint, byte)) {
      westernByte(out, byte);
      return;
    }
  }
  const auto unit = [&out](std::uint32_t value) {
    out += "\\u";
    out += std::to_string(static_cast<std::int16_t>(static_cast<std::uint16_t>(value)));
    out += '?';
  };
  if (codePoint == utf8::kInvalid) codePoint = 0xFFFD;
  if (codePoint >= 0x10000) {
    unit(0xD800 + ((codePoint - 0x10000) >> 10));
    unit(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
  } else {
    unit(codePoint);
  }
}

// Windows-1252 documents keep the default header; so do UTF-8 projects (module
// files of other tools), since no RTF reader takes 65001 as its ANSI code
// page: their characters beyond Windows-1252 go as \uN?.
bool isWestern(int codePage) { return codePage == 1252 || codePage == 65001; }

// Writes what the decoder reports as an RTF body: escaped code, colour and bold control words.
class RtfWriter {
 public:
  RtfWriter(std::string& out, int codePage) : out_(out), western_(isWestern(codePage)) {}

  void text(std::string_view bytes) {
    const char* const end = bytes.data() + bytes.size();
    const char* stretch = bytes.data();
    for (const char* p = stretch; p != end; ++p) {
      const auto byte = static_cast<unsigned char>(*p);
      const std::string_view output = kByteOutputs[byte];
      if (output.empty()) continue;
      if (byte >= 0x80) {
        out_.append(stretch, static_cast<std::size_t>(p - stretch));
        // U+00A0 to U+00FF, most of what Western code holds beyond ASCII: two
        // bytes whose Windows-1252 byte is the code point.
        if (western_ && (byte == 0xC2 || byte == 0xC3) && end - p >= 2) {
          const auto second = static_cast<unsigned char>(p[1]);
          if ((second & 0xC0) == 0x80 && (byte == 0xC3 || second >= 0xA0)) {
            out_ += static_cast<char>(((byte & 0x03) << 6) | (second & 0x3F));
            stretch = ++p + 1;
            continue;
          }
        }
        std::size_t at = static_cast<std::size_t>(p - bytes.data());
        const char32_t codePoint = utf8::next(bytes, at);
        appendNonAscii(out_, codePoint, western_, [](std::string& out, char c) { out += c; });
        p = bytes.data() + at - 1;
        stretch = p + 1;
        continue;
      }
      out_.append(stretch, static_cast<std::size_t>(p - stretch));
      out_.append(output);
      stretch = p + 1;
    }
    out_.append(stretch, static_cast<std::size_t>(end - stretch));
  }
  // "\par " opens each following line.
  void lineBreak() { out_ += "\r\n\\par "; }
  void mark(Mark mark) {
    // By Mark: colour indices 0 plain, 1 keyword, 2 comment, 3 string.
    static constexpr std::array<std::string_view, 6> kControlWords = {"\\cf0 ", "\\cf2 ", "\\cf1 ",
                                                                      "\\cf3 ", "\\b ",   "\\b0 "};
    out_ += kControlWords[static_cast<std::size_t>(mark)];
  }

 private:
  std::string& out_;
  bool western_;
};

// A font name as the font table needs it: backslashes and braces escaped;
// control characters and the ";" that ends an entry as \'hh, as are characters
// beyond ASCII that a Western document holds; any other character as \uN?.
std::string rtfFontName(std::string_view name, int codePage) {
  static constexpr char kHex[] = "0123456789abcdef";
  const auto hexByte = [](std::string& out, char c) {
    const auto byte = static_cast<unsigned char>(c);
    out += "\\'";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xFu];
  };
  std::string out;
  for (std::size_t at = 0; at < name.size();) {
    const char c = name[at];
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) {
      appendNonAscii(out, utf8::next(name, at), isWestern(codePage), hexByte);
      continue;
    }
    ++at;
    if (byte < 0x20 || c == ';') {
      hexByte(out, c);
      continue;
    }
    if (c == '\\' || c == '{' || c == '}') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

std::string markedToRtf(std::string_view marked, const RenderOptions& options) {
  const MarkedTextDecoder decoder(marked, options.boldRoutineLines);
  std::string rtf;
  // Room for every mark as a control word and a line break every few dozen bytes.
  rtf.reserve(marked.size() + marked.size() / 8 + decoder.markCount() * 2);
  RtfWriter writer(rtf, options.codePage);
  decoder.walk(writer);
  return rtf;
}

std::string styledToRtf(const StyledText& styled, int codePage) {
  std::string rtf;
  rtf.reserve(styled.text.size() + styled.text.size() / 8 + styled.runs.size() * 8);
  RtfWriter writer(rtf, codePage);
  walkStyledText(styled, writer);
  return rtf;
}

std::string rtfColourEntry(std::int32_t colour) {
  // Truncating remainders, so a negative value splits the same way it always has.
  const std::int64_t v = colour;
  const std::int64_t low = v % 65536;
  const std::int64_t red = low % 256;
  const std::int64_t green = (low - red) / 256;
  const std::int64_t blue = (v - low) / 65536;
  return "\\red" + std::to_string(red) + "\\green" + std::to_string(green) + "\\blue" + std::to_string(blue) +
         ";";
}

std::string wrapRtfDocument(std::string_view body, const RenderOptions& options) {
  std::string doc;
  doc.reserve(body.size() + 512);
  // A Western document keeps the header it always had (ANSI is Windows-1252).
  doc += "{\\rtf1\\ansi";
  if (!isWestern(options.codePage)) doc += "\\ansicpg" + std::to_string(options.codePage);
  doc += "\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}\r\n";
  doc += "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss MS Sans Serif;}{\\f3\\fswiss ";
  doc += rtfFontName(options.fontName, options.codePage);
  doc += ";}{\\f4\\fswiss\\fprq2 System;}}\r\n";
  doc += "{\\colortbl\\red0\\green0\\blue0;";
  doc += rtfColourEntry(options.keywordColour);
  doc += rtfColourEntry(options.commentColour);
  doc += rtfColourEntry(options.stringColour);
  doc += "}\r\n";
  doc += "\\deflang1031\\pard\\li105";
  // One tab step in twips: the millimetre width times 567 twips per centimetre, cut to whole twips.
  const auto step = static_cast<long long>(std::floor(options.tabWidthMm / 10.0 * 567));
  for (int i = 1; i <= 10; ++i) doc += "\\tx" + std::to_string(i * step);
  doc += "\\plain\\f3\\fs" + std::to_string(2LL * options.fontSize) + " ";
  doc += body;
  doc += "}";
  return doc;
}

}  // namespace cq
