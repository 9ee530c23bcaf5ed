#pragma once
// The letters of Windows-1252 and their case: one table for the whole code page,
// so that a search ignoring case treats "Ä" like "ä" and "Š" like "š" exactly as
// it treats "A" like "a".
#include <array>

namespace cq {

namespace detail {

struct LetterTable {
  std::array<unsigned char, 256> lower{};
  std::array<bool, 256> letter{};
};

constexpr LetterTable makeLetterTable() {
  LetterTable table;
  for (int c = 0; c < 256; ++c) table.lower[c] = static_cast<unsigned char>(c);
  const auto pair = [&table](int upper, int lower) {
    table.lower[upper] = static_cast<unsigned char>(lower);
    table.letter[upper] = true;
    table.letter[lower] = true;
  };
  for (int c = 'A'; c <= 'Z'; ++c) pair(c, c + 32);
  pair(0x8A, 0x9A);  // Š š
  pair(0x8C, 0x9C);  // Œ œ
  pair(0x8E, 0x9E);  // Ž ž
  pair(0x9F, 0xFF);  // Ÿ ÿ
  for (int c = 0xC0; c <= 0xDE; ++c)
    if (c != 0xD7) pair(c, c + 32);             // À … Þ, not the multiplication sign
  for (int c : {0x83, 0xAA, 0xB5, 0xBA, 0xDF})  // ƒ ª µ º ß: no other case
    table.letter[c] = true;
  return table;
}

inline constexpr LetterTable kLetterTable = makeLetterTable();

}  // namespace detail

// The lower-case form of a Windows-1252 character; every other character as it is.
constexpr char foldCase(char c) { return static_cast<char>(detail::kLetterTable.lower[static_cast<unsigned char>(c)]); }

// True for the letters of Windows-1252, in either case.
constexpr bool isLetter(char c) { return detail::kLetterTable.letter[static_cast<unsigned char>(c)]; }

}  // namespace cq
