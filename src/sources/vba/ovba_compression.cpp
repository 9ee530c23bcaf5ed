#include "sources/vba/ovba_compression.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace cq {
namespace {

constexpr unsigned char kContainerSignature = 0x01;
constexpr std::size_t kChunkSize = 4096;
constexpr std::size_t kChunkHeaderSize = 2;
constexpr unsigned kChunkSignature = 0b011;
constexpr std::size_t kMinimumCopyLength = 3;

unsigned byteAt(std::string_view data, std::size_t pos) { return static_cast<unsigned char>(data[pos]); }

unsigned littleEndian16(std::string_view data, std::size_t pos) {
  return byteAt(data, pos) | (byteAt(data, pos + 1) << 8);
}

// Decompresses one chunk's token sequences into out[0, capacity); returns the
// number of bytes written, or nullopt on a damaged token.
std::optional<std::size_t> decompressChunk(std::string_view tokens, char* out, std::size_t capacity) {
  std::size_t written = 0;
  std::size_t pos = 0;
  while (pos < tokens.size()) {
    const unsigned flags = byteAt(tokens, pos++);
    for (int bit = 0; bit < 8 && pos < tokens.size(); ++bit) {
      if ((flags & (1u << bit)) == 0) {
        if (written == capacity) return std::nullopt;
        out[written++] = tokens[pos++];
        continue;
      }
      if (tokens.size() - pos < 2 || written == 0) return std::nullopt;
      const unsigned token = littleEndian16(tokens, pos);
      pos += 2;
      // The further into the chunk, the more bits the offset takes from the length.
      const int offsetBits = std::max(4, static_cast<int>(std::bit_width(written - 1)));
      const unsigned lengthMask = 0xFFFFu >> offsetBits;
      const std::size_t length = (token & lengthMask) + kMinimumCopyLength;
      const std::size_t offset = (token >> (16 - offsetBits)) + 1;
      if (offset > written || length > capacity - written) return std::nullopt;
      const char* from = out + written - offset;
      for (std::size_t i = 0; i < length; ++i) out[written + i] = from[i];  // may overlap itself
      written += length;
    }
  }
  return written;
}

}  // namespace

std::optional<std::string> decompressOvba(std::string_view container, std::size_t maxOutput, bool* tooLarge) {
  if (tooLarge) *tooLarge = false;
  if (container.empty() || byteAt(container, 0) != kContainerSignature) return std::nullopt;
  std::string out;
  std::size_t written = 0;
  std::size_t pos = 1;
  while (pos < container.size()) {
    if (container.size() - pos < kChunkHeaderSize) return std::nullopt;
    const unsigned header = littleEndian16(container, pos);
    if (((header >> 12) & 0b111) != kChunkSignature) return std::nullopt;
    const std::size_t chunkBytes = (header & 0x0FFF) + 3;  // header included
    if (chunkBytes > container.size() - pos) return std::nullopt;
    const std::string_view data = container.substr(pos + kChunkHeaderSize, chunkBytes - kChunkHeaderSize);
    pos += chunkBytes;

    const std::size_t capacity = std::min(kChunkSize, maxOutput - written);
    out.resize(written + capacity);
    const bool compressed = (header & 0x8000) != 0;
    if (compressed) {
      const std::optional<std::size_t> chunkLength = decompressChunk(data, out.data() + written, capacity);
      if (!chunkLength) {
        // Cut short by the limit rather than by damage: the whole chunk decompresses.
        if (tooLarge && capacity < kChunkSize) {
          std::string whole(kChunkSize, '\0');
          *tooLarge = decompressChunk(data, whole.data(), kChunkSize).has_value();
        }
        return std::nullopt;
      }
      written += *chunkLength;
    } else {
      // A raw chunk holds its bytes as they are (4096 of them, or fewer at the end).
      if (data.size() > capacity) {
        if (tooLarge) *tooLarge = data.size() <= kChunkSize;
        return std::nullopt;
      }
      std::copy(data.begin(), data.end(), out.begin() + static_cast<std::ptrdiff_t>(written));
      written += data.size();
    }
  }
  out.resize(written);
  return out;
}

}  // namespace cq
