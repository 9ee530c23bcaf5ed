#include "text/unicode_case.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "text/ascii_words.h"
#include "text/unicode_tables.h"
#include "text/utf8.h"

namespace cq {

namespace {

using unicode_tables::CaseFold;
using unicode_tables::CodePointRange;

constexpr bool isAsciiIdentifier(char32_t c) { return unicode_case_detail::kAsciiIdentifiers[c]; }

// The scripts without case between U+3000 and U+A63F (CJK punctuation, kana,
// Hangul, the ideographs, Yi) need no search in the fold table.
constexpr bool hasNoCase(char32_t c) { return c >= 0x3000 && c < 0xA640; }

constexpr char32_t kAfterUnicode = 0x110000;

}  // namespace

bool isIdentifierCodePoint(char32_t codePoint) {
  if (codePoint < 0x80) return isAsciiIdentifier(codePoint);
  if (codePoint == utf8::kInvalid) return false;
  const CodePointRange* const begin = unicode_tables::kIdentifierRanges;
  const CodePointRange* const end = begin + unicode_tables::kIdentifierRangeCount;
  const CodePointRange* const after =
      std::upper_bound(begin, end, codePoint, [](char32_t c, const CodePointRange& r) { return c < r.first; });
  return after != begin && codePoint <= (after - 1)->last;
}

char32_t foldCodePoint(char32_t codePoint) {
  if (codePoint < 0x80) return (codePoint >= 'A' && codePoint <= 'Z') ? codePoint + 32 : codePoint;
  if (hasNoCase(codePoint) || codePoint == utf8::kInvalid) return codePoint;
  const CaseFold* const begin = unicode_tables::kCaseFolds;
  const CaseFold* const end = begin + unicode_tables::kCaseFoldCount;
  const CaseFold* const found =
      std::lower_bound(begin, end, codePoint, [](const CaseFold& f, char32_t c) { return f.from < c; });
  return found != end && found->from == codePoint ? found->to : codePoint;
}

std::vector<std::string> nonAsciiFoldingTo(char c) {
  std::vector<std::string> found;
  for (std::size_t i = 0; i < unicode_tables::kCaseFoldCount; ++i) {
    if (unicode_tables::kCaseFolds[i].to != static_cast<unsigned char>(c)) continue;
    found.emplace_back();
    utf8::append(found.back(), unicode_tables::kCaseFolds[i].from);
  }
  return found;
}

bool identifierCharacterAt(std::string_view text, std::size_t offset) {
  if (offset >= text.size()) return false;
  const auto byte = static_cast<unsigned char>(text[offset]);
  if (byte < 0x80) return isAsciiIdentifier(byte);
  return isIdentifierCodePoint(utf8::next(text, offset));
}

bool identifierCharacterBefore(std::string_view text, std::size_t offset) {
  if (offset == 0 || offset > text.size()) return false;
  const auto byte = static_cast<unsigned char>(text[offset - 1]);
  if (byte < 0x80) return isAsciiIdentifier(byte);
  return isIdentifierCodePoint(utf8::previous(text, offset));
}

std::size_t unicode_case_detail::identifierRunEndFromNonAscii(std::string_view text, std::size_t from) {
  std::size_t at = from;
  while (at < text.size()) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
      if (!isAsciiIdentifier(byte)) break;
      ++at;
      continue;
    }
    std::size_t next = at;
    if (!isIdentifierCodePoint(utf8::next(text, next))) break;
    at = next;
  }
  return at;
}

void appendFoldedCase(std::string& folded, std::string_view text) {
  // Written in place; only a character whose folded form is longer (rare) can
  // make the text grow.
  std::size_t written = folded.size();
  folded.resize(written + text.size());
  const auto put = [&](const char* bytes, std::size_t length) {
    if (written + length > folded.size()) folded.resize(folded.size() * 2 + length);
    std::memcpy(folded.data() + written, bytes, length);
    written += length;
  };
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (pos + 8 <= text.size() && written + 8 <= folded.size()) {
      const std::uint64_t eight = ascii_words::load(text.data() + pos);
      if (!(eight & ascii_words::kHighBits)) {
        ascii_words::store(folded.data() + written, ascii_words::toLower(eight));
        pos += 8;
        written += 8;
        continue;
      }
    }
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) {
      const char lower = static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
      put(&lower, 1);
      ++pos;
      continue;
    }
    const std::size_t start = pos;
    const char32_t codePoint = utf8::next(text, pos);
    const char32_t to = codePoint == utf8::kInvalid ? codePoint : foldCodePoint(codePoint);
    if (to == codePoint) {
      put(text.data() + start, pos - start);  // also a byte of no valid sequence
    } else {
      std::string encoded;
      utf8::append(encoded, to);
      put(encoded.data(), encoded.size());
    }
  }
  folded.resize(written);
}

std::string foldCase(std::string_view text) {
  std::string folded;
  appendFoldedCase(folded, text);
  return folded;
}

int compareIgnoringCase(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[j]);
    char32_t cx = 0;
    char32_t cy = 0;
    if ((x | y) < 0x80) {  // both ASCII: the common case
      cx = foldCodePoint(x);
      cy = foldCodePoint(y);
      ++i;
      ++j;
    } else {
      const std::size_t si = i;
      const std::size_t sj = j;
      cx = utf8::next(a, i);
      cy = utf8::next(b, j);
      // A byte of no valid sequence orders after every character, by its value.
      cx = cx == utf8::kInvalid ? kAfterUnicode + static_cast<unsigned char>(a[si]) : foldCodePoint(cx);
      cy = cy == utf8::kInvalid ? kAfterUnicode + static_cast<unsigned char>(b[sj]) : foldCodePoint(cy);
    }
    if (cx != cy) return cx < cy ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() == b.size() && a == b) return true;
  return compareIgnoringCase(a, b) == 0;
}

}  // namespace cq
