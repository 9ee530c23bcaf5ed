#pragma once
// Tables of the Unicode database for code points above ASCII, sorted by code
// point (src/text/unicode_tables.cpp is written by tools/make_unicode_tables.py).
#include <cstddef>

namespace cq::unicode_tables {

struct CodePointRange {
  char32_t first;
  char32_t last;
};

struct CaseFold {
  char32_t from;
  char32_t to;
};

// Letters, combining marks and decimal digits.
extern const CodePointRange kIdentifierRanges[];
extern const std::size_t kIdentifierRangeCount;

// Simple case folding: one code point to one code point.
extern const CaseFold kCaseFolds[];
extern const std::size_t kCaseFoldCount;

}  // namespace cq::unicode_tables
