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

std::string jsonString(std::string_view text) {
  // A byte of no UTF-8 sequence goes out as its Windows-1252 character, so the
  // output is always valid UTF-8.
  const std::string utf8 = systemBytesToText(text);
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
      // U+0080..U+009F: the C1 controls.
      appendEscape(out, static_cast<unsigned char>(utf8[++i]));
    } else {
      out.push_back(static_cast<char>(byte));
    }
  }
  out.push_back('"');
  return out;
}

}  // namespace cq::cli
