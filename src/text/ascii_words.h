#pragma once
// ASCII found and lower-cased eight bytes at a time: nearly all engine text is
// ASCII, and a word of eight bytes without a high bit needs no UTF-8 decoding.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace cq::ascii_words {

inline constexpr std::uint64_t kOnes = 0x0101010101010101u;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080u;

inline std::uint64_t load(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

inline void store(char* p, std::uint64_t word) { std::memcpy(p, &word, sizeof word); }

// Whether any of the eight bytes is `byte`.
constexpr bool hasByte(std::uint64_t word, char byte) {
  const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(byte));
  return ((x - kOnes) & ~x & kHighBits) != 0;
}

// Eight ASCII bytes with A-Z turned into a-z; no byte may have its high bit set.
constexpr std::uint64_t toLower(std::uint64_t word) {
  // Per byte b < 0x80 no sum carries into the next byte: the high bit says b >= 'A', and b > 'Z'.
  const std::uint64_t fromA = word + kOnes * (0x80 - 'A');
  const std::uint64_t afterZ = word + kOnes * (0x80 - 'Z' - 1);
  return word | (((fromA ^ afterZ) & kHighBits) >> 2);
}

// The index (0-7) of the first byte of a word that has its high bit set, given
// the word's high bits (not zero).
inline std::size_t firstHighByte(std::uint64_t highBits) {
  if constexpr (std::endian::native == std::endian::little)
    return static_cast<std::size_t>(std::countr_zero(highBits) / 8);
  else
    return static_cast<std::size_t>(std::countl_zero(highBits) / 8);
}

// Copies the ASCII bytes from `data + pos` to `out` up to the first byte beyond
// ASCII, eight at a time while eight bytes are left, and moves both on. Whole
// words are stored, so `out` needs room for seven bytes more than it is given.
inline void copyAsciiWords(const char* data, std::size_t size, std::size_t& pos, char*& out) {
  while (pos + 8 <= size) {
    const std::uint64_t eight = load(data + pos);
    store(out, eight);
    const std::uint64_t high = eight & kHighBits;
    const std::size_t ascii = high ? firstHighByte(high) : 8;
    out += ascii;
    pos += ascii;
    if (high) return;
  }
}

// The offset of the first byte at or after `from` that is not ASCII, or the size of the text.
inline std::size_t asciiRunEnd(std::string_view text, std::size_t from) {
  const char* const data = text.data();
  std::size_t at = from;
  for (; at + 8 <= text.size(); at += 8) {
    if (const std::uint64_t high = load(data + at) & kHighBits) return at + firstHighByte(high);
  }
  while (at < text.size() && static_cast<unsigned char>(data[at]) < 0x80) ++at;
  return at;
}

}  // namespace cq::ascii_words
