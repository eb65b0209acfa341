#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "platform/little_endian.h"
#include "world/area_header_record.h"
#include "world/entry_record.h"
#include "world/gate_record.h"
#include "world/map_part_block.h"

namespace ws::world {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t u32(const Bytes& bytes, std::size_t offset) {
  return platform::loadU32(bytes, offset).value();
}

struct AreaHeaderCase {
  AreaKind kind;
  std::int32_t x, y, width, height;
  std::uint32_t left, top, right, bottom;
  std::uint16_t kindCode;
  std::uint32_t kindFlag;
};

TEST(AreaHeaderRecord, StoresDoubledRectangleAndReversedKindNumbers) {
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  const AreaHeaderCase cases[] = {
      {AreaKind::LinkGate, 0, 0, 128, 64, 0, 0, 256, 128, 20303, 4},
      {AreaKind::Town, 128, 64, 128, 64, 256, 128, 512, 256, 20301, 1},
      {AreaKind::Field, 32, 96, 64, 32, 64, 192, 192, 256, 20302, 2},
      {AreaKind::Field, -3, -1, 2, 1, static_cast<std::uint32_t>(-6),
       static_cast<std::uint32_t>(-2), static_cast<std::uint32_t>(-2), 0, 20302, 2},
      // Extreme edges wrap to their low 32 bits instead of overflowing.
      {AreaKind::Town, kMax, 0, kMax, 0, 0xFFFFFFFE, 0, 0xFFFFFFFC, 0, 20301, 1},
      // A kind outside AreaKind leaves the kind fields 0.
      {static_cast<AreaKind>(9), 1, 1, 1, 1, 2, 2, 4, 4, 0, 0},
  };
  for (const auto& c : cases) {
    Bytes record(kAreaHeaderRecordSize, 0);
    EXPECT_EQ(WriteAreaHeader(record, 0x0137, 0, c.kind, c.x, c.y, c.width, c.height), 28);
    EXPECT_EQ(u32(record, 0), 0x01374E84u);  // 20100, then the area number
    EXPECT_EQ(platform::loadU16(record, 4), c.kindCode);
    EXPECT_EQ(platform::loadU16(record, 6), 0);
    EXPECT_EQ(u32(record, 8), c.left);
    EXPECT_EQ(u32(record, 12), c.top);
    EXPECT_EQ(u32(record, 16), c.right);
    EXPECT_EQ(u32(record, 20), c.bottom);
    EXPECT_EQ(u32(record, 24), c.kindFlag);
  }
}

TEST(AreaHeaderRecord, LinkGateAtOriginIsByteExact) {
  Bytes record(kAreaHeaderRecordSize, 0);
  WriteAreaHeader(record, 7, 0x0A0B, AreaKind::LinkGate, 0, 0, 128, 64);
  const Bytes expected{0x84, 0x4E, 0x07, 0x00, 0x4F, 0x4F, 0x0B, 0x0A, 0, 0, 0, 0, 0, 0,
                       0,    0,    0x00, 0x01, 0,    0,    0x80, 0,    0, 0, 4, 0, 0, 0};
  EXPECT_EQ(record, expected);
}

TEST(EntryRecord, TowerAndEntranceAreByteExact) {
  struct Case {
    std::uint32_t type;
    std::uint8_t subKind, ordinal, areaIndex, index, objectId;
    Bytes expected;
  };
  const Case cases[] = {
      // The tower of area 1.
      {3, 1, 0, 1, 0, 0x21, {0xB9, 0x4E, 0, 0, 0x51, 0x4F, 0, 0, 3, 0, 0, 0, 1, 0, 0, 18, 0, 0x21}},
      // The second entrance of the link gate.
      {2, 2, 2, 0, 1, 0x05, {0xB8, 0x4E, 0, 0, 0x51, 0x4F, 0, 0, 2, 0, 0, 0, 2, 2, 0, 2, 1, 0x05}},
      // Area index 16 keeps only the low byte of 258.
      {2, 2, 1, 16, 3, 0xFF, {0xB8, 0x4E, 0, 0, 0x51, 0x4F, 0, 0, 2, 0, 0, 0, 2, 1, 0, 2, 3, 0xFF}},
  };
  for (const auto& c : cases) {
    Bytes record(kEntryRecordSize, 0);
    EXPECT_EQ(WriteEntryRecord(record, 0, 0, c.type, c.subKind, c.ordinal, 0, c.areaIndex, c.index,
                               c.objectId),
              18);
    EXPECT_EQ(record, c.expected);
  }
}

TEST(EntryRecord, PassesThroughTheUnusedArgumentsAndTellsTowerByFirstByte) {
  Bytes record(kEntryRecordSize, 0);
  WriteEntryRecord(record, 0x1234, 0x5678, 0x0A0B0C0D, 1, 0, 0x99, 2, 0, 7);
  EXPECT_EQ(record[0], kTowerTagLowByte);
  EXPECT_EQ(platform::loadU16(record, 2), 0x1234);
  EXPECT_EQ(platform::loadU16(record, 6), 0x5678);
  EXPECT_EQ(u32(record, 8), 0x0A0B0C0Du);
  EXPECT_EQ(record[14], 0x99);
  EXPECT_EQ(record[15], 34);
  // Any sub-kind other than 1 is an entrance.
  WriteEntryRecord(record, 0, 0, 2, 0, 0, 0, 0, 0, 0);
  EXPECT_NE(record[0], kTowerTagLowByte);
}

TEST(GateRecord, LinkGateRecordIsByteExact) {
  Bytes record(kGateRecordSize, 0);
  EXPECT_EQ(WriteGateRecord(record, 0, 0x2A), 14);
  const Bytes expected{0xBA, 0x4E, 0, 0, 0x52, 0x4F, 0, 0, 0, 0, 0, 3, 0, 0x2A};
  EXPECT_EQ(record, expected);
  WriteGateRecord(record, 17, 1);
  EXPECT_EQ(record[11], 19);  // (17 * 16 + 3) & 0xFF
}

Bytes expectedMapPart(std::uint8_t selector, std::uint8_t areaIndex, std::uint8_t ordinal,
                      std::uint8_t type) {
  Bytes part(kMapPartSize, 0);
  part[0] = 0x86;  // 20102
  part[1] = 0x4E;
  part[4] = 1;
  part[5] = 1;
  part[6] = selector;
  part[8] = ordinal;
  part[9] = static_cast<std::uint8_t>(areaIndex * 16 + 1);
  part[46] = type;
  return part;
}

TEST(MapPartBlock, WritesCountAndIdenticalPartsAndLeavesTheRestUntouched) {
  struct Case {
    std::uint8_t partCount, selector, areaIndex, ordinal, type;
  };
  const Case cases[] = {{1, 1, 0, 2, 2}, {1, 2, 2, 0, 3}, {3, 1, 1, 4, 2}, {0, 1, 1, 1, 2}};
  for (const auto& c : cases) {
    const auto size = static_cast<std::size_t>(mapPartBlockSize(c.partCount));
    // The sentinel shows which bytes the writer leaves to the caller's zero fill.
    Bytes block(size + 4, 0xEE);
    ASSERT_EQ(WriteMapPartBlock(block, c.partCount, c.selector, c.areaIndex, c.ordinal, c.type),
              static_cast<std::int32_t>(size));
    EXPECT_EQ(block[0], c.partCount);
    Bytes expected = expectedMapPart(c.selector, c.areaIndex, c.ordinal, c.type);
    for (std::size_t p = 0; p < c.partCount; ++p) {
      const auto begin = block.begin() + static_cast<std::ptrdiff_t>(1 + 48 * p);
      Bytes part(begin, begin + 47);
      EXPECT_EQ(part, Bytes(expected.begin(), expected.begin() + 47)) << "part " << p;
      EXPECT_EQ(block[1 + 48 * p + 47], 0xEE);
    }
    for (std::size_t i = 1 + 48u * c.partCount; i < block.size(); ++i) {
      ASSERT_EQ(block[i], 0xEE) << "byte " << i;
    }
  }
  EXPECT_EQ(kSinglePartBlockSize, 8241);
}

// Every writer with the record's length, called on a destination one byte
// short of it.
struct BoundsCase {
  const char* name;
  std::int32_t length;
  std::function<std::int32_t(std::span<std::uint8_t>)> write;
};

TEST(AreaRecordWriters, WriteNothingWhenTheDestinationIsTooShort) {
  const BoundsCase cases[] = {
      {"area header", 28,
       [](auto d) { return WriteAreaHeader(d, 1, 0, AreaKind::Town, 1, 2, 3, 4); }},
      {"entry", 18, [](auto d) { return WriteEntryRecord(d, 0, 0, 2, 2, 1, 0, 1, 0, 5); }},
      {"gate", 14, [](auto d) { return WriteGateRecord(d, 0, 5); }},
      {"map part block", 8241, [](auto d) { return WriteMapPartBlock(d, 1, 1, 0, 1, 2); }},
      {"map part block of 200 parts", 1 + 48 * 200 + 8192,
       [](auto d) { return WriteMapPartBlock(d, 200, 1, 0, 1, 2); }},
  };
  for (const auto& c : cases) {
    Bytes buffer(static_cast<std::size_t>(c.length) + 8, 0xEE);
    const auto shortSpan =
        std::span<std::uint8_t>(buffer).first(static_cast<std::size_t>(c.length) - 1);
    EXPECT_EQ(c.write(shortSpan), c.length) << c.name;
    EXPECT_EQ(buffer, Bytes(buffer.size(), 0xEE)) << c.name;
    EXPECT_EQ(c.write({}), c.length) << c.name;
    // With room to spare, nothing past the record changes.
    c.write(buffer);
    for (std::size_t i = static_cast<std::size_t>(c.length); i < buffer.size(); ++i) {
      EXPECT_EQ(buffer[i], 0xEE) << c.name << " byte " << i;
    }
  }
}

}  // namespace
}  // namespace ws::world
