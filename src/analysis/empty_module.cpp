#include "analysis/empty_module.h"

#include "text/ascii_case.h"

namespace cq {

bool holdsCode(std::string_view code) {
  while (!code.empty()) {
    const std::size_t end = code.find('\n');
    std::string_view line = code.substr(0, end);
    code = end == std::string_view::npos ? std::string_view() : code.substr(end + 1);
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) continue;
    line.remove_prefix(first);
    if (startsWithIgnoringAsciiCase(line, "Option ") || startsWithIgnoringAsciiCase(line, "Attribute ")) continue;
    return true;
  }
  return false;
}

}  // namespace cq
