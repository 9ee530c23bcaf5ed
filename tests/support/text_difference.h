#pragma once
// Readable reports of where two byte texts part: non-printable bytes escaped,
// the marker character shown as <9F>, a little context around the first difference.
#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace cq::test {

inline std::string escapedBytes(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '\\') out += "\\\\";
    else if (byte < 0x20 || byte >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "<%02X>", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

// Empty when both are equal; otherwise the first differing position and both sides around it.
inline std::string firstDifference(std::string_view expected, std::string_view actual, std::size_t context = 60) {
  if (expected == actual) return {};
  const auto parted = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
  const auto at = static_cast<std::size_t>(parted.first - expected.begin());
  const std::size_t from = at > context ? at - context : 0;
  auto around = [&](std::string_view text) {
    if (from >= text.size()) return std::string("(ends before)");
    return escapedBytes(text.substr(from, at - from)) + " >>> " + escapedBytes(text.substr(at, context));
  };
  return "first difference at byte " + std::to_string(at) + " (lengths " + std::to_string(expected.size()) + " / " +
         std::to_string(actual.size()) + ")\n  expected: " + around(expected) + "\n  actual:   " + around(actual);
}

// Same for two lists of lines (call logs): the first differing entry.
inline std::string firstDifference(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
  const std::size_t common = std::min(expected.size(), actual.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (expected[i] != actual[i]) {
      return "entry " + std::to_string(i) + "\n  expected: " + escapedBytes(expected[i]) +
             "\n  actual:   " + escapedBytes(actual[i]);
    }
  }
  if (expected.size() == actual.size()) return {};
  return "entry " + std::to_string(common) + ": " + std::to_string(expected.size()) + " expected entries, " +
         std::to_string(actual.size()) + " actual\n  " +
         (expected.size() > common ? "missing: " + escapedBytes(expected[common])
                                   : "extra:   " + escapedBytes(actual[common]));
}

}  // namespace cq::test
