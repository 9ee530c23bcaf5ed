#include "cli/list_text.h"

namespace cq::cli {

namespace {

// Bytes that show nothing on a terminal: controls and the five holes of Windows-1252.
bool isInvisible(unsigned char byte) {
  return byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

}  // namespace

std::string escapedListField(std::string_view windows1252) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string escaped;
  escaped.reserve(windows1252.size());
  for (const char c : windows1252) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\\': escaped += "\\\\"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      case '\t': escaped += "\\t"; break;
      default:
        if (isInvisible(byte)) {
          escaped.append("\\x").append(1, kHexDigits[byte >> 4]).append(1, kHexDigits[byte & 0x0F]);
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
