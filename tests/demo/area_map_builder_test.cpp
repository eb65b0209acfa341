#include "demo/area_map_builder.h"

#include <gtest/gtest.h>

#include "demo/catalogue_builder.h"
#include "gamedata/area_catalogue.h"
#include "gamedata/area_map_file.h"

namespace ws::demo {
namespace {

TEST(AreaMapBuilder, WritesTheFieldsTheReaderExpects) {
  AreaDescription area;
  area.gridWidth = 3;
  area.gridHeight = 2;
  area.attributes = {1, 2, 3, 4, 5};  // the sixth cell defaults to 0
  area.objects = {{0x0309, -2, 7}, {0x0109, 300, -1}};
  area.spotCapacity = 9;
  area.placeCount = 1;
  const auto bytes = buildAreaMapFile(area);
  ASSERT_EQ(bytes.size(), 72u + 30u * 6u + 52u * 2u);
  const std::vector<std::pair<std::size_t, std::uint8_t>> fields{
      {0, 72},
      {1, 0},
      {8, 0},
      {11, 0},
      {22, 3},
      {23, 2},
      {40, 2},
      {52, 9},
      {60, 1},
      {100, 1},
      {100 + 30 * 4, 5},
      {100 + 30 * 5, 0},
      {252 + 6, 0x09},
      {252 + 7, 0x03},
      {252 + 8, 0xFE},
      {252 + 9, 0xFF},
      {252 + 10, 7},
      {304 + 8, 0x2C},
      {304 + 9, 0x01},
      {304 + 10, 0xFF},
      {304 + 11, 0xFF},
  };
  for (const auto& [offset, value] : fields)
    EXPECT_EQ(bytes[offset], value) << offset;
  // Bytes nobody reads are never zero, so a reader that strays sees garbage.
  for (std::size_t offset : {std::size_t{12}, std::size_t{41}, std::size_t{72}, std::size_t{252}})
    EXPECT_NE(bytes[offset], 0) << offset;
}

TEST(CatalogueBuilder, NamesSitInTheirFieldsWithFillerAround) {
  const std::vector<std::string> names{"abc", "FourteenBytes!"};
  const auto file = buildCatalogueFile(names);
  ASSERT_EQ(file.size(), gamedata::kCatalogueFileSize);
  EXPECT_EQ(std::string(file.begin() + 25, file.begin() + 29), std::string("abc\0", 4));
  EXPECT_NE(file[29], 0);  // after the NUL: filler
  EXPECT_EQ(std::string(file.begin() + 47, file.begin() + 61), "FourteenBytes!");
  EXPECT_NE(file[61], 0);  // no NUL after a full field
  EXPECT_EQ(file[69], 0);  // entry 2 is empty
  EXPECT_EQ(buildShortCatalogueFile(names, 30).size(), 30u);
}

}  // namespace
}  // namespace ws::demo
