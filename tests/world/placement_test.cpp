#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "gamedata/area_preview.h"
#include "support/scoped_test_env.h"
#include "world/world_fixture.h"
#include "world/world_messages.h"

namespace ws::world {
namespace {

using testing::demoMap;
using testing::firstChecked;
using testing::place;

struct RuleCase {
  const char* name;
  int area;
  AreaKind kind;
  std::vector<bool> checked;
  std::string_view message;  // empty: the placement stands
};

class PlacementRules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(PlacementRules, FailingRuleShowsItsMessageAndFreesTheSlot) {
  const RuleCase& c = GetParam();
  AreaSlotTable slots;
  auto placed = place(slots, c.area, c.kind, 0, 0, c.checked);
  if (c.message.empty()) {
    ASSERT_TRUE(placed.ok()) << placed.error().message;
    EXPECT_EQ(*placed, 0);
    EXPECT_TRUE(slots[0].used);
  } else {
    ASSERT_FALSE(placed.ok());
    EXPECT_EQ(placed.error().message, c.message);
    EXPECT_FALSE(slots[0].used);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PlacementRules,
    ::testing::Values(
        RuleCase{
            "TownWithTwoHouses", 14, AreaKind::Town, {true, true}, kTownNeedsThreeHousesMessage},
        RuleCase{"TownWithThreeHouses", 14, AreaKind::Town, {true, false, true, true}, {}},
        RuleCase{"LinkGateWithoutDungeon",
                 0,
                 AreaKind::LinkGate,
                 {false, false, false},
                 kLinkGateNeedsDungeonMessage},
        RuleCase{"LinkGateWithFourDungeons", 2, AreaKind::LinkGate, firstChecked(4), {}},
        RuleCase{"LinkGateWithFiveDungeons", 2, AreaKind::LinkGate, firstChecked(5),
                 kAtMostFourDungeonsMessage},
        RuleCase{"FieldWithTowerAndThreeDungeons", 9, AreaKind::Field, firstChecked(3), {}},
        RuleCase{"FieldWithTowerAndFourDungeons", 9, AreaKind::Field, firstChecked(4),
                 kAtMostFourDungeonsMessage},
        RuleCase{"FieldWithoutTowerAndFourDungeons", 13, AreaKind::Field, firstChecked(4), {}},
        RuleCase{"FieldWithoutTowerAndFiveDungeons", 13, AreaKind::Field, firstChecked(5),
                 kAtMostFourDungeonsMessage},
        RuleCase{"FieldWithNothing", 8, AreaKind::Field, {}, {}},
        // The three placement rules come first: no dungeon outranks the missing gate.
        RuleCase{"LinkGateKindWithoutLinkGateObjectNoDungeon",
                 6,
                 AreaKind::LinkGate,
                 {},
                 kLinkGateNeedsDungeonMessage},
        RuleCase{"LinkGateKindWithoutLinkGateObject", 6, AreaKind::LinkGate, firstChecked(1),
                 kLinkGateObjectMissingMessage},
        RuleCase{"TownKindWithoutChurch", 19, AreaKind::Town, firstChecked(3),
                 kTownChurchMissingMessage},
        RuleCase{"TownKindWithTwoHousesAndChurch", 20, AreaKind::Town, firstChecked(2),
                 kTownNeedsThreeHousesMessage}),
    [](const ::testing::TestParamInfo<RuleCase>& rule) { return std::string(rule.param.name); });

TEST(Placement, ChosenObjectsFollowQueryOrderWithTheirPositions) {
  AreaSlotTable slots;
  ASSERT_TRUE(place(slots, 2, AreaKind::LinkGate, 32, 64, {false, true, false, true}).ok());
  const auto map = demoMap(2);
  const auto dungeons = gamedata::QueryAreaObjects(map, gamedata::KeyDungeon, 255);
  const auto gate = gamedata::QueryAreaObjects(map, gamedata::KeyLinkGate, 1);
  ASSERT_EQ(dungeons.size(), 6u);
  ASSERT_EQ(gate.size(), 1u);
  const AreaSlot& slot = slots[0];
  EXPECT_EQ(slot.areaNumber, 2);
  EXPECT_EQ(slot.x, 32);
  EXPECT_EQ(slot.y, 64);
  EXPECT_EQ(slot.width, 64);
  EXPECT_EQ(slot.height, 32);
  EXPECT_EQ(slot.kind, AreaKind::LinkGate);
  ASSERT_EQ(slot.objectCount, 2);
  for (std::size_t i = 0; i < 2; ++i) {
    const auto& expected = dungeons[i == 0 ? 1 : 3];
    EXPECT_EQ(slot.objectIds[i], expected.index);
    EXPECT_EQ(slot.objectX[i], expected.x);
    EXPECT_EQ(slot.objectY[i], expected.y);
  }
  EXPECT_EQ(slot.specialId, gate[0].index);
  EXPECT_EQ(slot.specialX, gate[0].x);
  EXPECT_EQ(slot.specialY, gate[0].y);
}

TEST(Placement, FieldWithoutTowerHasNoSpecial) {
  AreaSlotTable slots;
  ASSERT_TRUE(place(slots, 6, AreaKind::Field, 0, 0, {}).ok());
  EXPECT_EQ(slots[0].specialId, kNoSpecial);
  EXPECT_EQ(slots[0].objectCount, 0);
}

TEST(Placement, FillsTheLowestFreeSlotAndRefusesAFifth) {
  AreaSlotTable slots;
  for (int i = 0; i < 4; ++i)
    ASSERT_TRUE(place(slots, 8, AreaKind::Field, 0, 0, {}).ok());
  slots.free(1);
  auto again = place(slots, 8, AreaKind::Field, 0, 0, {});
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(*again, 1);
  auto fifth = place(slots, 8, AreaKind::Field, 0, 0, {});
  ASSERT_FALSE(fifth.ok());
  EXPECT_EQ(fifth.error().message, kAtMostFourAreasMessage);
  EXPECT_EQ(slots.usedCount(), 4);
}

TEST(Placement, RequestedSlotMustBeFree) {
  AreaSlotTable slots;
  auto third = place(slots, 8, AreaKind::Field, 0, 0, {}, 2);
  ASSERT_TRUE(third.ok());
  EXPECT_EQ(*third, 2);
  EXPECT_FALSE(slots[0].used);
  EXPECT_FALSE(place(slots, 8, AreaKind::Field, 0, 0, {}, 2).ok());
  EXPECT_FALSE(place(slots, 8, AreaKind::Field, 0, 0, {}, 4).ok());
}

TEST(Placement, MapFileNotReadIsRefused) {
  AreaSlotTable slots;
  const PlacementRequest request{29, AreaKind::Field, 0, 0, 64, 32, {}, std::nullopt};
  auto invalid = PlaceArea(slots, request, demoMap(29));
  ASSERT_FALSE(invalid.ok());
  EXPECT_EQ(invalid.error().message, gamedata::kNotMsgFile);
  auto missing = PlaceArea(slots, request, Error{"gone"});
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().message, "gone");
  EXPECT_EQ(slots.usedCount(), 0);
}

TEST(Placement, ReadingAMissingAreaMapFileNamesIt) {
  const platform::testing::TempFolder temp("placement");
  const auto& folder = temp.path();
  ASSERT_TRUE(demo::makeDemoGame(folder).ok());
  const auto catalogue = demo::demoCatalogue();
  auto missing = readAreaMapFile(folder, catalogue, 31);
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.error().message.find(std::string(kFileNotFoundSuffix)), std::string::npos);
  EXPECT_NE(missing.error().message.find('\n'), std::string::npos);
  EXPECT_FALSE(readAreaMapFile(folder, catalogue, 4).ok());    // empty name
  EXPECT_FALSE(readAreaMapFile(folder, catalogue, 200).ok());  // past the catalogue
  auto present = readAreaMapFile(folder, catalogue, 14);
  ASSERT_TRUE(present.ok());
  EXPECT_EQ(present->bytes, demoMap(14).bytes);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace ws::world

namespace ws::world {
namespace {

// The site rules against one placed area: the link gate area 1 (96 x 48) at
// (128, 64).
TEST(PlacementSite, DecidesMapBoundsOverlapAndTheOneLinkGate) {
  AreaSlotTable slots;
  ASSERT_TRUE(place(slots, 1, AreaKind::LinkGate, 128, 64, firstChecked(1)).ok());
  using Reason = SiteConflict::Reason;
  struct Case {
    AreaKind kind;
    int x, y, width, height;
    std::optional<Reason> conflict;
  };
  const Case cases[] = {
      {AreaKind::Field, 0, 0, 128, 64, std::nullopt},
      {AreaKind::Field, 384, 192, 128, 64, std::nullopt},  // the bottom-right corner
      {AreaKind::Field, 385, 0, 128, 64, Reason::OutsideMap},
      {AreaKind::Field, 0, 193, 128, 64, Reason::OutsideMap},
      {AreaKind::Field, -32, 0, 32, 16, Reason::OutsideMap},
      {AreaKind::Field, 0, -1, 32, 16, Reason::OutsideMap},
      {AreaKind::Field, 32, 64, 96, 48, std::nullopt},   // touches the left edge
      {AreaKind::Field, 224, 64, 32, 32, std::nullopt},  // touches the right edge
      {AreaKind::Field, 128, 16, 32, 48, std::nullopt},  // touches the top edge
      {AreaKind::Field, 33, 64, 96, 48, Reason::Overlap},
      {AreaKind::Field, 223, 111, 32, 32, Reason::Overlap},
      {AreaKind::Town, 160, 80, 8, 8, Reason::Overlap},  // inside it
      {AreaKind::LinkGate, 0, 0, 32, 32, Reason::SecondLinkGate},
      {AreaKind::LinkGate, 0, 200, 32, 64, Reason::OutsideMap},  // the map is checked first
  };
  for (const Case& c : cases) {
    const PlacementRequest request{0, c.kind, c.x, c.y, c.width, c.height, {}, std::nullopt};
    const auto conflict = FindSiteConflict(slots, request);
    ASSERT_EQ(conflict.has_value(), c.conflict.has_value()) << c.x << ", " << c.y;
    if (!conflict) continue;
    EXPECT_EQ(conflict->reason, *c.conflict) << c.x << ", " << c.y;
    EXPECT_EQ(conflict->slot, *c.conflict == Reason::OutsideMap ? -1 : 0);
    EXPECT_FALSE(conflict->message.empty());
  }
}

TEST(AreaSizeOf, IsTheSizeTheDrawingReportsForEveryDemoArea) {
  for (const demo::DemoAreaInfo& area : demo::demoAreas()) {
    const gamedata::AreaMapFile& file = demoMap(area.areaNumber);
    canvas::Canvas preview(gamedata::kPreviewWidth, gamedata::kPreviewHeight);
    const auto drawn = gamedata::DrawAreaMap(file, preview);
    const auto size = gamedata::AreaSizeOf(file);
    ASSERT_EQ(size.ok(), drawn.ok()) << area.areaNumber;
    if (size) {
      EXPECT_EQ(*size, *drawn) << area.areaNumber;
    } else {
      EXPECT_EQ(size.error().message, drawn.error().message);
    }
  }
}

}  // namespace
}  // namespace ws::world
