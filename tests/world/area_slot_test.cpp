#include "world/area_slot.h"

#include <gtest/gtest.h>

namespace ws::world {
namespace {

TEST(AreaSlotTable, ClearFreesEverySlotButKeepsItsFields) {
  AreaSlotTable slots;
  slots[2].used = true;
  slots[2].areaNumber = 14;
  slots.clear();
  EXPECT_EQ(slots.usedCount(), 0);
  EXPECT_EQ(slots[2].areaNumber, 14);
  EXPECT_EQ(slots.firstFree(), 0);
}

TEST(AreaSlotTable, FirstFreeIsTheLowestUnusedIndex) {
  AreaSlotTable slots;
  slots[0].used = true;
  slots[1].used = true;
  slots[3].used = true;
  EXPECT_EQ(slots.firstFree(), 2);
  slots[2].used = true;
  EXPECT_FALSE(slots.firstFree().has_value());
  slots.free(0);
  EXPECT_EQ(slots.firstFree(), 0);
}

TEST(AreaSlotTable, ExchangeSwapsWholeSlotsAndWalkFollowsIndexOrder) {
  AreaSlotTable slots;
  slots[0] = AreaSlot{true, 5, 0, 0, 64, 32, AreaKind::Town};
  slots[0].objectIds[3] = 9;
  slots[2] = AreaSlot{true, 7, 32, 0, 64, 32, AreaKind::LinkGate};
  slots.exchange(0, 2);
  EXPECT_EQ(slots[0].areaNumber, 7);
  EXPECT_EQ(slots[2].objectIds[3], 9);
  std::vector<int> walked;
  slots.forEachUsed(
      [&walked](int i, const AreaSlot& slot) { walked.push_back(i * 100 + slot.areaNumber); });
  EXPECT_EQ(walked, (std::vector<int>{7, 205}));
}

}  // namespace
}  // namespace ws::world
