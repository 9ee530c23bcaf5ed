#pragma once
// Comparisons that ignore the case of the letters A-Z only: keywords, attribute
// names, file extensions and other fixed ASCII words. Bytes above 127 are
// compared exactly; names of any script compare with unicode_case.h.
#include <algorithm>
#include <string>
#include <string_view>

namespace cq {

constexpr char toLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string toLowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = toLowerAscii(c);
  return lower;
}

inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return toLowerAscii(x) == toLowerAscii(y); });
}

inline bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equalsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

inline bool endsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && equalsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

// The text without the blanks and tabs around it.
inline std::string_view trimBlanksAndTabs(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Order of names on a case-insensitive file system, made total: bytes compared
// after turning A-Z into a-z, ties broken by the original bytes.
inline bool lessIgnoringAsciiCaseThenExact(std::string_view a, std::string_view b) {
  const auto foldedLess = [](char x, char y) {
    return static_cast<unsigned char>(toLowerAscii(x)) < static_cast<unsigned char>(toLowerAscii(y));
  };
  const auto byteLess = [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), foldedLess)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), foldedLess)) return false;
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), byteLess);
}

// Position of the first occurrence of `needle` at or after `from`, or npos.
inline std::size_t findIgnoringAsciiCase(std::string_view text, std::string_view needle, std::size_t from = 0) {
  if (needle.size() > text.size()) return std::string_view::npos;
  for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
    if (equalsIgnoringAsciiCase(text.substr(i, needle.size()), needle)) return i;
  }
  return std::string_view::npos;
}

}  // namespace cq
