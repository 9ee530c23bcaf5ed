#include "cli/list_text.h"

namespace cq::cli {

namespace {

// Bytes that show nothing on a terminal: C0 controls and DEL.
bool isInvisible(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

// The C1 controls U+0080-U+009F (among them the five holes of Windows-1252) are
// two bytes in UTF-8, the first 0xC2.
bool isC1Control(std::string_view text, std::size_t at) {
  return static_cast<unsigned char>(text[at]) == 0xC2 && at + 1 < text.size() &&
         static_cast<unsigned char>(text[at + 1]) < 0xA0 && static_cast<unsigned char>(text[at + 1]) >= 0x80;
}

}  // namespace

std::string escapedListField(std::string_view text) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string escaped;
  escaped.reserve(text.size());
  const auto hexEscape = [&](unsigned char byte) {
    escaped.append("\\x").append(1, kHexDigits[byte >> 4]).append(1, kHexDigits[byte & 0x0F]);
  };
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (isC1Control(text, at)) {
      hexEscape(static_cast<unsigned char>(text[++at]));
      continue;
    }
    switch (c) {
      case '\\': escaped += "\\\\"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      case '\t': escaped += "\\t"; break;
      default:
        if (isInvisible(static_cast<unsigned char>(c))) {
          hexEscape(static_cast<unsigned char>(c));
        } else {
          escaped += c;
        }
    }
  }
  return escaped;
}

std::string listedKey(std::string_view key) {
  const std::size_t nameStart = key.find('\\') + 1;  // 0 when there is no project part
  return std::string(key.substr(0, nameStart)).append(escapedListField(key.substr(nameStart)));
}

}  // namespace cq::cli
