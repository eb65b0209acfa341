#include "demo/demo_game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "gamedata/area_map_file.h"
#include "gamedata/area_preview.h"
#include "platform/text.h"
#include "support/scoped_test_env.h"

namespace ws::demo {
namespace {

using gamedata::AreaMapFile;

std::vector<const DemoAreaInfo*> valid() {
  std::vector<const DemoAreaInfo*> areas;
  for (const auto& area : demoAreas()) {
    if (area.file == DemoAreaFile::Valid) areas.push_back(&area);
  }
  return areas;
}

int count(bool (*pick)(const DemoAreaInfo&)) {
  const auto areas = valid();
  return static_cast<int>(
      std::count_if(areas.begin(), areas.end(), [&](const DemoAreaInfo* a) { return pick(*a); }));
}

TEST(DemoGame, CatalogueHoldsTheAreasAtTheirNumbers) {
  const auto catalogue = demoCatalogue();
  ASSERT_EQ(catalogue.size(), 200u);
  for (const auto& area : demoAreas()) {
    const auto cp932 = platform::utf8ToCp932(area.utf8Name);
    ASSERT_TRUE(cp932.has_value()) << area.utf8Name;
    EXPECT_EQ(catalogue[static_cast<std::size_t>(area.areaNumber)], *cp932);
    EXPECT_LE(cp932->size(), 13u) << area.utf8Name;
    EXPECT_EQ(findDemoArea(area.utf8Name), &area);
  }
  EXPECT_EQ(gamedata::parseAreaCatalogue(demoCatalogueFile()), catalogue);
  EXPECT_EQ(std::count(catalogue.begin(), catalogue.begin() + 32, std::string()), 3);
  EXPECT_EQ(catalogue[15], "Sunset Harbor");
  EXPECT_EQ(catalogue[15].size(), 13u);
  EXPECT_EQ(catalogue[2].substr(0, 2), "\x83\x5C");  // ソ ends in the byte of "\"
  EXPECT_EQ(catalogue[6].substr(0, 2), "\x95\x5C");  // 表 as well
}

TEST(DemoGame, OffersEveryKindOfAreaTheEditorNeeds) {
  EXPECT_GE(valid().size(), 24u);
  EXPECT_GE(count([](const DemoAreaInfo& a) { return a.linkGate && a.dungeons >= 1; }), 3);
  EXPECT_GE(count([](const DemoAreaInfo& a) { return a.tower; }), 3);
  EXPECT_GE(count([](const DemoAreaInfo& a) { return a.tower && a.dungeons >= 4; }), 1);
  EXPECT_GE(count([](const DemoAreaInfo& a) { return a.canBeTown(); }), 5);
  EXPECT_GE(count([](const DemoAreaInfo& a) { return a.canBeTown() && a.houses == 4; }), 1);
  EXPECT_EQ(count([](const DemoAreaInfo& a) { return !a.church && a.houses == 3; }), 1);
  EXPECT_EQ(count([](const DemoAreaInfo& a) { return a.church && a.houses == 2; }), 1);
  EXPECT_GE(count([](const DemoAreaInfo& a) { return a.width == 32 && a.height == 16; }), 1);
  EXPECT_GE(count([](const DemoAreaInfo& a) { return a.width == 128 && a.height == 64; }), 1);
}

// Every file holds exactly what its description promises, with the numbered
// objects at the end of the table and every marker inside the preview.
TEST(DemoGame, AreaFilesMatchTheirDescriptions) {
  for (const DemoAreaInfo* area : valid()) {
    SCOPED_TRACE(area->utf8Name);
    const AreaMapFile file{demoAreaMapFile(*area)};
    ASSERT_TRUE(file.isValid());
    EXPECT_EQ(file.gridWidth(), area->width);
    EXPECT_EQ(file.gridHeight(), area->gridHeight);
    EXPECT_EQ(file.gridHeight() / 2, area->height);
    EXPECT_EQ(file.placeCount(), area->placeCount());
    EXPECT_EQ(file.spotCapacity(), area->spotCapacity);
    EXPECT_GE(area->spotCapacity, area->townsfolkSpots);
    EXPECT_GT(file.recordCount(), file.placeCount()) << "unnumbered records come first";

    const struct {
      std::uint16_t key;
      int expected;
    } kinds[] = {{gamedata::KeyDungeon, area->dungeons},
                 {gamedata::KeyHouse, area->houses},
                 {gamedata::KeyChurch, area->church ? 1 : 0},
                 {gamedata::KeyTower, area->tower ? 1 : 0},
                 {gamedata::KeyLinkGate, area->linkGate ? 1 : 0},
                 {gamedata::KeyTownsfolkSpot, area->townsfolkSpots}};
    for (const auto& kind : kinds) {
      const auto objects = gamedata::QueryAreaObjects(file, kind.key, 255);
      EXPECT_EQ(static_cast<int>(objects.size()), kind.expected) << kind.key;
      for (const auto& object : objects) {
        EXPECT_GE(object.y, 0);
        EXPECT_LT(object.y, area->gridHeight);
        EXPECT_GE(object.x, 0);
        EXPECT_LT(object.x / 2, area->width);
        if (kind.key == gamedata::KeyTownsfolkSpot) {
          EXPECT_LT(object.index, 0);
          continue;
        }
        EXPECT_GE(object.index, 0);
        EXPECT_LT(object.index, area->placeCount());
        // The marker (a 7 x 7 diamond 5 rows down) stays inside the area.
        EXPECT_GE(object.x / 2 - 3, 0);
        EXPECT_LT(object.x / 2 + 3, area->width);
        EXPECT_LT(object.y / 2 + 8, area->height);
      }
    }

    canvas::Canvas preview(gamedata::kPreviewWidth, gamedata::kPreviewHeight);
    const auto size = gamedata::DrawAreaMap(file, preview);
    ASSERT_TRUE(size.ok());
    EXPECT_EQ(*size, (gamedata::AreaSize{area->width, area->height}));
  }
}

TEST(DemoGame, MapsShowLandWaterAndRoads) {
  for (const DemoAreaInfo* area : valid()) {
    const AreaMapFile file{demoAreaMapFile(*area)};
    canvas::Canvas preview(gamedata::kPreviewWidth, gamedata::kPreviewHeight);
    ASSERT_TRUE(gamedata::DrawAreaMap(file, preview).ok());
    int white = 0, blue = 0, black = 0;
    for (int y = 0; y < area->height; ++y) {
      for (int x = 0; x < area->width; ++x) {
        const auto pixel = preview.pixel(x, y);
        white += pixel == canvas::kWhite ? 1 : 0;
        blue += pixel == gamedata::kMapBlue ? 1 : 0;
        black += pixel == canvas::kBlack ? 1 : 0;
      }
    }
    EXPECT_GT(white, area->width * area->height / 4) << area->utf8Name;
    EXPECT_GT(black, 0) << area->utf8Name;
    EXPECT_EQ(white + blue + black, area->width * area->height);
  }
}

TEST(DemoGame, BrokenAreasAreRefused) {
  for (const auto& area : demoAreas()) {
    if (area.file == DemoAreaFile::Valid) continue;
    SCOPED_TRACE(area.utf8Name);
    const AreaMapFile file{demoAreaMapFile(area)};
    canvas::Canvas preview(gamedata::kPreviewWidth, gamedata::kPreviewHeight);
    const auto size = gamedata::DrawAreaMap(file, preview);
    if (area.file == DemoAreaFile::Missing) {
      EXPECT_TRUE(size.ok());
      continue;
    }
    ASSERT_FALSE(size.ok());
    EXPECT_EQ(size.error().message, "not msg file");
    const auto dungeons = gamedata::QueryAreaObjects(file, gamedata::KeyDungeon, 255);
    EXPECT_EQ(static_cast<int>(dungeons.size()),
              area.file == DemoAreaFile::BadMagic ? area.dungeons : 0);
  }
}

TEST(DemoGame, SameSeedSameBytesOtherSeedOtherTerrain) {
  const DemoAreaInfo& area = *findDemoArea("港町");
  EXPECT_EQ(demoAreaMapFile(area, 7), demoAreaMapFile(area, 7));
  EXPECT_NE(demoAreaMapFile(area, 7), demoAreaMapFile(area, 8));
  const AreaMapFile other{demoAreaMapFile(area, 8)};
  EXPECT_EQ(gamedata::QueryAreaObjects(other, gamedata::KeyHouse, 255).size(), 6u);
}

std::vector<std::uint8_t> slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DemoGame, WritesTheGameFolder) {
  const platform::testing::TempFolder temp("demo-game");
  const auto& folder = temp.path();
  ASSERT_TRUE(makeDemoGame(folder, 3).ok());
  EXPECT_EQ(slurp(folder / "res" / "Mif_area.bin"), demoCatalogueFile());
  EXPECT_TRUE(std::filesystem::is_directory(folder / "usr"));
  EXPECT_TRUE(std::filesystem::is_empty(folder / "usr"));
  const auto areaFolder = folder / "data" / "map" / "mif" / "area";
  for (const auto& area : demoAreas()) {
    const auto path = areaFolder / std::u8string(area.utf8Name.begin(), area.utf8Name.end());
    if (area.file == DemoAreaFile::Missing) {
      EXPECT_FALSE(std::filesystem::exists(path)) << area.utf8Name;
    } else {
      EXPECT_EQ(slurp(path), demoAreaMapFile(area, 3)) << area.utf8Name;
    }
  }
  // Writing again over an existing game replaces it with the same files.
  EXPECT_TRUE(makeDemoGame(folder, 3).ok());
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace ws::demo
