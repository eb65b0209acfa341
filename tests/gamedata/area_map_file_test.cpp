#include "gamedata/area_map_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "demo/area_map_builder.h"

namespace ws::gamedata {
namespace {

using demo::AreaDescription;
using demo::AreaFileDefect;
using demo::ObjectRecord;

AreaMapFile fileOf(const AreaDescription& area) {
  return AreaMapFile{demo::buildAreaMapFile(area)};
}

AreaDescription smallArea(std::vector<ObjectRecord> objects, int placeCount) {
  AreaDescription area;
  area.gridWidth = 3;
  area.gridHeight = 4;
  area.objects = std::move(objects);
  area.placeCount = placeCount;
  area.spotCapacity = 2;
  return area;
}

TEST(AreaMapFile, HeaderFieldsAreSingleBytes) {
  AreaDescription area = smallArea({{KeyHouse, 1, 1}}, 1);
  area.gridWidth = 200;
  area.gridHeight = 3;
  area.spotCapacity = 7;
  const AreaMapFile file = fileOf(area);
  EXPECT_EQ(file.gridWidth(), 200);
  EXPECT_EQ(file.gridHeight(), 3);
  EXPECT_EQ(file.recordCount(), 1);
  EXPECT_EQ(file.spotCapacity(), 7);
  EXPECT_EQ(file.placeCount(), 1);
  EXPECT_EQ(file.objectTableOffset(), 72u + 30u * 600u);
  EXPECT_TRUE(file.isValid());
}

TEST(AreaMapFile, HeaderOfATinyFileReadsAsZero) {
  const AreaMapFile file{std::vector<std::uint8_t>(20, 0xFF)};
  EXPECT_EQ(file.gridWidth(), 0);
  EXPECT_EQ(file.recordCount(), 0);
  EXPECT_EQ(file.placeCount(), 0);
  EXPECT_FALSE(file.isComplete());
  EXPECT_FALSE(file.isValid());
  EXPECT_TRUE(QueryAreaObjects(file, KeyHouse, 10).empty());
}

TEST(AreaMapFile, ValidityNeedsBothHeaderWordsAndTheWholeTable) {
  const AreaDescription area = smallArea({{KeyDungeon, 1, 1}, {KeyDungeon, 2, 2}}, 2);
  struct Case {
    AreaFileDefect defect;
    bool complete;
  };
  const std::vector<Case> cases{
      {AreaFileDefect::BadMagic, true},
      {AreaFileDefect::NonZeroWordAt8, true},
      {AreaFileDefect::Truncated, false},
      {AreaFileDefect::HeaderPromisesMore, false},
  };
  for (const auto& c : cases) {
    const AreaMapFile file{demo::buildBrokenAreaMapFile(area, c.defect)};
    EXPECT_FALSE(file.isValid()) << static_cast<int>(c.defect);
    EXPECT_EQ(file.isComplete(), c.complete) << static_cast<int>(c.defect);
    // The query ignores the header words but never trusts an incomplete table.
    EXPECT_EQ(QueryAreaObjects(file, KeyDungeon, 10).size(), c.complete ? 2u : 0u)
        << static_cast<int>(c.defect);
  }
}

TEST(AreaMapFile, AttributeIsByte28OfTheCell) {
  AreaDescription area = smallArea({}, 0);
  for (int i = 0; i < 12; ++i)
    area.attributes.push_back(static_cast<std::uint8_t>(10 + i));
  const AreaMapFile file = fileOf(area);
  EXPECT_EQ(file.attribute(0, 0), 10);
  EXPECT_EQ(file.attribute(1, 2), 15);
  EXPECT_EQ(file.attribute(3, 2), 21);
  EXPECT_EQ(file.bytes[100 + 30 * 5], 15);
}

TEST(QueryAreaObjects, HalfCellXFollowsTheSignOfOddRows) {
  struct Case {
    std::int16_t x;
    std::int16_t y;
    std::int32_t halfCells;
  };
  const std::vector<Case> cases{
      {10, 5, 21}, {10, 4, 20}, {10, -3, 19}, {10, -4, 20}, {0, -1, -1}, {-5, 1, -9}, {0, 0, 0},
  };
  for (const auto& c : cases) {
    const auto results =
        QueryAreaObjects(fileOf(smallArea({{KeyTower, c.x, c.y}}, 1)), KeyTower, 1);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0], (AreaObjectRef{0, c.halfCells, c.y})) << c.x << "," << c.y;
  }
}

TEST(QueryAreaObjects, ObjectNumbersCountTheLastPRecords) {
  std::vector<ObjectRecord> records;
  for (std::int16_t i = 0; i < 10; ++i)
    records.push_back({KeyHouse, i, 0});
  const auto results = QueryAreaObjects(fileOf(smallArea(records, 4)), KeyHouse, 10);
  ASSERT_EQ(results.size(), 10u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(results[static_cast<std::size_t>(i)].index, i - 6);
    EXPECT_EQ(results[static_cast<std::size_t>(i)].x, 2 * i);
  }
}

TEST(QueryAreaObjects, KeysAreComparedOnAllSixteenBits) {
  const std::vector<ObjectRecord> records{
      {KeyTownsfolkSpot, 1, 0}, {KeyLinkGate, 2, 0}, {0x0905, 3, 0},
      {KeyTownsfolkSpot, 4, 0}, {0x0005, 5, 0},      {KeyLinkGate, 6, 0},
  };
  const AreaMapFile file = fileOf(smallArea(records, 6));
  struct Case {
    std::uint16_t key;
    std::vector<std::int32_t> halfCells;  // in table order
  };
  const std::vector<Case> cases{
      {KeyTownsfolkSpot, {2, 8}},
      {KeyLinkGate, {4, 12}},
      {KeyHouse, {}},
      {0x0905, {6}},
  };
  for (const auto& c : cases) {
    std::vector<std::int32_t> found;
    for (const auto& result : QueryAreaObjects(file, c.key, 10))
      found.push_back(result.x);
    EXPECT_EQ(found, c.halfCells) << c.key;
  }
}

TEST(QueryAreaObjects, NeverGivesMoreThanTheRoom) {
  std::vector<ObjectRecord> records;
  for (std::int16_t i = 0; i < 5; ++i)
    records.push_back({KeyChurch, i, 0});
  const AreaMapFile file = fileOf(smallArea(records, 5));
  for (std::size_t room : {0u, 1u, 3u, 5u, 9u}) {
    const auto results = QueryAreaObjects(file, KeyChurch, room);
    ASSERT_EQ(results.size(), std::min<std::size_t>(room, 5)) << room;
    for (std::size_t k = 0; k < results.size(); ++k) {
      EXPECT_EQ(results[k].index, static_cast<std::int32_t>(k)) << "first matches come first";
    }
  }
}

TEST(QueryAreaObjects, EmptyGridPutsTheTableRightAfterTheHeader) {
  for (const auto& [width, height] : {std::pair{0, 5}, std::pair{7, 0}, std::pair{0, 0}}) {
    AreaDescription area = smallArea({{KeyDungeon, 3, 2}}, 1);
    area.gridWidth = width;
    area.gridHeight = height;
    const AreaMapFile file = fileOf(area);
    EXPECT_EQ(file.objectTableOffset(), 72u);
    EXPECT_EQ(QueryAreaObjects(file, KeyDungeon, 1), (std::vector<AreaObjectRef>{{0, 6, 2}}));
  }
}

}  // namespace
}  // namespace ws::gamedata
