#include "sources/module_file_encoding.h"

#include <uchardet/uchardet.h>

#include <memory>
#include <utility>

#include "sources/vba/code_page.h"
#include "text/ascii_words.h"
#include "text/utf8.h"

namespace cq {

namespace {

struct DetectorDeleter {
  void operator()(uchardet* detector) const { uchardet_delete(detector); }
};

bool hasBom(std::string_view bytes) { return bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom; }

// Valid UTF-8 that reads as text: no byte-order mark inside it and no C1
// control, which Windows-1252 bytes that merely form valid sequences give (a
// string literal "ï»¿" is a BOM read so; "â€" followed by a third byte often
// reads as a C1 control).
bool readsAsUtf8Text(std::string_view bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    if (static_cast<unsigned char>(bytes[at]) < 0x80) {
      ++at;
      continue;
    }
    const char32_t codePoint = utf8::next(bytes, at);
    if (codePoint == utf8::kInvalid || codePoint == 0xFEFF || (codePoint >= 0x80 && codePoint < 0xA0)) return false;
  }
  return true;
}

// The code page the VBA editor could have written for a character set the
// detector names: a Windows code page (the editor writes nothing else), or
// UTF-8 from other tools. Where the ISO sets and Windows agree on the letters,
// the Windows page; any other guess (an ISO Latin set, KOI8, DOS pages) is no
// certain answer: 0.
int codePageOfCharset(std::string_view charset) {
  static constexpr std::pair<std::string_view, int> kCodePages[] = {
      {"WINDOWS-1250", 1250}, {"WINDOWS-1251", 1251}, {"WINDOWS-1252", 1252}, {"WINDOWS-1253", 1253},
      {"ISO-8859-7", 1253},   {"WINDOWS-1254", 1254}, {"ISO-8859-9", 1254},   {"WINDOWS-1255", 1255},
      {"ISO-8859-8", 1255},   {"WINDOWS-1256", 1256}, {"WINDOWS-1257", 1257}, {"WINDOWS-1258", 1258},
      {"TIS-620", 874},       {"ISO-8859-11", 874},   {"SHIFT_JIS", 932},     {"GB18030", 936},
      {"BIG5", 950},          {"EUC-KR", 949},        {"UHC", 949},           {"UTF-8", kUtf8CodePage}};
  for (const auto& [name, codePage] : kCodePages)
    if (name == charset) return codePage;
  return 0;
}

// The lines of a file that hold a byte beyond ASCII, each with its line break:
// what tells the code pages apart. Code is mostly ASCII lines, which would only
// cost the detector time.
void appendNonAsciiLines(std::string& out, std::string_view bytes) {
  std::size_t at = ascii_words::asciiRunEnd(bytes, 0);
  while (at < bytes.size()) {
    const std::size_t lineStart = bytes.rfind('\n', at) + 1;  // npos + 1 is the start of the text
    std::size_t lineEnd = bytes.find('\n', at);
    lineEnd = lineEnd == std::string_view::npos ? bytes.size() : lineEnd + 1;
    out.append(bytes.substr(lineStart, lineEnd - lineStart));
    at = ascii_words::asciiRunEnd(bytes, lineEnd);
  }
}

}  // namespace

int detectModuleFilesCodePage(const std::vector<std::string_view>& files) {
  const std::unique_ptr<uchardet, DetectorDeleter> detector(uchardet_new());
  bool allAscii = true;
  bool allUtf8 = true;
  std::string nonAsciiLines;
  for (const std::string_view bytes : files) {
    if (hasBom(bytes) || utf8::isAscii(bytes)) continue;
    allAscii = false;
    // UTF-8 files are read as UTF-8 on their own; the detector sees the others.
    if (readsAsUtf8Text(bytes)) continue;
    allUtf8 = false;
    nonAsciiLines.clear();
    appendNonAsciiLines(nonAsciiLines, bytes);
    uchardet_handle_data(detector.get(), nonAsciiLines.data(), nonAsciiLines.size());
  }
  if (allAscii) return kWindows1252CodePage;
  // Files that are all UTF-8 text are UTF-8 (tools and version control write
  // them so): the detector, seeing few such characters, may take them for a
  // Latin set. One file that is not gives the project its code page.
  if (allUtf8) return kUtf8CodePage;
  uchardet_data_end(detector.get());
  const int codePage = codePageOfCharset(uchardet_get_charset(detector.get()));
  if (codePage == kUtf8CodePage) return kWindows1252CodePage;
  return codePage != 0 && isKnownCodePage(codePage) ? codePage : kWindows1252CodePage;
}

DecodedText decodeModuleFileBytes(std::string_view bytes, int codePage) {
  if (hasBom(bytes)) return DecodedText{normalizeLineEnds(systemBytesToText(bytes.substr(kUtf8Bom.size()))), 0};
  DecodedText decoded = codePageToText(bytes, codePage);
  decoded.text = normalizeLineEnds(decoded.text);
  return decoded;
}

DecodedText decodeDetectedModuleFile(std::string_view bytes, int projectCodePage) {
  const bool utf8Text = !hasBom(bytes) && !utf8::isAscii(bytes) && readsAsUtf8Text(bytes);
  return decodeModuleFileBytes(bytes, utf8Text ? kUtf8CodePage : projectCodePage);
}

}  // namespace cq
