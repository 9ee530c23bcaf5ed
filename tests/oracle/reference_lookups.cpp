#include "oracle/reference_lookups.h"

#include <algorithm>
#include <set>

namespace cq::oracle {

namespace {

const std::string kMarker = "\x9F";
const std::string kOpening = "|" + kMarker;
const std::string kEndMarker = "|n" + kMarker + "|";
const std::string kBoldEndMarker = "|y" + kMarker + "|";

// The word characters of the call search, tested ignoring case.
const std::string kCallWordList =
    "a;b;c;d;e;f;g;h;i;j;k;l;m;n;o;p;q;r;s;t;u;v;w;x;y;z;\xE4;\xF6;\xFC;\xDF;_;0;1;2;3;4;5;6;7;8;9";

// The identifier characters of the reference search (no digits).
const std::string kNameLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_\xC4\xD6\xDC\xDF\xE4\xF6\xFC";
const std::string kDigits = "0123456789";

// Every letter of Windows-1252 with its other case, for the text search.
const std::string kUpper =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ\x8A\x8C\x8E\x9F"
    "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF"
    "\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD8\xD9\xDA\xDB\xDC\xDD\xDE";
const std::string kLower =
    "abcdefghijklmnopqrstuvwxyz\x9A\x9C\x9E\xFF"
    "\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF"
    "\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF8\xF9\xFA\xFB\xFC\xFD\xFE";
const std::string kCaselessLetters = "\x83\xAA\xB5\xBA\xDF";

char lower(char c) {
  const std::size_t at = kUpper.find(c);
  return at == std::string::npos ? c : kLower[at];
}

bool inList(const std::string& list, char c) { return list.find(c) != std::string::npos; }

bool isCallWordCharacter(char c) {
  const char l = lower(c);
  for (std::size_t i = 0; i < kCallWordList.size(); i += 2)
    if (kCallWordList[i] == l) return true;
  return false;
}

bool isSearchWordCharacter(char c) {
  return inList(kUpper, c) || inList(kLower, c) || inList(kCaselessLetters, c) || inList(kDigits, c) || c == '_';
}

}  // namespace

std::string cleanText(std::string text) {
  std::size_t at = text.find(kOpening);
  while (at != std::string::npos) {
    const std::string& closing = text.substr(at + 2, 1) == "x" ? kBoldEndMarker : kEndMarker;
    const std::size_t found = text.find(closing, at + 2);
    const std::size_t end = found == std::string::npos ? text.size() : found + closing.size();
    std::string blanks = text.substr(at, end - at);
    for (char& c : blanks)
      if (c != '\r' && c != '\n') c = ' ';
    text.replace(at, end - at, blanks);
    at = text.find(kOpening, end);
  }
  return text;
}

std::vector<std::int64_t> callLines(std::string marked, std::string_view name) {
  std::vector<std::int64_t> lines;
  if (name.empty()) return lines;
  const std::string clean = cleanText(std::move(marked));
  for (std::size_t at = clean.find(name); at != std::string::npos; at = clean.find(name, at + 1)) {
    if (at > 0 && isCallWordCharacter(clean[at - 1])) continue;
    if (at + name.size() < clean.size() && isCallWordCharacter(clean[at + name.size()])) continue;
    lines.push_back(1 + std::count(clean.begin(), clean.begin() + static_cast<std::ptrdiff_t>(at), '\r'));
  }
  return lines;
}

std::vector<Reference> findReferences(std::string marked, const std::vector<std::string>& names) {
  const std::string clean = cleanText(std::move(marked));
  std::string joined;
  for (const std::string& name : names) joined += name + ";";
  std::set<std::pair<std::size_t, std::string>> found;
  std::size_t start = 0;
  while (start < joined.size()) {
    const std::size_t semicolon = joined.find(';', start);
    const std::string name = joined.substr(start, semicolon - start);
    start = semicolon + 1;
    if (name.empty() || name.size() > clean.size()) continue;
    std::size_t last = clean.size() - name.size();  // the last place a hit may start
    while (true) {
      const std::size_t at = clean.rfind(name, last);
      if (at == std::string::npos) break;
      const bool before = at == 0 || !inList(kNameLetters, clean[at - 1]);
      const std::size_t after = at + name.size();
      const bool behind =
          after == clean.size() || (!inList(kNameLetters, clean[after]) && !inList(kDigits, clean[after]));
      if (before && behind) found.emplace(at, name);
      if (at < name.size()) break;
      last = at - name.size();
    }
  }
  std::vector<Reference> references;
  for (const auto& [offset, name] : found) references.push_back({offset, name});
  return references;
}

std::vector<std::size_t> searchHits(std::string_view text, std::string_view needle, bool wholeWord) {
  std::vector<std::size_t> hits;
  if (needle.empty()) return hits;
  std::string lowerText(text), lowerNeedle(needle);
  for (char& c : lowerText) c = lower(c);
  for (char& c : lowerNeedle) c = lower(c);
  for (std::size_t at = lowerText.find(lowerNeedle, 1); at != std::string::npos;
       at = lowerText.find(lowerNeedle, at + 1)) {
    const std::size_t after = at + needle.size();
    const bool word =
        !isSearchWordCharacter(text[at - 1]) && (after == text.size() || !isSearchWordCharacter(text[after]));
    if (!wholeWord || word) hits.push_back(at);
  }
  return hits;
}

}  // namespace cq::oracle
