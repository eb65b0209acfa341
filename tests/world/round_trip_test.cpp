#include <gtest/gtest.h>

#include <random>

#include "world/world_fixture.h"

namespace ws::world {
namespace {

using testing::demoMapSource;
using testing::place;

// A random world the editor could make: a link gate and up to three more
// areas of any kind the area allows, at random places, with random check
// marks, in random free slots. Placements that fail their rules are skipped
// as the editor would refuse them.
AreaSlotTable randomWorld(std::mt19937& random) {
  std::vector<const demo::DemoAreaInfo*> gates;
  std::vector<const demo::DemoAreaInfo*> valid;
  for (const demo::DemoAreaInfo& area : demo::demoAreas()) {
    if (area.file != demo::DemoAreaFile::Valid) continue;
    valid.push_back(&area);
    if (area.linkGate) gates.push_back(&area);
  }
  const auto pick = [&random](std::size_t count) {
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
  };
  const auto checks = [&](int count) {
    std::vector<bool> checked;
    for (int k = 0; k < count; ++k)
      checked.push_back(random() % 3 != 0);
    return checked;
  };
  const auto slotFor = [&](const AreaSlotTable& slots) -> std::optional<int> {
    if (random() % 2 == 0) return std::nullopt;
    std::vector<int> free;
    for (int i = 0; i < kSlotCount; ++i) {
      if (!slots[i].used) free.push_back(i);
    }
    return free[pick(free.size())];
  };

  AreaSlotTable slots;
  const int areas = 1 + static_cast<int>(random() % 4);
  const int gateAt = static_cast<int>(random() % static_cast<unsigned>(areas));
  for (int n = 0; n < areas; ++n) {
    const demo::DemoAreaInfo& area =
        n == gateAt ? *gates[pick(gates.size())] : *valid[pick(valid.size())];
    AreaKind kind = AreaKind::Field;
    if (n == gateAt) {
      kind = AreaKind::LinkGate;
    } else if (area.canBeTown() && random() % 2 == 0) {
      kind = AreaKind::Town;
    }
    const int candidates = kind == AreaKind::Town ? area.houses : area.dungeons;
    // A link gate must stand, or the world could not be saved. Each attempt
    // takes a free site, as the editor's clicks can only place there.
    for (int attempt = 0; attempt < 20; ++attempt) {
      const int x =
          32 * static_cast<int>(random() % static_cast<unsigned>(1 + (512 - area.width) / 32));
      const int y =
          32 * static_cast<int>(random() % static_cast<unsigned>(1 + (256 - area.height) / 32));
      const PlacementRequest site{area.areaNumber, kind, x, y, area.width, area.height, {}, {}};
      if (!FindSiteConflict(slots, site) &&
          place(slots, area.areaNumber, kind, x, y, checks(candidates), slotFor(slots)).ok()) {
        break;
      }
      if (n != gateAt && attempt > 2) break;
    }
  }
  return slots;
}

std::vector<AreaSlot> usedSlots(const AreaSlotTable& slots) {
  std::vector<AreaSlot> used;
  slots.forEachUsed([&used](int, const AreaSlot& slot) { used.push_back(slot); });
  return used;
}

void expectSameArea(const AreaSlot& got, const AreaSlot& expected) {
  EXPECT_EQ(got.areaNumber, expected.areaNumber);
  EXPECT_EQ(got.x, expected.x);
  EXPECT_EQ(got.y, expected.y);
  EXPECT_EQ(got.width, expected.width);
  EXPECT_EQ(got.height, expected.height);
  EXPECT_EQ(got.kind, expected.kind);
  EXPECT_EQ(got.specialId, expected.specialId);
  if (expected.specialId != kNoSpecial) {
    EXPECT_EQ(got.specialX, expected.specialX);
    EXPECT_EQ(got.specialY, expected.specialY);
  }
  ASSERT_EQ(got.objectCount, expected.objectCount);
  for (std::size_t j = 0; j < expected.objectCount; ++j) {
    EXPECT_EQ(got.objectIds[j], expected.objectIds[j]);
    EXPECT_EQ(got.objectX[j], expected.objectX[j]);
    EXPECT_EQ(got.objectY[j], expected.objectY[j]);
  }
}

TEST(RoundTrip, SaveLoadSaveGivesTheSameBodyAndTheSameWorld) {
  std::mt19937 random(20240607);
  int towns = 0;
  for (int world = 0; world < 300; ++world) {
    SCOPED_TRACE(world);
    AreaSlotTable slots = randomWorld(random);
    auto first = BuildSaveBody(slots, "round trip", testing::demoSpots());
    ASSERT_TRUE(first.ok()) << first.error().message;
    slots.forEachUsed(
        [&towns](int, const AreaSlot& slot) { towns += slot.kind == AreaKind::Town; });

    auto parsed = ParseSaveBody(*first);
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed->worldName, "round trip");
    auto restored = RestoreAreaSlots(*parsed, demoMapSource());
    ASSERT_TRUE(restored.ok()) << restored.error().message;

    const auto expected = usedSlots(slots);
    const auto got = usedSlots(*restored);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i)
      expectSameArea(got[i], expected[i]);

    auto second = BuildSaveBody(*restored, "round trip", testing::demoSpots());
    ASSERT_TRUE(second.ok());
    ASSERT_EQ(*second, *first);
  }
  EXPECT_GT(towns, 30);  // the worlds did exercise the town records
}

}  // namespace
}  // namespace ws::world
