#include "render/rtf.h"

#include <cmath>

#include "text/markers.h"
#include "text/text_replace.h"

namespace cq {

std::string markedToRtf(std::string_view marked, const RenderOptions& options) {
  // The order matters: backslashes are doubled before any control word is
  // inserted, and markers become control words before tabs and line breaks do.
  std::string rtf = replaceAll(marked, "\\", "\\\\");
  replaceAllInPlace(rtf, "{", "\\{");
  replaceAllInPlace(rtf, "}", "\\}");
  replaceAllInPlace(rtf, markers::kEnd, "\\cf0 ");
  replaceAllInPlace(rtf, markers::kComment, "\\cf2 ");
  replaceAllInPlace(rtf, markers::kKeyword, "\\cf1 ");
  replaceAllInPlace(rtf, markers::kString, "\\cf3 ");
  replaceAllInPlace(rtf, "\t", "\\tab ");
  replaceAllInPlace(rtf, markers::kBold, options.boldRoutineLines ? "\\b " : "");
  replaceAllInPlace(rtf, markers::kBoldEnd, options.boldRoutineLines ? "\\b0 " : "");
  replaceAllInPlace(rtf, "\r\n", "\r\n\\par ");
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
  doc += "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}\r\n";
  doc += "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss MS Sans Serif;}{\\f3\\fswiss ";
  doc += options.fontName;
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
