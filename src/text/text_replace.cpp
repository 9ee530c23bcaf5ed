#include "text/text_replace.h"

#include <cstring>

#include "text/markers.h"

namespace cq {

namespace {

// How often a byte is met in marked-up VBA text, roughly: searches look for the
// pattern's rarest byte with memchr and compare the rest only there.
int commonness(char c) {
  switch (c) {
    case '?': return 0;
    case '*': return 1;
    case '\t': return 2;
    case markers::kCharLastByte: return 3;
    case '\r': return 4;
    case '(':
    case ')': return 5;
    case ',': return 6;
    default: return 10;
  }
}

// Finds `find` at or after `from`.
std::size_t findFrom(std::string_view text, std::string_view find, std::size_t from) {
  const std::size_t n = find.size();
  if (n == 0 || text.size() < n) return std::string_view::npos;
  std::size_t anchor = 0;
  for (std::size_t k = 1; k < n; ++k)
    if (commonness(find[k]) < commonness(find[anchor])) anchor = k;
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

std::size_t findText(std::string_view text, std::string_view find, std::size_t from) {
  return findFrom(text, find, from);
}

std::size_t countOccurrences(std::string_view text, std::string_view find) {
  std::size_t count = 0;
  for (std::size_t hit = findFrom(text, find, 0); hit != std::string_view::npos;
       hit = findFrom(text, find, hit + find.size()))
    ++count;
  return count;
}

}  // namespace cq
