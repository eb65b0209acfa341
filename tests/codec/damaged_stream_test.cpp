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

using testing::bytesOf;
using testing::HandStream;

void setField(Bytes& stream, std::size_t offset, std::int32_t value) {
  writeInt32(stream.data() + offset, value);
}

// Both decoders must turn the stream down with the system's text.
void expectRejected(const Bytes& stream) {
  auto fast = decodeStream(stream);
  ASSERT_FALSE(fast.ok());
  EXPECT_EQ(fast.error().message, "error in decord");
  auto reference = reference::decodeStream(stream);
  ASSERT_FALSE(reference.ok());
  EXPECT_EQ(reference.error().message, "error in decord");
}

// Codes 0, 10, 110, ... of a chain; the last two of 255 bits.
HandStream chainOfLongCodes() {
  HandStream hand;
  for (std::size_t v = 0; v < 255; ++v)
    hand.codes[v] = std::string(v, '1') + '0';
  hand.codes[255] = std::string(255, '1');
  return hand;
}

struct DamageCase {
  const char* name;
  const char* detail;  // part of what the fast decoder says went wrong
  std::function<Bytes()> make;
};

TEST(DamagedStream, DecodeRejectsEveryKindOfDamage) {
  const Bytes abc = encodeStream(bytesOf("abc"));  // D = 1, C = 1
  const auto edited = [&abc](std::function<void(Bytes&)> edit) {
    return [abc, edit] {
      Bytes stream = abc;
      edit(stream);
      return stream;
    };
  };
  const std::vector<DamageCase> cases = {
      {"StreamShorterThanItsTables", "the stream is 287 bytes",
       edited([](Bytes& s) { s.resize(287); })},
      {"StoredSizeSmallerThanTablesAndData", "the stored size 288 is less than",
       edited([](Bytes& s) { setField(s, kStoredSizeOffset, 288); })},
      {"StoredSizeLargerThanTheBytesAvailable", "the stored size 291 exceeds the 290 bytes",
       edited([](Bytes& s) { setField(s, kStoredSizeOffset, 291); })},
      {"StoredSizeNegative", "the stored size -1 is less than",
       edited([](Bytes& s) { setField(s, kStoredSizeOffset, -1); })},
      {"OriginalSizeNegative", "the original size -3",
       edited([](Bytes& s) { setField(s, kOriginalSizeOffset, -3); })},
      {"OriginalSizeLargerThanDataBits", "the original size 6 does not fit 5 data bits",
       edited([](Bytes& s) { setField(s, kOriginalSizeOffset, 6); })},
      {"DataBitsNegative", "does not fit -9 data bits", edited([](Bytes& s) {
         setField(s, kDataBitsOffset, -9);
         setField(s, kOriginalSizeOffset, 0);
       })},
      {"DataBitsBeyondTheStream", "(268435744 bytes)",
       edited([](Bytes& s) { setField(s, kDataBitsOffset, 0x7FFFFFFF); })},
      {"CodeSectionShorterThanTheLengths", "the code section holds 8 bits",
       edited([](Bytes& s) { s[kCodeLengthTableOffset + 0x63] = 9; })},
      {"OverSubscribedCodeTable", "the code of byte 99 repeats", edited([](Bytes& s) {
         s[kCodeLengthTableOffset + 0x61] = 1;
         s[kCodeLengthTableOffset + 0x62] = 1;
         s[kCodeLengthTableOffset + 0x63] = 1;
       })},
      {"TwoEqualCodes", "the code of byte 98 repeats",
       [] {
         HandStream hand;
         hand.codes['a'] = "01";
         hand.codes['b'] = "01";
         return hand.build();
       }},
      {"CodeBeginsAnEarlierOne", "the code of byte 98 repeats or begins",
       [] {
         HandStream hand;
         hand.codes['a'] = "011";
         hand.codes['b'] = "01";
         return hand.build();
       }},
      {"CodeRunsThroughAnEarlierLeaf", "the code of byte 98 begins with another",
       [] {
         HandStream hand;
         hand.codes['a'] = "1";
         hand.codes['b'] = "10";
         return hand.build();
       }},
      {"TreeNeedsMoreNodesThanTheTableHolds", "more than 512 tree nodes",
       [] {
         HandStream hand;
         hand.codes[0] = std::string(255, '0');
         hand.codes[1] = std::string(255, '1');
         hand.codes[2] = "01" + std::string(253, '0');
         return hand.build();
       }},
      {"MissingChild", "before all 3 bytes",
       [] {
         HandStream hand;  // only 0 leads anywhere
         hand.codes['z'] = "0";
         hand.dataBits = "001";
         hand.originalSize = 3;
         return hand.build();
       }},
      {"DataEndsBeforeTheLastByte", "before all 7 bytes",
       [] {
         HandStream hand;
         hand.codes['a'] = "10";
         hand.codes['b'] = "11";
         hand.codes['c'] = "0";
         hand.dataBits = "1011000";  // a b c c c, then one padding bit
         hand.originalSize = 7;
         return hand.build();
       }},
      {"DataEndsInsideALongCode", "before all 1 bytes",
       [] {
         HandStream hand = chainOfLongCodes();
         hand.dataBits = std::string(200, '1');
         hand.originalSize = 1;
         return hand.build();
       }},
      {"EightBitCodesEndBeforeTheLastByte", "before all 257 bytes",
       [] {
         Bytes input;
         for (int v = 0; v < 256; ++v)
           input.push_back(static_cast<std::uint8_t>(v));
         Bytes stream = encodeStream(input);
         setField(stream, kOriginalSizeOffset, 257);
         return stream;
       }},
      {"NoCodesButBytesToProduce", "before all 4 bytes",
       [] {
         HandStream hand;
         hand.dataBits = "0000";
         hand.originalSize = 4;
         return hand.build();
       }},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes stream = c.make();
    expectRejected(stream);
    const std::string detail = decodeStream(stream).error().detail;
    EXPECT_NE(detail.find(c.detail), std::string::npos) << detail;
  }
}

TEST(DamagedStream, PaddingBitsDecodeWhenOriginalSizeAsksForThem) {
  // The decoder reads the whole data section, not just dataBits: the
  // stream's own padding zeros are code 0x63 here.
  HandStream hand;
  hand.codes['a'] = "10";
  hand.codes['b'] = "11";
  hand.codes['c'] = "0";
  hand.dataBits = "10110";
  hand.originalSize = 5;
  auto decoded = decodeStream(hand.build());
  ASSERT_TRUE(decoded.ok());
  EXPECT_EQ(*decoded, bytesOf("abccc"));
}

TEST(DamagedStream, CodesUpTo255BitsDecodeThroughTheSlowPath) {
  HandStream hand = chainOfLongCodes();
  const std::vector<std::uint8_t> symbols = {255, 0, 254, 12, 11, 200, 1, 255, 3};
  for (const std::uint8_t v : symbols)
    hand.dataBits += hand.codes[v];
  hand.originalSize = static_cast<std::int32_t>(symbols.size());
  const Bytes stream = hand.build();

  auto fast = decodeStream(stream);
  ASSERT_TRUE(fast.ok());
  EXPECT_EQ(*fast, Bytes(symbols.begin(), symbols.end()));
  auto reference = reference::decodeStream(stream);
  ASSERT_TRUE(reference.ok());
  EXPECT_EQ(*reference, *fast);
}

TEST(DamagedStream, TreeFillingTheWholeNodeTableIsAccepted) {
  // 1 root + 255 + 255 + 1 = 512 nodes, numbers 0..511: all the table holds.
  HandStream hand;
  hand.codes[0] = std::string(255, '0');
  hand.codes[1] = "1" + std::string(254, '0');
  hand.codes[2] = "01";
  hand.dataBits = hand.codes[2] + hand.codes[1];
  hand.originalSize = 2;
  const Bytes stream = hand.build();
  for (auto* decode : {&decodeStream, &reference::decodeStream}) {
    auto decoded = decode(stream);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(*decoded, (Bytes{2, 1}));
  }
}

// Random damage to random valid streams: the fast decoder and the bit-serial
// reference must agree on every one, error for error and byte for byte.
TEST(DamagedStream, FastDecoderAgreesWithTheReferenceOnRandomDamage) {
  std::mt19937 random(4242);
  int rejected = 0;
  int accepted = 0;
  for (int round = 0; round < 600; ++round) {
    const std::size_t size = std::uniform_int_distribution<std::size_t>(0, 600)(random);
    const int alphabet = std::uniform_int_distribution<int>(1, 40)(random);
    Bytes input(size);
    for (auto& b : input)
      b = static_cast<std::uint8_t>(random() % static_cast<unsigned>(alphabet));
    Bytes stream = encodeStream(input);

    const int edits = std::uniform_int_distribution<int>(1, 4)(random);
    for (int e = 0; e < edits; ++e) {
      switch (random() % 3) {
        case 0:  // a bit anywhere
          stream[random() % stream.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
          break;
        case 1:  // a code length
          stream[kCodeLengthTableOffset + random() % 256] =
              static_cast<std::uint8_t>(random() % 12);
          break;
        default: {  // a header size, nudged
          const std::size_t fields[] = {kStoredSizeOffset, kOriginalSizeOffset, kDataBitsOffset};
          const std::size_t offset = fields[random() % 3];
          setField(
              stream, offset,
              readInt32(stream.data() + offset) + static_cast<std::int32_t>(random() % 17) - 8);
          break;
        }
      }
    }
    if (random() % 4 == 0) stream.resize(random() % (stream.size() + 1));
    auto fast = decodeStream(stream);
    auto reference = reference::decodeStream(stream);
    ASSERT_EQ(fast.ok(), reference.ok()) << "round " << round;
    if (fast.ok()) {
      ASSERT_EQ(*fast, *reference) << "round " << round;
      ++accepted;
    } else {
      ASSERT_EQ(fast.error().message, reference.error().message);
      ++rejected;
    }
  }
  // Both outcomes must have been exercised for the comparison to mean much.
  EXPECT_GT(accepted, 25);
  EXPECT_GT(rejected, 25);
}

}  // namespace
}  // namespace ws::codec
