#include "support/ovba_compressor.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

namespace cq::test {
namespace {

constexpr std::size_t kChunkSize = 4096;
constexpr std::size_t kMinimumMatch = 3;
constexpr std::size_t kMaxChainSteps = 256;
constexpr int kNoPosition = -1;

void appendLittleEndian16(std::string& out, unsigned value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

// Positions of the chunk by their first three bytes, newest first.
class MatchFinder {
 public:
  explicit MatchFinder(std::string_view chunk) : chunk_(chunk), previous_(chunk.size(), kNoPosition) {
    head_.fill(kNoPosition);
  }

  void insert(std::size_t pos) {
    if (pos + kMinimumMatch > chunk_.size()) return;
    const unsigned key = hashAt(pos);
    previous_[pos] = head_[key];
    head_[key] = static_cast<int>(pos);
  }

  // The longest earlier match at `pos` no longer than maxLength: {offset, length}.
  std::pair<std::size_t, std::size_t> longestMatch(std::size_t pos, std::size_t maxLength) const {
    std::pair<std::size_t, std::size_t> best{0, 0};
    if (pos + kMinimumMatch > chunk_.size()) return best;
    std::size_t steps = 0;
    for (int candidate = head_[hashAt(pos)]; candidate != kNoPosition && steps < kMaxChainSteps;
         candidate = previous_[static_cast<std::size_t>(candidate)], ++steps) {
      const auto from = static_cast<std::size_t>(candidate);
      std::size_t length = 0;
      while (length < maxLength && chunk_[from + length] == chunk_[pos + length]) ++length;
      if (length > best.second) best = {pos - from, length};
    }
    return best;
  }

 private:
  unsigned hashAt(std::size_t pos) const {
    const auto at = [&](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(chunk_[i])); };
    return ((at(pos) << 8) ^ (at(pos + 1) << 4) ^ at(pos + 2)) & 0xFFF;
  }

  std::string_view chunk_;
  std::array<int, 4096> head_;
  std::vector<int> previous_;
};

std::string chunkTokens(std::string_view chunk) {
  std::string tokens;
  MatchFinder finder(chunk);
  std::size_t pos = 0;
  while (pos < chunk.size()) {
    const std::size_t flagPos = tokens.size();
    tokens += '\0';
    unsigned flags = 0;
    for (int bit = 0; bit < 8 && pos < chunk.size(); ++bit) {
      const int offsetBits = std::max(4, pos == 0 ? 0 : static_cast<int>(std::bit_width(pos - 1)));
      const std::size_t maxLength = std::min<std::size_t>((0xFFFFu >> offsetBits) + kMinimumMatch, chunk.size() - pos);
      const auto [offset, length] = finder.longestMatch(pos, maxLength);
      if (length >= kMinimumMatch) {
        flags |= 1u << bit;
        appendLittleEndian16(tokens,
                             static_cast<unsigned>(((offset - 1) << (16 - offsetBits)) | (length - kMinimumMatch)));
        for (std::size_t i = 0; i < length; ++i) finder.insert(pos + i);
        pos += length;
      } else {
        tokens += chunk[pos];
        finder.insert(pos);
        ++pos;
      }
    }
    tokens[flagPos] = static_cast<char>(flags);
  }
  return tokens;
}

void appendChunk(std::string& out, std::string_view body, bool compressed) {
  const unsigned header = (compressed ? 0x8000u : 0u) | 0x3000u | static_cast<unsigned>(body.size() + 2 - 3);
  appendLittleEndian16(out, header);
  out.append(body);
}

}  // namespace

std::string compressOvba(std::string_view data, bool rawChunksOnly) {
  std::string out(1, '\x01');
  for (std::size_t start = 0; start < data.size(); start += kChunkSize) {
    const std::string_view chunk = data.substr(start, kChunkSize);
    if (rawChunksOnly) {
      appendChunk(out, chunk, false);
      continue;
    }
    const std::string tokens = chunkTokens(chunk);
    // A short final chunk stays compressed whenever its tokens fit a chunk.
    const bool worthIt = chunk.size() == kChunkSize ? tokens.size() < kChunkSize : tokens.size() <= kChunkSize;
    if (worthIt) {
      appendChunk(out, tokens, true);
    } else {
      appendChunk(out, chunk, false);
    }
  }
  return out;
}

}  // namespace cq::test
