#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/little_endian.h"
#include "world/guard_record.h"
#include "world/record_texts.h"
#include "world/townsfolk_record.h"

namespace ws::world {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint16_t u16(const Bytes& bytes, std::size_t at) {
  return *platform::loadU16(bytes, at);
}
std::uint32_t u32(const Bytes& bytes, std::size_t at) {
  return *platform::loadU32(bytes, at);
}
std::string textAt(const Bytes& bytes, std::size_t at) {
  std::string text;
  while (bytes.at(at) != 0)
    text.push_back(static_cast<char>(bytes[at++]));
  return text;
}
std::string joined(std::string_view a, std::string_view b) {
  return std::string(a) + std::string(b);
}

Bytes guard(std::int32_t serial, std::uint32_t areaValue, std::uint16_t x = 5,
            std::uint16_t y = 6) {
  Bytes record(kGuardRecordSize, 0);
  EXPECT_EQ(WriteGuardRecord(record, serial, areaValue, x, y), 1092);
  return record;
}

Bytes townsfolk(std::int32_t role, std::int32_t serial = 3, std::uint32_t areaValue = 17) {
  Bytes record(kTownsfolkRecordSize, 0);
  EXPECT_EQ(WriteTownsfolkRecord(record, serial, areaValue, 300, 400, role), 3388);
  return record;
}

// The parts of the two templates that are alike, written out from the
// records' layout tables so that whole records can be compared.
struct Expected {
  Bytes r;
  explicit Expected(std::size_t size) : r(size, 0) {}
  void put8(std::size_t at, std::uint32_t v) { platform::storeU8(r, at, v); }
  void put16(std::size_t at, std::uint32_t v) { platform::storeU16(r, at, v); }
  void put32(std::size_t at, std::uint32_t v) { platform::storeU32(r, at, v); }
  void text(std::size_t lengthAt, std::size_t at, std::string_view t, std::size_t length) {
    put8(lengthAt, static_cast<std::uint32_t>(length));
    for (std::size_t i = 0; i < t.size(); ++i)
      r[at + i] = static_cast<std::uint8_t>(t[i]);
  }
  void common(std::uint16_t area, std::uint16_t x, std::uint16_t y, std::uint8_t serialByte) {
    put16(8, area), put16(10, x), put16(12, y), put8(20, serialByte), put16(21, 4095);
    put16(104, 10004), put16(110, 65535), put16(114, 65535), put16(116, 8193);
    put32(156, 100), put32(184, 100), put32(1032, 1);
    for (std::size_t at : {216u, 288u, 300u, 352u, 448u, 460u, 588u})
      put32(at, 0x00FF00FF);
    put32(602, 0x0C08FFFF), put32(606, 0x02C00001), put32(614, 0x01C00006);
  }
};

Bytes expectedGuard(std::int32_t serial, std::uint16_t area, std::uint16_t x, std::uint16_t y,
                    std::string_view name, std::string_view title, std::uint32_t kindValue) {
  Expected e(kGuardRecordSize);
  e.common(area, x, y, static_cast<std::uint8_t>(serial));
  e.put16(0, 1092), e.put16(2, 265), e.put32(4, static_cast<std::uint32_t>(serial)), e.put16(14, 4);
  e.text(24, 25, name, 5), e.text(57, 58, title, title.size()), e.put8(93, 2), e.put8(94, 1);
  e.put16(106, 280), e.put16(118, 8192);
  for (std::size_t i = 0; i < 4; ++i)
    e.put16(120 + 2 * i, 999), e.put16(128 + 2 * i, 99);
  for (std::size_t i = 0; i < 4; ++i)
    e.put16(138 + 2 * i, 5000);
  e.put32(148, 10), e.put32(152, 4), e.put32(212, 0x01020600);
  e.put32(610, 0x0C08FFFF), e.put32(618, 0x0608FFFF);
  for (std::size_t at = 622; at <= 702; at += 8)
    e.put32(at, 0x020C0001);
  for (std::size_t at = 626; at <= 698; at += 8)
    e.put32(at, at == 666 ? 0x0608FFFF : 0x0C08FFFF);
  e.put16(1040, area), e.put16(1042, x), e.put16(1044, y), e.put32(1048, 257);
  e.put32(1052, 0xFF00FF00), e.put32(1072, 49), e.put32(1076, 0xFF00FF00), e.put32(1088, kindValue);
  return e.r;
}

TEST(GuardRecord, TempleAndTownGuardsMatchTheTemplateByteForByte) {
  EXPECT_EQ(guard(0, 3, 66, 42),
            expectedGuard(0, 3, 66, 42, joined(kTextGuard, "1"), kTextTempleGuard, 0x4201));
  EXPECT_EQ(guard(3, 17, 0x1234, 0xFEDC),
            expectedGuard(3, 17, 0x1234, 0xFEDC, joined(kTextGuard, "4"), kTextTownGuard, 0x4200));
}

TEST(GuardRecord, KindFollowsTheLowThreeBitsOfTheAreaValue) {
  const std::tuple<std::uint32_t, std::uint16_t, bool> cases[] = {
      {3, 3, true}, {17, 17, false}, {19, 19, true}, {0x10003, 3, true}, {0x2A, 0x2A, false}};
  for (const auto& [areaValue, stored, temple] : cases) {
    const Bytes r = guard(1, areaValue);
    EXPECT_EQ(u16(r, 8), stored);
    EXPECT_EQ(u16(r, 1040), stored);
    EXPECT_EQ(r[57], temple ? 10 : 8);
    EXPECT_EQ(textAt(r, 58), temple ? kTextTempleGuard : kTextTownGuard);
    EXPECT_EQ(u32(r, 1088), temple ? 0x4201u : 0x4200u);
  }
}

TEST(GuardRecord, NameIsSerialPlusOneInLowerCaseHexWithLengthByteFive) {
  const std::pair<std::int32_t, const char*> cases[] = {
      {0, "1"},           {8, "9"},  {9, "a"},         {15, "10"},
      {0x12345, "12346"}, {-1, "0"}, {-2, "ffffffff"}, {0x7FFFFFFF, "80000000"}};
  for (const auto& [serial, digits] : cases) {
    const Bytes r = guard(serial, 3);
    EXPECT_EQ(textAt(r, 25), joined(kTextGuard, digits)) << serial;
    EXPECT_EQ(r[24], 5);
    EXPECT_EQ(r[57], 10);  // the longest name leaves the title alone
    EXPECT_EQ(u32(r, 4), static_cast<std::uint32_t>(serial));
    EXPECT_EQ(r[20], static_cast<std::uint8_t>(serial));
  }
}

// A whole townsfolk record; the cleric part follows the layout: sixteen
// entries with 149 + i and `last`, then the fill byte.
Bytes expectedTownsfolk(std::int32_t role, std::int32_t serial, std::uint16_t area,
                        std::string_view title, std::uint16_t value106, std::uint16_t d,
                        std::size_t chosenAt, bool cleric, std::uint32_t last) {
  Expected e(kTownsfolkRecordSize);
  e.common(area, 300, 400, static_cast<std::uint8_t>(serial));
  e.put16(0, 3388), e.put16(2, 264), e.put16(4, static_cast<std::uint32_t>(serial)),
      e.put16(6, 256);
  e.text(24, 25, title, title.size());
  e.text(57, 58, joined(title, kTextPossessive), title.size() + 2);
  e.put8(93, 2), e.put8(94, 2), e.put16(102, d), e.put16(106, value106), e.put8(119, 32);
  for (std::size_t i = 0; i < 4; ++i)
    e.put16(120 + 2 * i, 100), e.put16(128 + 2 * i, 1);
  for (std::size_t i = 0; i < 4; ++i)
    e.put16(138 + 2 * i, chosenAt == 0 ? 5000 : 0);
  if (chosenAt != 0) e.put16(chosenAt, 20000);
  e.put32(148, 6), e.put32(152, 2), e.put32(212, 0x600);
  e.put32(610, 0x1808FFFF), e.put32(618, 0x1208FFFF);
  for (std::size_t at = 622; at <= 702; at += 8)
    e.put32(at, 0x01C00006);
  for (std::size_t at = 626; at <= 698; at += 8)
    e.put32(at, 0x0C08FFFF);
  e.put8(727, 4);
  for (std::size_t at : {728u, 734u})
    e.put16(at, area), e.put16(at + 2, 300), e.put16(at + 4, 400);
  e.put32(1040, static_cast<std::uint32_t>(role)), e.put32(1044, 0x00FF00FF);
  e.put32(1060, 255), e.put32(1068, 120), e.put32(3384, 66);
  std::size_t fill = 1072;
  for (std::uint32_t i = 0; cleric && i < 16; ++i, fill += 24) {
    e.put32(fill, 0x00E36200), e.put32(fill + 4, 149 + i), e.put32(fill + 20, last);
  }
  for (std::size_t at = fill; at < 3376; ++at)
    e.r[at] = 100;
  e.put32(3376, cleric ? 16 : 0);
  return e.r;
}

TEST(TownsfolkRecord, ShopPriestAndClericsMatchTheTemplateByteForByte) {
  EXPECT_EQ(townsfolk(1, 0x12345, 0xABCD0021),
            expectedTownsfolk(1, 0x12345, 0x21, kTextWeaponShop, 266, 0, 0, false, 0));
  EXPECT_EQ(townsfolk(8, 0, 3), expectedTownsfolk(8, 0, 3, kTextPriest, 301, 4, 138, false, 0));
  EXPECT_EQ(townsfolk(261), expectedTownsfolk(261, 3, 17, kTextCleric, 301, 6, 140, true, 12));
  EXPECT_EQ(townsfolk(4613), expectedTownsfolk(4613, 3, 17, kTextCleric, 301, 0, 142, true, 9));
}

TEST(TownsfolkRecord, RoleTableGivesTitlesAndRoleValues) {
  // role, title, value at 106, d at 102, index of the 20000 among the four
  // values at 138 (-1: four 5000s).
  const std::tuple<std::int32_t, std::string_view, int, int, int> cases[] = {
      {0, kTextPriest, 301, 0, -1},         {1, kTextWeaponShop, 266, 0, -1},
      {2, kTextTavern, 266, 0, -1},         {3, kTextInformationBroker, 266, 0, -1},
      {4, kTextSynthesisShop, 266, 0, -1},  {5, kTextCleric, 301, 4, 0},
      {6, kTextFairy, 301, 0, -1},          {7, kTextBlacksmith, 301, 0, -1},
      {8, kTextPriest, 301, 4, 0},          {9, kTextPriest, 301, 0, -1},
      {12, kTextPriest, 301, 0, -1},        {15, kTextPriest, 301, 0, -1},
      {0x101, kTextWeaponShop, 266, 0, -1}, {0x308, kTextPriest, 301, 2, 3},
      {-11, kTextCleric, 301, 4, 0},  // low bits 5; -11 / 256 truncates to 0
  };
  for (const auto& [role, title, value106, d, chosen] : cases) {
    const Bytes r = townsfolk(role);
    SCOPED_TRACE(role);
    EXPECT_EQ(r[24], title.size());
    EXPECT_EQ(textAt(r, 25), title);
    EXPECT_EQ(r[57], title.size() + 2);
    EXPECT_EQ(textAt(r, 58), joined(title, kTextPossessive));
    EXPECT_EQ(u16(r, 106), value106);
    EXPECT_EQ(u16(r, 102), d);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(u16(r, 138 + 2 * static_cast<std::size_t>(i)),
                chosen < 0 ? 5000 : (i == chosen ? 20000 : 0));
    }
    EXPECT_EQ(u32(r, 3376), (role & 15) == 5 ? 16u : 0u);
  }
}

TEST(TownsfolkRecord, SlotOffsetBeyondTheFourValuesLandsNowhere) {
  for (std::int32_t bits = 0; bits < 16; ++bits) {
    for (std::int32_t kind : {5, 8}) {
      const std::int32_t b = bits * 2;
      const Bytes r = townsfolk(bits * 256 + kind);
      SCOPED_TRACE(bits * 256 + kind);
      EXPECT_EQ(u16(r, 102), b < 4 ? b + 4 : b - 4);
      for (std::size_t at = 138; at < 146; at += 2) {
        EXPECT_EQ(u16(r, at), at == 138u + static_cast<std::size_t>(b) ? 20000 : 0);
      }
      // The fields after the four values keep their template.
      EXPECT_EQ(u16(r, 146), 0);
      EXPECT_EQ(u32(r, 148), 6u);
      EXPECT_EQ(u32(r, 152), 2u);
      EXPECT_EQ(u32(r, 160), 0u);
      if (kind == 5) {
        EXPECT_EQ(u32(r, 1072 + 20), static_cast<std::uint32_t>(u16(r, 102) / 2 + 9));
      }
    }
  }
}

TEST(TownsfolkRecord, HighRoleFlagOnlyForClericsAboveTheThreshold) {
  const std::pair<std::int32_t, std::uint32_t> cases[] = {
      {5, 0}, {4101, 0}, {0x1000005, 1}, {0x1000008, 0}, {0x1000000, 0}, {-11, 0}, {0x7FFFFFF5, 1}};
  for (const auto& [role, flag] : cases)
    EXPECT_EQ(u32(townsfolk(role), 3380), flag) << role;
}

TEST(CharacterRecordWriters, WriteNothingWhenTheDestinationIsTooShort) {
  for (const std::size_t length : {std::size_t{1092}, std::size_t{3388}}) {
    auto write = [length](std::span<std::uint8_t> d) {
      return length == 1092 ? WriteGuardRecord(d, 0, 3, 1, 2)
                            : WriteTownsfolkRecord(d, 0, 3, 1, 2, 5);
    };
    Bytes buffer(length + 8, 0xEE);
    EXPECT_EQ(write(std::span<std::uint8_t>(buffer).first(length - 1)),
              static_cast<std::int32_t>(length));
    EXPECT_EQ(buffer, Bytes(buffer.size(), 0xEE));
    write(buffer);  // with room to spare, nothing past the record changes
    EXPECT_EQ(Bytes(buffer.begin() + static_cast<std::ptrdiff_t>(length), buffer.end()),
              Bytes(8, 0xEE));
  }
}

}  // namespace
}  // namespace ws::world
