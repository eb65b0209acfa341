#include "world/recovery_record.h"

#include <gtest/gtest.h>

#include <tuple>

namespace ws::world {
namespace {

auto slotFields(const AreaSlot& s) {
  return std::tuple(s.used, s.areaNumber, s.x, s.y, s.width, s.height, s.kind, s.specialId,
                    s.specialX, s.specialY, s.objectCount, s.objectIds, s.objectX, s.objectY);
}

// Slot 1 free between two used slots; negative positions; a full object list.
AreaSlotTable sampleSlots() {
  AreaSlotTable slots;
  AreaSlot& town = slots[0];
  town = {true, 14, 128, 64, 128, 64, AreaKind::Town, 3, -7, 300};
  town.objectCount = 3;
  town.objectIds[0] = 1;
  town.objectIds[1] = 4;
  town.objectIds[2] = 2;
  town.objectX[1] = -2;
  town.objectY[2] = 1234;
  AreaSlot& gate = slots[3];
  gate = {true, 199, -3, 0, 32, 32, AreaKind::LinkGate, kNoSpecial, 0, 0};
  gate.objectCount = 255;
  for (std::size_t j = 0; j < 255; ++j) {
    gate.objectIds[j] = static_cast<std::uint8_t>(j);
    gate.objectX[j] = static_cast<std::int16_t>(j * 3);
    gate.objectY[j] = static_cast<std::int16_t>(-static_cast<int>(j));
  }
  return slots;
}

TEST(RecoveryRecord, KeepsEverySlotWhereItStandsAndTheName) {
  const AreaSlotTable slots = sampleSlots();
  const auto parsed = parseRecoveryRecord(encodeRecoveryRecord(slots, "\x83\x8f name"));
  ASSERT_TRUE(parsed.ok()) << parsed.error().message;
  EXPECT_EQ(parsed->worldName, "\x83\x8f name");
  for (int i = 0; i < kSlotCount; ++i) {
    EXPECT_TRUE(slotFields((*parsed).slots[i]) == slotFields(slots[i])) << i;
  }
  const auto empty = parseRecoveryRecord(encodeRecoveryRecord(AreaSlotTable{}, ""));
  ASSERT_TRUE(empty.ok());
  EXPECT_EQ(empty->slots.usedCount(), 0);
}

TEST(RecoveryRecord, RefusesEveryCutAndEveryBadField) {
  const std::vector<std::uint8_t> good = encodeRecoveryRecord(sampleSlots(), "name");
  for (std::size_t size = 0; size < good.size(); ++size) {
    EXPECT_FALSE(parseRecoveryRecord(std::span(good).first(size)).ok()) << size;
  }
  // Slot 0 starts at 44: used, area number, x, y, width, height, kind (65).
  struct Case {
    const char* name;
    std::size_t offset;
    std::uint8_t value;
  };
  const std::vector<Case> cases{
      {"signature", 0, 'X'}, {"version", 8, 2},        {"name without its end", 43, 'a'},
      {"used flag", 44, 2},  {"area number", 45, 200}, {"negative area", 48, 0x80},
      {"kind 0", 65, 0},     {"kind 4", 65, 4},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bad = good;
    for (std::size_t i = 12; c.offset == 43 && i < 44; ++i)
      bad[i] = 'a';
    bad[c.offset] = c.value;
    const auto parsed = parseRecoveryRecord(bad);
    EXPECT_FALSE(parsed.ok()) << c.name;
  }
  std::vector<std::uint8_t> longer = good;
  longer.push_back(0);
  EXPECT_FALSE(parseRecoveryRecord(longer).ok());
}

}  // namespace
}  // namespace ws::world
