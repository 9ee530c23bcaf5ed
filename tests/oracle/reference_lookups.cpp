#include "oracle/reference_lookups.h"

#include <algorithm>
#include <set>

#include "text/unicode_case.h"
#include "text/utf8.h"

namespace cq::oracle {

namespace {

const std::string kMarker = "Ÿ";
const std::string kOpening = "|" + kMarker;
const std::string kEndMarker = "|n" + kMarker + "|";
const std::string kBoldEndMarker = "|y" + kMarker + "|";

// The text as characters, each with the byte offset where it starts.
struct Character {
  char32_t codePoint;
  std::size_t offset;
};

std::vector<Character> charactersOf(std::string_view text) {
  std::vector<Character> characters;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t offset = at;
    characters.push_back({utf8::next(text, at), offset});
  }
  return characters;
}

// The character that ends at / starts at a byte offset; 0 beyond the text.
char32_t characterBefore(const std::vector<Character>& characters, std::size_t offset) {
  for (std::size_t i = characters.size(); i-- > 0;)
    if (characters[i].offset < offset) return characters[i].codePoint;
  return 0;
}

char32_t characterAt(const std::vector<Character>& characters, std::size_t offset) {
  for (const Character& c : characters)
    if (c.offset == offset) return c.codePoint;
  return 0;
}

bool isAsciiDigit(char32_t c) { return c >= '0' && c <= '9'; }

// Letters, marks and "_" of every script; digits stand apart in the reference search.
bool isNameLetter(char32_t c) { return isIdentifierCodePoint(c) && !isAsciiDigit(c); }

std::string blanked(std::string text) {
  for (char& c : text)
    if (c != '\r' && c != '\n') c = ' ';
  return text;
}

// The first colon of a bold line's inner text that lies in no inner run (a
// bold one among them closing with the bold end marker).
std::size_t colonOutsideRuns(const std::string& inner) {
  const std::string* closing = nullptr;  // of the inner run we are in
  for (std::size_t i = 0; i < inner.size(); ++i) {
    if (!closing && inner.compare(i, kOpening.size(), kOpening) == 0) {
      closing = inner.compare(i + kOpening.size(), 1, "x") == 0 ? &kBoldEndMarker : &kEndMarker;
      i += kOpening.size() - 1;
      continue;
    }
    if (closing && inner.compare(i, closing->size(), *closing) == 0) {
      i += closing->size() - 1;
      closing = nullptr;
      continue;
    }
    if (!closing && inner[i] == ':') return i;
  }
  return std::string::npos;
}

// A bold line blanked; a one-line routine keeps its body, cleaned as any code.
std::string cleanBoldLine(const std::string& line) {
  const std::string bold = kOpening + "x|";
  if (line.size() < bold.size()) return blanked(line);
  std::string inner = line.substr(bold.size());
  if (inner.ends_with(kBoldEndMarker)) inner.resize(inner.size() - kBoldEndMarker.size());
  const std::size_t colon = colonOutsideRuns(inner);
  if (colon == std::string::npos) return blanked(line);
  std::size_t end = std::string::npos;
  for (const char* kind : {"Sub", "Function", "Property"})
    end = std::min(end, inner.find(kOpening + "f|End" + kEndMarker + " " + kOpening + "f|" + kind + kEndMarker, colon));
  if (end == std::string::npos) return blanked(line);
  const std::size_t bodyBegin = bold.size() + colon + 1;
  const std::size_t bodyEnd = bold.size() + end;
  return blanked(line.substr(0, bodyBegin)) + cleanText(line.substr(bodyBegin, bodyEnd - bodyBegin)) +
         blanked(line.substr(bodyEnd));
}

}  // namespace

std::string cleanText(std::string text) {
  std::size_t at = text.find(kOpening);
  while (at != std::string::npos) {
    const bool bold = text.substr(at + kOpening.size(), 1) == "x";
    const std::string& closing = bold ? kBoldEndMarker : kEndMarker;
    const std::size_t found = text.find(closing, at + kOpening.size());
    const std::size_t end = found == std::string::npos ? text.size() : found + closing.size();
    const std::string run = text.substr(at, end - at);
    text.replace(at, end - at, bold ? cleanBoldLine(run) : blanked(run));
    at = text.find(kOpening, end);
  }
  return text;
}


std::vector<std::int64_t> callLines(std::string marked, std::string_view name) {
  std::vector<std::int64_t> lines;
  if (name.empty()) return lines;
  const std::string clean = cleanText(std::move(marked));
  const std::vector<Character> characters = charactersOf(clean);
  for (std::size_t at = clean.find(name); at != std::string::npos; at = clean.find(name, at + 1)) {
    if (isIdentifierCodePoint(characterBefore(characters, at))) continue;
    if (isIdentifierCodePoint(characterAt(characters, at + name.size()))) continue;
    lines.push_back(1 + std::count(clean.begin(), clean.begin() + static_cast<std::ptrdiff_t>(at), '\r'));
  }
  return lines;
}

std::vector<Reference> findReferences(std::string marked, const std::vector<std::string>& names) {
  const std::string clean = cleanText(std::move(marked));
  const std::vector<Character> characters = charactersOf(clean);
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
      const bool before = !isNameLetter(characterBefore(characters, at));
      const bool behind = !isIdentifierCodePoint(characterAt(characters, at + name.size()));
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
  const std::vector<Character> characters = charactersOf(text);
  std::vector<char32_t> wanted;
  for (const Character& c : charactersOf(needle)) wanted.push_back(foldCodePoint(c.codePoint));
  // From the second character on: a search from the beginning starts at offset 1.
  for (std::size_t at = 1; at + wanted.size() <= characters.size(); ++at) {
    bool same = true;
    for (std::size_t k = 0; k < wanted.size() && same; ++k)
      same = foldCodePoint(characters[at + k].codePoint) == wanted[k];
    if (!same) continue;
    const std::size_t after = at + wanted.size();
    const bool word = !isIdentifierCodePoint(characters[at - 1].codePoint) &&
                      (after == characters.size() || !isIdentifierCodePoint(characters[after].codePoint));
    if (!wholeWord || word) hits.push_back(characters[at].offset);
  }
  return hits;
}

}  // namespace cq::oracle
