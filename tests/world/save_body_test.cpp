#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "demo/area_map_builder.h"
#include "platform/file_io.h"
#include "platform/game_paths.h"
#include "support/scoped_test_env.h"
#include "world/save_body_layout.h"
#include "world/world_fixture.h"
#include "world/world_messages.h"

namespace ws::world {
namespace {

using testing::firstChecked;
using testing::place;
using testing::u16At;
using testing::u32At;

constexpr std::size_t kTownsfolkStride = 3390;  // serial word + record
constexpr std::size_t kGuardStride = 1094;

// The worked world: link gate "星降る門" (one dungeon) at (0, 0).
AreaSlotTable linkGateOnly() {
  AreaSlotTable slots;
  EXPECT_TRUE(place(slots, 1, AreaKind::LinkGate, 0, 0, firstChecked(1)).ok());
  return slots;
}

// Plus the town "山あいの里" (three houses, two spots) at (128, 0).
AreaSlotTable linkGateAndTown() {
  AreaSlotTable slots = linkGateOnly();
  EXPECT_TRUE(place(slots, 18, AreaKind::Town, 128, 0, firstChecked(3)).ok());
  return slots;
}

std::vector<std::uint8_t> build(AreaSlotTable& slots, std::string_view name = "w") {
  auto body = BuildSaveBody(slots, name, testing::demoSpots());
  EXPECT_TRUE(body.ok()) << (body.ok() ? "" : body.error().message);
  return body.ok() ? *body : std::vector<std::uint8_t>{};
}

bool zeroFrom(const std::vector<std::uint8_t>& body, std::size_t from) {
  return from <= body.size() && std::all_of(body.begin() + static_cast<std::ptrdiff_t>(from),
                                            body.end(), [](std::uint8_t b) { return b == 0; });
}

// The role stored in townsfolk record c of a list starting at `list`.
std::uint32_t roleOf(const std::vector<std::uint8_t>& body, std::size_t list, std::size_t c) {
  return u32At(body, list + 4 + kTownsfolkStride * c + 2 + 1040);
}

TEST(SaveBody, LinkGateWithOneDungeonHasTheWorkedLengthAndTrailingZeros) {
  AreaSlotTable slots = linkGateOnly();
  const auto body = build(slots);
  ASSERT_EQ(body.size(), 17841u);
  const std::size_t contentEnd = body.size() - 370;
  // The last guard record ends right there, and nothing follows it.
  EXPECT_EQ(u16At(body, contentEnd - 1092), 1092u);
  EXPECT_EQ(u16At(body, contentEnd - 1094), 1u);  // its serial word
  EXPECT_TRUE(zeroFrom(body, contentEnd));
  EXPECT_EQ(body[kBodyTownCountOffset], 0);
  EXPECT_EQ(body[kBodyAreaCountOffset], 1);
  // Townsfolk list after the section (98 + 28 + 8277) and the 46-byte gap.
  EXPECT_EQ(u32At(body, 8403 + 46), 2u);
}

TEST(SaveBody, AddingATownGivesTheWorkedLengthAndCharacters) {
  AreaSlotTable slots = linkGateAndTown();
  const auto body = build(slots);
  ASSERT_EQ(body.size(), 44749u);
  const std::size_t contentEnd = body.size() - 356;
  EXPECT_TRUE(zeroFrom(body, contentEnd));
  EXPECT_EQ(u16At(body, contentEnd - 1092), 1092u);
  EXPECT_EQ(body[kBodyTownCountOffset], 1);

  // Header 98, two area headers, link gate section 8277, town section 72,
  // town record 904, gap 46: the townsfolk list.
  const std::size_t list = 98 + 56 + 8277 + 72 + 904 + 46;
  ASSERT_EQ(u32At(body, list), 9u);
  const std::vector<std::uint32_t> roles{8, 8, 1, 2, 3, 4, 5, 261, 4613};
  for (std::size_t c = 0; c < roles.size(); ++c) {
    EXPECT_EQ(u16At(body, list + 4 + kTownsfolkStride * c), c) << "serial word " << c;
    EXPECT_EQ(roleOf(body, list, c), roles[c]) << "character " << c;
    EXPECT_EQ(u16At(body, list + 4 + kTownsfolkStride * c + 2 + 8), c < 2 ? 3u : 17u);
  }
  const std::size_t guards = list + 4 + kTownsfolkStride * 9 + 14;
  for (std::size_t w = 0; w < 8; ++w)
    EXPECT_EQ(u32At(body, guards + 4 * w), 0x00260000u);
  EXPECT_EQ(u32At(body, guards + 32), 4u);
}

TEST(SaveBody, TownCharactersStandAtHousesSpotsAndChurch) {
  AreaSlotTable slots = linkGateAndTown();
  const auto body = build(slots);
  ASSERT_FALSE(body.empty());
  const AreaSlot& town = slots[1];
  const auto spots = testing::demoSpots()(town);
  ASSERT_TRUE(spots.ok());
  ASSERT_EQ(spots->size(), 2u);
  const std::size_t list = 98 + 56 + 8277 + 72 + 904 + 46;
  const int X = town.x * 2;
  const int Y = town.y * 2;
  struct Expected {
    std::size_t character;
    int x, y;
  };
  const std::vector<Expected> expected{
      {0, 66, 40},
      {1, 72, 40},
      {2, X + town.objectX[2] + 1, Y + town.objectY[2] + 13},
      {3, X + town.objectX[1] - 2, Y + town.objectY[1] + 12},
      {4, X + town.objectX[1] + 1, Y + town.objectY[1] + 13},
      {5, X + town.objectX[0] + 4, Y + town.objectY[0] + 12},
      {6, X + (*spots)[0].x, Y + (*spots)[0].y},
      {7, X + (*spots)[1].x, Y + (*spots)[1].y},
      {8, X + town.specialX - 1, Y + town.specialY + 13},
  };
  for (const Expected& e : expected) {
    const std::size_t record = list + 4 + kTownsfolkStride * e.character + 2;
    EXPECT_EQ(u16At(body, record + 10), static_cast<std::uint16_t>(e.x)) << e.character;
    EXPECT_EQ(u16At(body, record + 12), static_cast<std::uint16_t>(e.y)) << e.character;
  }
  // Town record: the centre doubled; the town's guards at its bottom-right.
  const std::size_t townRecord = 98 + 56 + 8277 + 72;
  EXPECT_EQ(u16At(body, townRecord), 17u);
  EXPECT_EQ(u16At(body, townRecord + 2), (128u + 32u) * 2u);
  EXPECT_EQ(u16At(body, townRecord + 4), 24u * 2u);
  const std::size_t guardList = list + 4 + kTownsfolkStride * 9 + 14 + 32;
  for (std::size_t g = 2; g < 4; ++g) {
    const std::size_t record = guardList + 4 + kGuardStride * g + 2;
    EXPECT_EQ(u16At(body, record + 8), 17u);
    EXPECT_EQ(u16At(body, record + 10), 256u + 64u);
    EXPECT_EQ(u16At(body, record + 12), 48u);
  }
}

TEST(SaveBody, HeaderHoldsFixedValuesNameAndCounts) {
  AreaSlotTable slots = linkGateAndTown();
  const std::string name = "\x83\x65\x83\x58\x83\x67";  // テスト
  const auto body = build(slots, name);
  ASSERT_GE(body.size(), kBodyHeaderSize);
  EXPECT_EQ(body[0], 2);
  EXPECT_EQ(body[1], 1);
  EXPECT_EQ(body[12], 255);
  EXPECT_EQ(body[13], 15);
  EXPECT_EQ(std::string(body.begin() + 16, body.begin() + 22), name);
  EXPECT_TRUE(std::all_of(body.begin() + 22, body.begin() + 52, [](auto b) { return b == 0; }));
  for (std::size_t i = 0; i < 10; ++i)
    EXPECT_EQ(u16At(body, 52 + 2 * i), 5000u);
  EXPECT_EQ(body[74], 1);
  EXPECT_EQ(body[97], 2);
  for (std::size_t offset : {2u, 11u, 14u, 15u, 48u, 51u, 72u, 73u, 75u, 96u}) {
    EXPECT_EQ(body[offset], 0) << offset;
  }
}

TEST(SaveBody, WorldNameIsCutAtACharacterBoundaryWithinThirtyOneBytes) {
  struct Case {
    std::string name;
    std::string stored;
  };
  const std::string a30(30, 'a');
  const std::string a29(29, 'a');
  const std::vector<Case> cases{
      {"", ""},
      {a30 + "b", a30 + "b"},
      {a30 + "bc", a30 + "b"},
      {a29 + "\x83\x65", a29 + "\x83\x65"},  // テ fits whole: 31 bytes
      {a30 + "\x83\x5C", a30},               // ソ would not: cut before it
      {"ab\0cd", "ab"},                      // a NUL ends the name
      {a30 + "\x83", a30},                   // a dangling lead byte is dropped
  };
  for (const Case& c : cases) {
    AreaSlotTable slots = linkGateOnly();
    const auto body = build(slots, std::string_view(c.name.data(), c.name.size()));
    ASSERT_GE(body.size(), 48u);
    const std::string field(body.begin() + 16, body.begin() + 48);
    EXPECT_EQ(field.substr(0, c.stored.size()), c.stored);
    EXPECT_TRUE(std::all_of(field.begin() + static_cast<std::ptrdiff_t>(c.stored.size()),
                            field.end(), [](char b) { return b == 0; }))
        << c.name;
  }
}

TEST(SaveBody, WorldWithoutLinkGateIsRefused) {
  AreaSlotTable empty;
  auto none = BuildSaveBody(empty, "w", testing::demoSpots());
  ASSERT_FALSE(none.ok());
  EXPECT_EQ(none.error().message, kNoLinkGateMessage);

  AreaSlotTable fieldOnly;
  ASSERT_TRUE(place(fieldOnly, 6, AreaKind::Field, 0, 0, firstChecked(1)).ok());
  auto field = BuildSaveBody(fieldOnly, "w", testing::demoSpots());
  ASSERT_FALSE(field.ok());
  EXPECT_EQ(field.error().message, kNoLinkGateMessage);
}

TEST(SaveBody, LinkGateMovesToSlotZeroAndTheExchangeStays) {
  AreaSlotTable slots;
  ASSERT_TRUE(place(slots, 18, AreaKind::Town, 0, 0, firstChecked(3)).ok());
  ASSERT_TRUE(place(slots, 1, AreaKind::LinkGate, 128, 0, firstChecked(1), 2).ok());
  const auto body = build(slots);
  ASSERT_FALSE(body.empty());
  EXPECT_EQ(slots[0].kind, AreaKind::LinkGate);
  EXPECT_FALSE(slots[1].used);
  EXPECT_EQ(slots[2].kind, AreaKind::Town);
  EXPECT_EQ(u16At(body, 98 + 2), 1u);   // the link gate's area number first
  EXPECT_EQ(u32At(body, 98 + 24), 4u);  // with the link gate flag
  EXPECT_EQ(u16At(body, 98 + 28 + 2), 18u);
  const std::size_t townRecord = 98 + 56 + 8277 + 72;
  EXPECT_EQ(u16At(body, townRecord), 17u);
  const std::size_t list = townRecord + 904 + 46;
  EXPECT_EQ(u16At(body, list + 4 + kTownsfolkStride * 2 + 2 + 8), 17u);
}

TEST(SaveBody, FreeSlotsTakeNoAreaIndex) {
  AreaSlotTable slots;
  ASSERT_TRUE(place(slots, 1, AreaKind::LinkGate, 0, 0, firstChecked(1)).ok());
  ASSERT_TRUE(place(slots, 10, AreaKind::Field, 128, 0, firstChecked(1), 2).ok());
  ASSERT_TRUE(place(slots, 16, AreaKind::Town, 256, 0, firstChecked(3), 3).ok());
  const auto body = build(slots);
  ASSERT_FALSE(body.empty());
  const std::size_t field = 98 + 84 + 8277;
  EXPECT_EQ(body[field + 2], 1);                            // one entry
  EXPECT_EQ(body[field + 3 + 15], 1 * 16 + 2);              // areaIndex 1
  EXPECT_EQ(body[field + 3 + 18 + 1 + 1 + 9], 1 * 16 + 1);  // its map part
  const std::size_t townRecord = field + 8263 + 72;
  EXPECT_EQ(u16At(body, townRecord), 33u);
}

TEST(SaveBody, FieldTowerEntryAndBlockComeFirstAndEntriesCountFromOne) {
  AreaSlotTable slots = linkGateOnly();
  ASSERT_TRUE(place(slots, 5, AreaKind::Field, 128, 0, {false, true, true}).ok());
  const AreaSlot field = slots[1];
  ASSERT_NE(field.specialId, kNoSpecial);
  const auto body = build(slots);
  const std::size_t section = 98 + 56 + 8277;
  ASSERT_GE(body.size(), section + 4 + 3 * 18 + 3 * 8241);
  EXPECT_EQ(body[section + 2], 3);
  const std::size_t tower = section + 3;
  EXPECT_EQ(u16At(body, tower), 20153u);
  EXPECT_EQ(u32At(body, tower + 8), 3u);
  EXPECT_EQ(body[tower + 12], 1);
  EXPECT_EQ(body[tower + 13], 0);
  EXPECT_EQ(body[tower + 15], 18);
  EXPECT_EQ(body[tower + 16], 0);
  EXPECT_EQ(body[tower + 17], field.specialId);
  for (std::size_t u = 0; u < 2; ++u) {
    const std::size_t entry = tower + 18 * (u + 1);
    EXPECT_EQ(u16At(body, entry), 20152u);
    EXPECT_EQ(body[entry + 13], u + 1);
    EXPECT_EQ(body[entry + 16], u + 1);
    EXPECT_EQ(body[entry + 17], field.objectIds[u]);
  }
  const std::size_t gates = tower + 54;
  EXPECT_EQ(body[gates], 0);
  const std::size_t towerBlock = gates + 1;
  EXPECT_EQ(body[towerBlock], 1);
  EXPECT_EQ(body[towerBlock + 1 + 6], 2);   // selector: tower
  EXPECT_EQ(body[towerBlock + 1 + 8], 0);   // ordinal
  EXPECT_EQ(body[towerBlock + 1 + 46], 3);  // type
  EXPECT_EQ(body[towerBlock + 8241 + 1 + 6], 1);
  EXPECT_EQ(body[towerBlock + 8241 + 1 + 8], 1);
}

TEST(SaveBody, FieldWithoutTowerWritesNoTowerRecord) {
  AreaSlotTable slots = linkGateOnly();
  ASSERT_TRUE(place(slots, 6, AreaKind::Field, 128, 0, firstChecked(4)).ok());
  ASSERT_EQ(slots[1].specialId, kNoSpecial);
  const auto body = build(slots);
  const std::size_t section = 98 + 56 + 8277;
  ASSERT_GT(body.size(), section + 4 + 4 * 18);
  EXPECT_EQ(body[section + 2], 4);
  EXPECT_EQ(u16At(body, section + 3), 20152u);
  EXPECT_EQ(body[section + 3 + 16], 1);
  EXPECT_EQ(body[section + 3 + 13], 1);
  EXPECT_EQ(body.size(), 17841u + 4 + 4 * 8259 + 28);
}

TEST(SaveBody, LinkGateEntriesCountFromZeroAndGateNamesTheLinkObject) {
  AreaSlotTable slots;
  ASSERT_TRUE(place(slots, 0, AreaKind::LinkGate, 0, 0, firstChecked(3)).ok());
  const AreaSlot gate = slots[0];
  const auto body = build(slots);
  // Three entries and one gate: the reserve grows by 14 per further entry.
  ASSERT_EQ(body.size(), 98u + 28 + 4 + 3 * 8273 + 9438);
  EXPECT_TRUE(zeroFrom(body, body.size() - (370 + 14 * 2)));
  const std::size_t entries = 98 + 28 + 3;
  for (std::size_t u = 0; u < 3; ++u) {
    EXPECT_EQ(body[entries + 18 * u + 13], u + 1);
    EXPECT_EQ(body[entries + 18 * u + 15], 2);
    EXPECT_EQ(body[entries + 18 * u + 16], u);
    EXPECT_EQ(body[entries + 18 * u + 17], gate.objectIds[u]);
  }
  const std::size_t gateRecord = entries + 54 + 1;
  EXPECT_EQ(body[gateRecord - 1], 1);
  EXPECT_EQ(u32At(body, gateRecord), 20154u);
  EXPECT_EQ(body[gateRecord + 11], 3);
  EXPECT_EQ(body[gateRecord + 13], gate.specialId);
}

TEST(SaveBody, BuildingValuesGoToTheFirstThreeHouses) {
  AreaSlotTable slots = linkGateOnly();
  ASSERT_TRUE(place(slots, 15, AreaKind::Town, 128, 0, firstChecked(4)).ok());
  const AreaSlot town = slots[1];
  const auto body = build(slots);
  const std::size_t section = 98 + 56 + 8277;
  ASSERT_GT(body.size(), section + 100);
  ASSERT_EQ(body[section], 4);
  const std::vector<std::pair<std::uint32_t, std::uint8_t>> values{
      {110, 5}, {163, 4}, {73, 3}, {0, 18}};
  for (std::size_t j = 0; j < 4; ++j) {
    const std::size_t record = section + 1 + 20 * j;
    EXPECT_EQ(u16At(body, record), 20150u);
    EXPECT_EQ(u16At(body, record + 2), values[j].first);
    EXPECT_EQ(body[record + 4], values[j].second);
    EXPECT_EQ(body[record + 18], town.objectIds[j]);
  }
  const std::size_t church = section + 1 + 80;
  EXPECT_EQ(body[church], 1);
  EXPECT_EQ(u16At(body, church + 1), 20151u);
  EXPECT_EQ(u16At(body, church + 3), 3u * 3u);  // three spots
  EXPECT_EQ(body[church + 7], town.specialId);
  EXPECT_EQ(body[church + 9], 0);   // entries
  EXPECT_EQ(body[church + 10], 0);  // gates
}

TEST(SaveBody, ChurchWordAndClericRoleFollowSpotCountModuloFour) {
  // "城下町" has five spots: 5 AND 3 = 1.
  AreaSlotTable slots = linkGateOnly();
  ASSERT_TRUE(place(slots, 17, AreaKind::Town, 128, 0, firstChecked(3)).ok());
  const auto body = build(slots);
  const std::size_t section = 98 + 56 + 8277;
  ASSERT_GT(body.size(), section + 200);
  EXPECT_EQ(u16At(body, section + 1 + 60 + 1 + 2), 3u);
  const std::size_t list = section + 72 + 904 + 46;
  ASSERT_EQ(u32At(body, list), 2u + 5u + 5u);
  const std::vector<std::uint32_t> spotRoles{5, 261, 517, 773, 5};
  for (std::size_t k = 0; k < 5; ++k)
    EXPECT_EQ(roleOf(body, list, 6 + k), spotRoles[k]);
  EXPECT_EQ(roleOf(body, list, 11), 4357u);
}

TEST(SaveBody, TwoTownsFollowSlotOrderAndSerialsRunOn) {
  AreaSlotTable slots = linkGateOnly();
  ASSERT_TRUE(place(slots, 18, AreaKind::Town, 128, 0, firstChecked(3)).ok());
  ASSERT_TRUE(place(slots, 27, AreaKind::Town, 256, 0, firstChecked(3)).ok());
  const auto body = build(slots);
  ASSERT_EQ(body.size(), 68269u);
  EXPECT_EQ(body[74], 2);
  const std::size_t towns = 98 + 84 + 8277 + 72 + 72;
  EXPECT_EQ(u16At(body, towns), 17u);
  EXPECT_EQ(u16At(body, towns + 904), 33u);
  const std::size_t list = towns + 2 * 904 + 46;
  ASSERT_EQ(u32At(body, list), 15u);
  const std::vector<std::uint32_t> roles{8, 8, 1, 2, 3, 4, 5, 261, 4613, 1, 2, 3, 4, 5, 4357};
  for (std::size_t c = 0; c < 15; ++c) {
    EXPECT_EQ(u16At(body, list + 4 + kTownsfolkStride * c), c);
    EXPECT_EQ(roleOf(body, list, c), roles[c]) << c;
    EXPECT_EQ(u16At(body, list + 4 + kTownsfolkStride * c + 2 + 8), c < 2 ? 3u : c < 9 ? 17u : 33u);
  }
  const std::size_t guards = list + 4 + kTownsfolkStride * 15 + 14 + 32;
  ASSERT_EQ(u32At(body, guards), 6u);
  const std::vector<std::uint32_t> areas{3, 3, 17, 17, 33, 33};
  for (std::size_t g = 0; g < 6; ++g) {
    EXPECT_EQ(u16At(body, guards + 4 + kGuardStride * g), g);
    EXPECT_EQ(u16At(body, guards + 4 + kGuardStride * g + 2 + 8), areas[g]);
  }
  EXPECT_TRUE(zeroFrom(body, guards + 4 + kGuardStride * 6));
  EXPECT_EQ(body.size() - (guards + 4 + kGuardStride * 6), 370u - 14u - 12u);
}

// A town with more spots than the reserve absorbs.
demo::AreaDescription crowdedTown(int spots, int spotCapacity) {
  demo::AreaDescription area;
  area.gridWidth = 16;
  area.gridHeight = 16;
  for (int k = 0; k < spots; ++k) {
    area.objects.push_back({gamedata::KeyTownsfolkSpot, static_cast<std::int16_t>(k % 16),
                            static_cast<std::int16_t>(k % 7)});
  }
  for (std::int16_t h = 0; h < 3; ++h)
    area.objects.push_back({gamedata::KeyHouse, h, h});
  area.objects.push_back({gamedata::KeyChurch, 5, 5});
  area.spotCapacity = spotCapacity;
  area.placeCount = 4;
  return area;
}

TEST(SaveBody, BodyGrowsToItsContentWhenTownsOutrunTheReserve) {
  const gamedata::AreaMapFile crowded{demo::buildAreaMapFile(crowdedTown(200, 200))};
  AreaSlotTable slots = linkGateOnly();
  PlacementRequest request{99, AreaKind::Town, 128, 0, 16, 8, firstChecked(3), std::nullopt};
  ASSERT_TRUE(PlaceArea(slots, request, crowded).ok());
  const TownSpotsSource spots =
      [&crowded](const AreaSlot&) -> Result<std::vector<gamedata::AreaObjectRef>> {
    return gamedata::QueryAreaObjects(crowded, gamedata::KeyTownsfolkSpot, 200);
  };
  auto body = BuildSaveBody(slots, "w", spots);
  ASSERT_TRUE(body.ok());
  const std::size_t reserved = 98 + 56 + 8277 + 4 + 3388 * 200 + 60 + 20040 + 9438;
  const std::size_t content = reserved - 370 + 10 + 2 * 200;
  ASSERT_EQ(body->size(), content);
  // The last guard record fills the body to its last byte.
  EXPECT_EQ(u16At(*body, content - 1092), 1092u);
  EXPECT_EQ(u16At(*body, content - 1094), 3u);
}

class GameFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = platform::testing::uniqueTestFolder("save-body"); }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::filesystem::path folder_;
};

TEST_F(GameFolderTest, OnlyTheFirstSpotCapacitySpotsCount) {
  gamedata::AreaCatalogue catalogue(200);
  catalogue[7] = "crowd";
  const auto path = platform::areaMapFilePath(folder_, "crowd");
  std::filesystem::create_directories(path.parent_path());
  ASSERT_TRUE(platform::writeFileAtomic(path, demo::buildAreaMapFile(crowdedTown(5, 2))).ok());
  AreaSlot town;
  town.areaNumber = 7;
  auto spots = townSpotsFromGame(folder_, catalogue)(town);
  ASSERT_TRUE(spots.ok());
  ASSERT_EQ(spots->size(), 2u);
  EXPECT_EQ((*spots)[1].y, 1);
}

TEST_F(GameFolderTest, TownWhoseMapFileIsMissingIsNotSaved) {
  gamedata::AreaCatalogue catalogue(200);
  catalogue[18] = "gone";
  AreaSlotTable slots = linkGateOnly();
  ASSERT_TRUE(place(slots, 18, AreaKind::Town, 128, 0, firstChecked(3)).ok());
  auto body = BuildSaveBody(slots, "w", townSpotsFromGame(folder_, catalogue));
  ASSERT_FALSE(body.ok());
  const std::string& message = body.error().message;
  EXPECT_NE(message.find("gone"), std::string::npos);
  EXPECT_NE(message.find(kFileNotFoundSuffix), std::string::npos);
}

}  // namespace
}  // namespace ws::world
