#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "codec/codec_header.h"
#include "codec/huffman_decoder.h"
#include "codec/huffman_encoder.h"
#include "codec/reference_codec.h"
#include "codec/stream_builder.h"

namespace ws::codec {
namespace {

using testing::bytesOf;

CodecHeader headerOf(const Bytes& stream) {
  return readCodecHeader(std::span(stream).first<kCodecHeaderSize>());
}

// Header, lengths, code section and data section as the stream format
// spells them out.
Bytes expectedStream(std::int32_t originalSize, std::int32_t dataBits,
                     const std::vector<std::pair<std::uint8_t, std::uint8_t>>& lengths,
                     const Bytes& codeSection, const Bytes& dataSection) {
  Bytes stream(kCodeSectionOffset, 0);
  CodecHeader header;
  header.storedSize =
      static_cast<std::int32_t>(kCodeSectionOffset + codeSection.size() + dataSection.size());
  header.originalSize = originalSize;
  header.dataBits = dataBits;
  header.originalSizeCopy = originalSize;
  writeCodecHeader(header, std::span(stream).first<kCodecHeaderSize>());
  for (const auto& [value, length] : lengths)
    stream[kCodeLengthTableOffset + value] = length;
  stream.insert(stream.end(), codeSection.begin(), codeSection.end());
  stream.insert(stream.end(), dataSection.begin(), dataSection.end());
  return stream;
}

struct GoldenCase {
  const char* name;
  std::string input;
  Bytes expected;
};

TEST(HuffmanCodec, EncodesGoldenStreamsByteForByte) {
  const std::vector<GoldenCase> cases = {
      // 0x61 = 10, 0x62 = 11, 0x63 = 0: header 290, 3, 0x4648, 0, 0, 0, 5, 3.
      {"abc", "abc", expectedStream(3, 5, {{0x61, 2}, {0x62, 2}, {0x63, 1}}, {0xB0}, {0xB0})},
      // 0x62 (count 1) = 0, 0x61 = 1.
      {"aab", "aab", expectedStream(3, 3, {{0x61, 1}, {0x62, 1}}, {0x80}, {0xC0})},
      // Equal counts: the lower value takes bit 0, whatever the order.
      {"ab", "ab", expectedStream(2, 2, {{0x61, 1}, {0x62, 1}}, {0x40}, {0x40})},
      {"ba", "ba", expectedStream(2, 2, {{0x61, 1}, {0x62, 1}}, {0x40}, {0x80})},
      // 16 data bits fill exactly two bytes: no third.
      {"aabbccdd", "aabbccdd",
       expectedStream(8, 16, {{0x61, 2}, {0x62, 2}, {0x63, 2}, {0x64, 2}}, {0x1B}, {0x05, 0xAF})},
      // One value: the 1-bit code 0.
      {"zzzzzzzzz", "zzzzzzzzz", expectedStream(9, 9, {{0x7A, 1}}, {0x00}, {0x00, 0x00})},
      // Nothing: 290 bytes that decode to nothing.
      {"empty", "", expectedStream(0, 0, {}, {0x00}, {0x00})},
  };
  for (const GoldenCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes input = bytesOf(c.input);
    EXPECT_EQ(encodeStream(input), c.expected);
    auto reference = reference::encodeStream(input);
    ASSERT_TRUE(reference.ok());
    EXPECT_EQ(*reference, c.expected);
    auto decoded = decodeStream(c.expected);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(*decoded, input);
  }
}

TEST(HuffmanCodec, AllByteValuesEquallyOftenGetEightBitCodes) {
  Bytes input;
  for (int round = 0; round < 3; ++round) {
    for (int v = 255; v >= 0; --v)
      input.push_back(static_cast<std::uint8_t>(v));
  }
  const Bytes stream = encodeStream(input);
  for (std::size_t v = 0; v < 256; ++v)
    EXPECT_EQ(stream[kCodeLengthTableOffset + v], 8) << v;
  EXPECT_EQ(headerOf(stream).dataBits, 3 * 256 * 8);
  EXPECT_EQ(headerOf(stream).storedSize, 288 + 256 + 3 * 256);
  auto decoded = decodeStream(stream);
  ASSERT_TRUE(decoded.ok());
  EXPECT_EQ(*decoded, input);
}

TEST(HuffmanCodec, DecodeIgnoresWhateverFollowsTheStream) {
  Bytes stream = encodeStream(bytesOf("worldsmith"));
  stream.insert(stream.end(), {0xFF, 0x00, 0x12});
  auto decoded = decodeStream(stream);
  ASSERT_TRUE(decoded.ok());
  EXPECT_EQ(*decoded, bytesOf("worldsmith"));
}

// Random buffers of many sizes and skews: the fast encoder writes the
// reference's bytes, and both decoders give the input back.
TEST(HuffmanCodec, RandomRoundTripsMatchTheReference) {
  std::mt19937 random(20240601);
  for (int round = 0; round < 300; ++round) {
    const std::size_t size = std::uniform_int_distribution<std::size_t>(0, 4000)(random);
    const int alphabet = std::uniform_int_distribution<int>(1, 256)(random);
    const double skew = std::uniform_real_distribution<double>(0.01, 1.0)(random);
    std::geometric_distribution<int> pick(skew);
    Bytes input(size);
    for (auto& b : input)
      b = static_cast<std::uint8_t>(std::min(pick(random), alphabet - 1) * 7);

    const Bytes stream = encodeStream(input);
    auto reference = reference::encodeStream(input);
    ASSERT_TRUE(reference.ok());
    ASSERT_EQ(stream, *reference) << "round " << round;
    auto decoded = decodeStream(stream);
    ASSERT_TRUE(decoded.ok()) << "round " << round;
    ASSERT_EQ(*decoded, input) << "round " << round;
    auto referenceDecoded = reference::decodeStream(stream);
    ASSERT_TRUE(referenceDecoded.ok());
    ASSERT_EQ(*referenceDecoded, input);
  }
}

// Fibonacci counts give the deepest tree a count can: codes up to 29 bits,
// past the decoder's lookup width and the encoder's two-codes-a-flush width.
TEST(HuffmanCodec, LongCodesFromFibonacciCountsRoundTrip) {
  std::vector<std::uint32_t> counts = {1, 1};
  while (counts.size() < 30)
    counts.push_back(counts[counts.size() - 1] + counts[counts.size() - 2]);
  Bytes input;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    input.insert(input.end(), counts[i], static_cast<std::uint8_t>(i * 3));
  }
  std::shuffle(input.begin(), input.end(), std::mt19937(7));

  const Bytes stream = encodeStream(input);
  EXPECT_EQ(*std::max_element(stream.begin() + 32, stream.begin() + 288), 29);
  auto reference = reference::encodeStream(input);
  ASSERT_TRUE(reference.ok());
  EXPECT_EQ(stream, *reference);
  auto decoded = decodeStream(stream);
  ASSERT_TRUE(decoded.ok());
  EXPECT_EQ(*decoded, input);
}

// Large outputs take the wide lookup table, and long zero stretches the run
// path, in both polarities: zero gets the 1-bit code 1 when it outweighs all
// else together, and the 1-bit code 0 when it is just under half.
TEST(HuffmanCodec, LargeZeroHeavyBodiesRoundTrip) {
  struct Shape {
    std::size_t zerosMax;
    std::size_t othersMax;
    int expectedZeroCode;
  };
  std::mt19937 random(5);
  for (const Shape shape : {Shape{3000, 200, 1}, Shape{450, 550, 0}}) {
    Bytes input;
    while (input.size() < 300 * 1024) {
      input.resize(input.size() + shape.zerosMax - random() % 10, 0);
      for (std::size_t k = shape.othersMax - random() % 10; k > 0; --k) {
        input.push_back(static_cast<std::uint8_t>(1 + random() % 255));
      }
    }
    SCOPED_TRACE(shape.expectedZeroCode);
    const Bytes stream = encodeStream(input);
    ASSERT_EQ(stream[kCodeLengthTableOffset], 1);
    ASSERT_EQ(stream[kCodeSectionOffset] >> 7, shape.expectedZeroCode);
    auto decoded = decodeStream(stream);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(*decoded, input);
    auto reference = reference::decodeStream(stream);
    ASSERT_TRUE(reference.ok());
    EXPECT_EQ(*reference, input);
  }
}

TEST(HuffmanCodec, FastCodeBuilderMatchesTheLinearScanOnTies) {
  // Many equal counts, in leaves and internal nodes alike.
  std::mt19937 random(99);
  for (int round = 0; round < 200; ++round) {
    ByteCounts counts{};
    Bytes input;
    for (std::size_t v = 0; v < 256; ++v) {
      if (random() % 3 == 0) continue;
      counts[v] = 1u << (random() % 3);
      input.insert(input.end(), counts[v], static_cast<std::uint8_t>(v));
    }
    const CodeBook book = buildCodes(counts);
    auto reference = reference::encodeStream(input);
    ASSERT_TRUE(reference.ok());
    ASSERT_TRUE(std::equal(book.lengths.begin(), book.lengths.end(), reference->begin() + 32));
    ASSERT_EQ(encodeStream(input), *reference);
  }
}

}  // namespace
}  // namespace ws::codec
