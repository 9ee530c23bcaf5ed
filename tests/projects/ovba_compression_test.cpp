#include "projects/vba/ovba_compression.h"

#include <gtest/gtest.h>

#include <random>

#include "support/ovba_compressor.h"

namespace cq {
namespace {

constexpr std::size_t kNoLimit = 64u * 1024 * 1024;

std::string bytes(std::initializer_list<unsigned> values) {
  std::string out;
  for (unsigned value : values) out += static_cast<char>(value);
  return out;
}

// Flags of the chunks of a container: true for a compressed chunk.
std::vector<bool> chunkKinds(std::string_view container) {
  std::vector<bool> kinds;
  std::size_t pos = 1;
  while (pos + 2 <= container.size()) {
    const unsigned header =
        static_cast<unsigned char>(container[pos]) | (static_cast<unsigned char>(container[pos + 1]) << 8);
    kinds.push_back((header & 0x8000) != 0);
    pos += (header & 0xFFF) + 3;
  }
  return kinds;
}

std::string randomBytes(std::mt19937& engine, std::size_t size) {
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(engine() & 0xFF);
  return out;
}

// Text with repeats at every distance, so that copy tokens of every bit split occur.
std::string repetitiveText(std::mt19937& engine, std::size_t size) {
  static const char* const kWords[] = {"Dim ",   "As Long",      "\r\n",      "    ", "If x Then",
                                       "End If", "' Kommentar ", "Call Foo(", ")"};
  std::string out;
  while (out.size() < size) {
    if (engine() % 4 == 0)
      out += static_cast<char>('a' + engine() % 26);
    else
      out += kWords[engine() % std::size(kWords)];
  }
  out.resize(size);
  return out;
}

TEST(OvbaCompression, DecompressesThePublishedExample) {
  // The example container of the format's documentation.
  const std::string container =
      bytes({0x01, 0x2F, 0xB0, 0x00, 0x23, 0x61, 0x61, 0x61, 0x62, 0x63, 0x64, 0x65, 0x82, 0x66, 0x00, 0x70, 0x61,
             0x67, 0x68, 0x69, 0x6A, 0x01, 0x38, 0x08, 0x61, 0x6B, 0x6C, 0x00, 0x30, 0x6D, 0x6E, 0x6F, 0x70, 0x06,
             0x71, 0x02, 0x70, 0x04, 0x10, 0x72, 0x73, 0x74, 0x75, 0x76, 0x10, 0x77, 0x78, 0x79, 0x7A, 0x00, 0x3C});
  EXPECT_EQ(decompressOvba(container, kNoLimit), "#aaabcdefaaaaghijaaaaaklaaamnopqaaaaaaaaaaaarstuvwxyzaaa");
  EXPECT_EQ(decompressOvba(test::compressOvba("#aaabcdefaaaaghijaaaaaklaaamnopqaaaaaaaaaaaarstuvwxyzaaa"), kNoLimit),
            "#aaabcdefaaaaghijaaaaaklaaamnopqaaaaaaaaaaaarstuvwxyzaaa");
  EXPECT_EQ(decompressOvba("\x01", kNoLimit), "");
}

TEST(OvbaCompression, RoundTripsAcrossChunkBoundaries) {
  std::mt19937 engine(4711);
  const std::size_t sizes[] = {0, 1, 2, 3, 17, 4095, 4096, 4097, 8191, 8192, 8193, 12289, 40000};
  for (std::size_t size : sizes) {
    for (const std::string& data : {randomBytes(engine, size), repetitiveText(engine, size)}) {
      for (bool rawOnly : {false, true}) {
        const std::string container = test::compressOvba(data, rawOnly);
        const std::optional<std::string> back = decompressOvba(container, kNoLimit);
        ASSERT_TRUE(back.has_value()) << size << (rawOnly ? " raw" : "");
        EXPECT_EQ(*back, data) << size << (rawOnly ? " raw" : "");
      }
    }
  }
  // Text compresses into token chunks, noise is stored raw: both paths are taken.
  const std::vector<bool> textChunks = chunkKinds(test::compressOvba(repetitiveText(engine, 3 * 4096)));
  EXPECT_EQ(textChunks, std::vector<bool>({true, true, true}));
  const std::vector<bool> noiseChunks = chunkKinds(test::compressOvba(randomBytes(engine, 2 * 4096)));
  EXPECT_EQ(noiseChunks, std::vector<bool>({false, false}));
  EXPECT_LT(test::compressOvba(repetitiveText(engine, 40000)).size(), 20000u);
}

TEST(OvbaCompression, RefusesDamageAndOversizeOutput) {
  const std::string text(10000, 'x');
  const std::string container = test::compressOvba(text);
  EXPECT_EQ(decompressOvba(container, 10000), text);
  EXPECT_FALSE(decompressOvba(container, 9999).has_value());

  EXPECT_FALSE(decompressOvba("", kNoLimit).has_value());
  std::string badSignature = container;
  badSignature[0] = '\x02';
  EXPECT_FALSE(decompressOvba(badSignature, kNoLimit).has_value());
  EXPECT_FALSE(decompressOvba(container.substr(0, container.size() - 1), kNoLimit).has_value());  // chunk cut short
  EXPECT_FALSE(decompressOvba(container + "\x01", kNoLimit).has_value());                         // half a chunk header
  std::string badChunkSignature = container;
  badChunkSignature[2] = static_cast<char>(badChunkSignature[2] ^ 0x40);
  EXPECT_FALSE(decompressOvba(badChunkSignature, kNoLimit).has_value());
  // A copy token before any byte was written, and one pointing before the chunk.
  EXPECT_FALSE(decompressOvba(bytes({0x01, 0x02, 0xB0, 0x01, 0x00, 0x00}), kNoLimit).has_value());
  EXPECT_FALSE(decompressOvba(bytes({0x01, 0x03, 0xB0, 0x02, 0x41, 0x00, 0x10}), kNoLimit).has_value());
  // A chunk holds at most 4096 bytes: one literal and a copy of 4095 fill it.
  EXPECT_EQ(decompressOvba(bytes({0x01, 0x03, 0xB0, 0x02, 0x41, 0xFC, 0x0F}), kNoLimit), std::string(4096, 'A'));
  EXPECT_FALSE(decompressOvba(bytes({0x01, 0x03, 0xB0, 0x02, 0x41, 0xFD, 0x0F}), kNoLimit).has_value());
  EXPECT_FALSE(decompressOvba(bytes({0x01, 0x04, 0xB0, 0x02, 0x41, 0xFC, 0x0F, 0x42}), kNoLimit).has_value());

  // Random damage never crashes and never exceeds the limit.
  std::mt19937 engine(99);
  const std::string sound = test::compressOvba(repetitiveText(engine, 20000));
  for (int round = 0; round < 2000; ++round) {
    std::string damaged = sound;
    for (int flips = 0; flips < 4; ++flips) damaged[1 + engine() % (damaged.size() - 1)] = static_cast<char>(engine());
    const std::optional<std::string> result = decompressOvba(damaged, 30000);
    if (result) {
      EXPECT_LE(result->size(), 30000u);
    }
  }
}

}  // namespace
}  // namespace cq
