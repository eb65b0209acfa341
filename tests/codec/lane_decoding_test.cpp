// Large outputs are decoded in several lanes that start at guessed bit
// positions and are joined where they meet. Whatever the data, the result
// must be the bit-serial reference's, error for error and byte for byte.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "codec/codec_header.h"
#include "codec/huffman_decoder.h"
#include "codec/huffman_encoder.h"
#include "codec/reference_codec.h"
#include "codec/stream_builder.h"

namespace ws::codec {
namespace {

using testing::HandStream;

// Decodes with both decoders and checks that they agree; returns the result.
Result<Bytes> decodeBoth(const Bytes& stream) {
  auto fast = decodeStream(stream);
  auto reference = reference::decodeStream(stream);
  EXPECT_EQ(fast.ok(), reference.ok());
  if (fast.ok() && reference.ok()) {
    EXPECT_TRUE(*fast == *reference);
  }
  return fast;
}

Bytes zeroHeavyBody(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  Bytes body;
  while (body.size() < size) {
    body.resize(body.size() + random() % 600, 0);
    for (std::size_t k = random() % 80; k > 0; --k) {
      body.push_back(random() % 3 == 0 ? static_cast<std::uint8_t>(random()) : 0);
    }
  }
  body.resize(size);
  return body;
}

Bytes randomBytes(std::size_t size, unsigned alphabet, std::uint32_t seed) {
  std::mt19937 random(seed);
  Bytes bytes(size);
  for (auto& b : bytes)
    b = static_cast<std::uint8_t>(random() % alphabet);
  return bytes;
}

Bytes concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

void setSize(Bytes& stream, std::size_t offset, std::size_t value) {
  writeInt32(stream.data() + offset, static_cast<std::int32_t>(value));
}

// Inputs whose lanes cannot all be joined: a lane that never meets the one
// before, or output that runs far from its estimated place, must fall back
// to sequential decoding without losing a byte.
TEST(LaneDecoding, RoundTripsWhenLanesCannotBeJoined) {
  struct Case {
    const char* name;
    std::function<Bytes()> input;
  };
  const Case cases[] = {
      // Eight equally frequent values get 3-bit codes: a lane starting a bit
      // or two off a code boundary never meets one. The sizes put the lane
      // starts on every remainder modulo 3.
      {"3-bit codes, size 24000", [] { return randomBytes(24000, 8, 1); }},
      {"3-bit codes, size 24003", [] { return randomBytes(24003, 8, 2); }},
      {"3-bit codes, size 24011", [] { return randomBytes(24011, 8, 3); }},
      // The first lane's piece decodes to far more or far less than its share.
      {"zeros then noise", [] { return concat(Bytes(60000, 0), randomBytes(9000, 200, 4)); }},
      {"noise then zeros", [] { return concat(randomBytes(9000, 200, 5), Bytes(60000, 0)); }},
      {"one value only", [] { return Bytes(70000, 'z'); }},
      {"zero-heavy body", [] { return zeroHeavyBody(90000, 6); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes input = c.input();
    auto decoded = decodeBoth(encodeStream(input));
    ASSERT_TRUE(decoded.ok());
    EXPECT_TRUE(*decoded == input);
  }
}

// Damage anywhere in the data section, in any lane's piece or at the joins:
// a flipped bit, a section cut short, an originalSize that stops early.
TEST(LaneDecoding, DamageInAnyLaneMatchesTheReference) {
  const Bytes input = zeroHeavyBody(60000, 7);
  const Bytes stream = encodeStream(input);
  const auto dataSize =
      static_cast<std::size_t>(sectionSize(readInt32(stream.data() + kDataBitsOffset)));
  const std::size_t dataStart = stream.size() - dataSize;
  int rejected = 0;
  for (int step = 0; step <= 40; ++step) {
    const std::size_t at = dataStart + dataSize * static_cast<std::size_t>(step) / 41;
    SCOPED_TRACE(at);
    for (int bit = 0; bit < 8; bit += 3) {
      Bytes flipped = stream;
      flipped[at] ^= static_cast<std::uint8_t>(1u << bit);
      rejected += decodeBoth(flipped).ok() ? 0 : 1;
    }

    Bytes cut(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(at));
    setSize(cut, kStoredSizeOffset, cut.size());
    EXPECT_FALSE(decodeBoth(cut).ok());

    Bytes shorter = stream;
    const std::size_t size = input.size() * static_cast<std::size_t>(step) / 41;
    setSize(shorter, kOriginalSizeOffset, size);
    setSize(shorter, kOriginalSizeCopyOffset, size);
    auto prefix = decodeBoth(shorter);
    ASSERT_TRUE(prefix.ok());
    EXPECT_TRUE(std::equal(prefix->begin(), prefix->end(), input.begin()));
    EXPECT_EQ(prefix->size(), size);
  }
  // Most flips turn codes into others; some must still break the stream.
  EXPECT_GT(rejected, 0);
}

// A tree with a missing child (the code "11" leads nowhere): meeting it fails
// the whole decode wherever it lies, unless it lies past originalSize.
TEST(LaneDecoding, MissingChildInAnyPieceFailsUnlessPastTheEnd) {
  for (const int percent : {5, 33, 34, 50, 66, 67, 95}) {
    SCOPED_TRACE(percent);
    HandStream hand;
    hand.codes[0] = "0";
    hand.codes[1] = "10";
    std::string bits;
    std::int32_t symbols = 0;
    const std::size_t total = 80000;
    const std::size_t missingAt = total * static_cast<std::size_t>(percent) / 100;
    while (bits.size() < missingAt) {
      bits += symbols % 7 == 0 ? "10" : "0";
      ++symbols;
    }
    bits += "11";
    bits += std::string(total - bits.size(), '0');
    hand.dataBits = bits;

    hand.originalSize = symbols + 1;
    EXPECT_FALSE(decodeBoth(hand.build()).ok());
    hand.originalSize = symbols;
    auto decoded = decodeBoth(hand.build());
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded->size(), static_cast<std::size_t>(symbols));
  }
}

}  // namespace
}  // namespace ws::codec
