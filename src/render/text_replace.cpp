#include "render/text_replace.h"

#include <cstring>

namespace cq {

namespace {

// Finds `find` at or after `from`. Searches for the pattern's rarest-looking
// byte with memchr: the marker character when present, otherwise the first byte.
std::size_t findFrom(std::string_view text, std::string_view find, std::size_t from) {
  const std::size_t n = find.size();
  if (n == 0 || text.size() < n) return std::string_view::npos;
  std::size_t anchor = 0;
  for (std::size_t k = 0; k < n; ++k) {
    if (find[k] == '\x9F' || find[k] == '\r' || find[k] == '\t' || find[k] == '(' || find[k] == ')' ||
        find[k] == ',') {
      anchor = k;
      break;
    }
  }
  const char a = find[anchor];
  const char* base = text.data();
  const std::size_t last = text.size() - n;  // last valid start
  std::size_t pos = from + anchor;
  while (pos + (n - anchor) <= text.size()) {
    const void* hit = std::memchr(base + pos, a, text.size() - pos - (n - anchor - 1));
    if (!hit) return std::string_view::npos;
    const std::size_t at = static_cast<const char*>(hit) - base;
    if (at >= anchor) {
      const std::size_t start = at - anchor;
      if (start >= from && start <= last && std::memcmp(base + start, find.data(), n) == 0) return start;
    }
    pos = at + 1;
  }
  return std::string_view::npos;
}

}  // namespace

std::string replaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
  std::size_t hit = findFrom(text, find, 0);
  if (hit == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size() + (replacement.size() > find.size() ? text.size() / 8 : 0));
  std::size_t done = 0;
  while (hit != std::string_view::npos) {
    out.append(text.data() + done, hit - done);
    out.append(replacement);
    done = hit + find.size();
    hit = findFrom(text, find, done);
  }
  out.append(text.data() + done, text.size() - done);
  return out;
}

void replaceAllInPlace(std::string& text, std::string_view find, std::string_view replacement) {
  if (findFrom(text, find, 0) == std::string_view::npos) return;
  text = replaceAll(text, find, replacement);
}

std::size_t countOccurrences(std::string_view text, std::string_view find) {
  std::size_t count = 0;
  for (std::size_t hit = findFrom(text, find, 0); hit != std::string_view::npos;
       hit = findFrom(text, find, hit + find.size()))
    ++count;
  return count;
}

}  // namespace cq
