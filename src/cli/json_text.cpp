#include "cli/json_text.h"

#include <cstdio>

#include "text/text_decoding.h"

namespace cq::cli {

namespace {

void appendEscape(std::string& out, unsigned codePoint) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\u%04x", codePoint);
  out.append(escape);
}

}  // namespace

std::string jsonString(std::string_view windows1252) {
  // Every Windows-1252 byte has a code point, so the UTF-8 form is always valid.
  const std::string utf8 = windows1252ToUtf8(windows1252);
  std::string out;
  out.reserve(utf8.size() + 2);
  out.push_back('"');
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    switch (byte) {
      case '"': out.append("\\\""); continue;
      case '\\': out.append("\\\\"); continue;
      case '\n': out.append("\\n"); continue;
      case '\r': out.append("\\r"); continue;
      case '\t': out.append("\\t"); continue;
      default: break;
    }
    if (byte < 0x20 || byte == 0x7F) {
      appendEscape(out, byte);
    } else if (byte == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
      // U+0080..U+009F: the bytes Windows-1252 leaves undefined.
      appendEscape(out, static_cast<unsigned char>(utf8[++i]));
    } else {
      out.push_back(static_cast<char>(byte));
    }
  }
  out.push_back('"');
  return out;
}

}  // namespace cq::cli
