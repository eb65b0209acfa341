#include "demo/demo_game.h"

#include <algorithm>
#include <array>
#include <string>
#include <system_error>

#include "demo/area_map_builder.h"
#include "demo/catalogue_builder.h"
#include "demo/demo_terrain.h"
#include "gamedata/area_map_file.h"
#include "platform/file_io.h"
#include "platform/text.h"

namespace ws::demo {

namespace {

using File = DemoAreaFile;

// clang-format off
// number, name, width, height, gridHeight, dungeons, houses, church, tower, linkGate,
// spots, spotCapacity, file
constexpr std::array kAreas{
    DemoAreaInfo{0, "始まりの門", 128, 64, 128, 3, 0, false, false, true, 0, 0, File::Valid},
    DemoAreaInfo{1, "星降る門", 96, 48, 96, 1, 0, false, false, true, 0, 0, File::Valid},
    DemoAreaInfo{2, "ソラの門", 64, 32, 64, 6, 0, false, false, true, 0, 0, File::Valid},
    DemoAreaInfo{3, "古の門", 128, 32, 64, 4, 0, false, false, true, 0, 0, File::Valid},
    DemoAreaInfo{5, "青の森", 128, 64, 128, 3, 0, false, true, false, 0, 0, File::Valid},
    DemoAreaInfo{6, "表の草原", 96, 48, 96, 4, 0, false, false, false, 0, 0, File::Valid},
    DemoAreaInfo{7, "北の塔", 64, 32, 64, 0, 0, false, true, false, 0, 0, File::Valid},
    DemoAreaInfo{8, "風の丘", 32, 16, 32, 0, 0, false, false, false, 0, 0, File::Valid},
    DemoAreaInfo{9, "霧の湿原", 128, 64, 128, 5, 0, false, true, false, 0, 0, File::Valid},
    DemoAreaInfo{10, "砂の海", 96, 32, 64, 2, 0, false, false, false, 0, 0, File::Valid},
    DemoAreaInfo{12, "火山の裾野", 64, 64, 128, 1, 0, false, true, false, 0, 0, File::Valid},
    DemoAreaInfo{13, "氷の谷", 128, 48, 96, 5, 0, false, false, false, 0, 0, File::Valid},
    DemoAreaInfo{14, "港町", 128, 64, 128, 0, 6, true, false, false, 8, 8, File::Valid},
    DemoAreaInfo{15, "Sunset Harbor", 96, 48, 96, 0, 4, true, false, false, 3, 4, File::Valid},
    DemoAreaInfo{16, "森の村", 64, 32, 64, 0, 3, true, false, false, 0, 0, File::Valid},
    DemoAreaInfo{17, "城下町", 128, 64, 128, 0, 5, true, false, false, 5, 8, File::Valid},
    DemoAreaInfo{18, "山あいの里", 64, 48, 96, 0, 3, true, false, false, 2, 2, File::Valid},
    DemoAreaInfo{19, "小さな集落", 64, 32, 64, 0, 3, false, false, false, 0, 0, File::Valid},
    DemoAreaInfo{20, "教会の丘", 64, 32, 64, 0, 2, true, false, false, 0, 0, File::Valid},
    DemoAreaInfo{21, "ソフィアの町", 128, 64, 128, 0, 4, true, false, false, 8, 8, File::Valid},
    DemoAreaInfo{22, "東の平原", 32, 32, 64, 0, 0, false, false, false, 0, 0, File::Valid},
    DemoAreaInfo{23, "西の洞窟群", 64, 32, 64, 4, 0, false, false, false, 0, 0, File::Valid},
    DemoAreaInfo{24, "湖の島", 64, 31, 63, 2, 0, false, true, false, 0, 0, File::Valid},
    DemoAreaInfo{25, "南の砂漠", 128, 64, 128, 1, 0, false, false, false, 0, 0, File::Valid},
    DemoAreaInfo{26, "月の神殿", 32, 32, 64, 2, 0, false, false, true, 0, 0, File::Valid},
    DemoAreaInfo{27, "旅人の宿場", 96, 32, 64, 0, 3, true, false, false, 1, 1, File::Valid},
    DemoAreaInfo{29, "壊れた地図", 64, 32, 64, 2, 0, false, true, false, 0, 0, File::BadMagic},
    DemoAreaInfo{30, "欠けた地図", 64, 32, 64, 2, 0, false, false, false, 0, 0, File::Truncated},
    DemoAreaInfo{31, "幻の島", 64, 32, 64, 0, 0, false, false, false, 0, 0, File::Missing},
};
// clang-format on

// Records of kinds the editor never asks for, placed before the spots and
// the numbered objects. 0x0905 has the bytes of the link gate key swapped.
constexpr std::array<std::uint16_t, 4> kOtherKeys{0x0101, 0x0601, 0x0905, 0x0705};

// Object markers are 7 x 7 diamonds whose centre lies 5 rows below the
// object; the objects stand on a lattice with this spacing so that no two
// markers overlap and every marker stays inside its area's preview.
constexpr int kMarkerSpacing = 8;
constexpr int kMarkerMargin = 4;  // left edge to the first column of the lattice
constexpr int kMarkerReach = 3;   // half width of a marker
constexpr int kMarkerBottom = 8;  // rows from the halved position to the marker's bottom

TerrainStyle styleOf(const DemoAreaInfo& area) {
  if (area.linkGate) return TerrainStyle::Gate;
  if (area.houses > 0) return TerrainStyle::Town;
  return TerrainStyle::Field;
}

constexpr std::uint64_t kAreaSeedStride = 0xA5A5A5A5;

std::uint64_t areaSeed(std::uint64_t seed, int areaNumber) {
  const std::uint64_t stride = kAreaSeedStride * static_cast<std::uint64_t>(areaNumber + 1);
  DemoRandom mix(seed ^ stride);
  return mix.next();
}

// The lattice points where numbered objects may stand, as (x cell, preview row).
std::vector<std::pair<int, int>> markerSpots(const DemoAreaInfo& area) {
  std::vector<std::pair<int, int>> spots;
  for (int row = 0; row + kMarkerBottom < area.height; row += kMarkerSpacing) {
    for (int x = kMarkerMargin; x + kMarkerReach < area.width; x += kMarkerSpacing) {
      spots.emplace_back(x, row);
    }
  }
  return spots;
}

AreaDescription describeArea(const DemoAreaInfo& area, std::uint64_t seed) {
  DemoRandom random(areaSeed(seed, area.areaNumber));
  AreaDescription description;
  description.gridWidth = area.width;
  description.gridHeight = area.gridHeight;
  description.attributes = makeTerrain(area.width, area.gridHeight, styleOf(area), random);
  description.spotCapacity = area.spotCapacity;
  description.placeCount = area.placeCount();

  auto anywhere = [&]() {
    const auto x = random.below(static_cast<std::uint32_t>(area.width));
    const auto y = random.below(static_cast<std::uint32_t>(area.gridHeight));
    return std::pair{static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)};
  };

  const int otherCount = 1 + static_cast<int>(random.below(3));
  for (int i = 0; i < otherCount; ++i) {
    const auto [x, y] = anywhere();
    description.objects.push_back({kOtherKeys[random.below(kOtherKeys.size())], x, y});
  }
  for (int i = 0; i < area.townsfolkSpots; ++i) {
    const auto [x, y] = anywhere();
    description.objects.push_back({gamedata::KeyTownsfolkSpot, x, y});
  }

  // Numbered objects: the special object first, then dungeons or houses.
  std::vector<std::uint16_t> keys;
  if (area.church) keys.push_back(gamedata::KeyChurch);
  if (area.tower) keys.push_back(gamedata::KeyTower);
  if (area.linkGate) keys.push_back(gamedata::KeyLinkGate);
  keys.insert(keys.end(), static_cast<std::size_t>(area.dungeons), gamedata::KeyDungeon);
  keys.insert(keys.end(), static_cast<std::size_t>(area.houses), gamedata::KeyHouse);

  auto spots = markerSpots(area);
  for (std::size_t i = spots.size(); i > 1; --i) {
    std::swap(spots[i - 1], spots[random.below(static_cast<std::uint32_t>(i))]);
  }
  for (std::size_t i = 0; i < keys.size() && i < spots.size(); ++i) {
    const auto [x, row] = spots[i];
    // Either row of the pair: an odd row puts the object half a cell right.
    const int fileRow = 2 * row + static_cast<int>(random.below(2));
    description.objects.push_back(
        {keys[i], static_cast<std::int16_t>(x), static_cast<std::int16_t>(fileRow)});
  }
  return description;
}

std::filesystem::path utf8Path(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

Status writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  return platform::writeFileAtomic(path, bytes);
}

Status makeFolder(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return Error{"cannot create " + platform::pathForMessage(folder)};
  return {};
}

}  // namespace

std::span<const DemoAreaInfo> demoAreas() {
  return kAreas;
}

const DemoAreaInfo* findDemoArea(std::string_view utf8Name) {
  const auto found = std::find_if(kAreas.begin(), kAreas.end(), [&](const DemoAreaInfo& area) {
    return area.utf8Name == utf8Name;
  });
  return found == kAreas.end() ? nullptr : &*found;
}

gamedata::AreaCatalogue demoCatalogue() {
  gamedata::AreaCatalogue names(gamedata::kCatalogueEntryCount);
  for (const auto& area : kAreas) {
    names[static_cast<std::size_t>(area.areaNumber)] =
        platform::utf8ToCp932(area.utf8Name).value_or(std::string());
  }
  return names;
}

std::vector<std::uint8_t> demoCatalogueFile() {
  const auto names = demoCatalogue();
  return buildCatalogueFile(names);
}

std::vector<std::uint8_t> demoAreaMapFile(const DemoAreaInfo& area, std::uint64_t seed) {
  const auto description = describeArea(area, seed);
  switch (area.file) {
    case File::BadMagic:
      return buildBrokenAreaMapFile(description, AreaFileDefect::BadMagic);
    case File::Truncated:
      return buildBrokenAreaMapFile(description, AreaFileDefect::Truncated);
    case File::Valid:
    case File::Missing:
      break;
  }
  return buildAreaMapFile(description);
}

std::vector<std::filesystem::path> demoGameFolders() {
  return {"res", std::filesystem::path("data") / "map" / "mif" / "area", "usr"};
}

std::vector<DemoFile> demoGameFiles(std::uint64_t seed) {
  const std::filesystem::path areaFolder = std::filesystem::path("data") / "map" / "mif" / "area";
  std::vector<DemoFile> files;
  files.push_back({std::filesystem::path("res") / "Mif_area.bin", demoCatalogueFile()});
  for (const auto& area : kAreas) {
    if (area.file == File::Missing) continue;
    files.push_back({areaFolder / utf8Path(area.utf8Name), demoAreaMapFile(area, seed)});
  }
  return files;
}

Status makeDemoGame(const std::filesystem::path& folder, std::uint64_t seed) {
  for (const auto& sub : demoGameFolders()) {
    if (auto made = makeFolder(folder / sub); !made) return made;
  }
  for (const DemoFile& file : demoGameFiles(seed)) {
    if (auto written = writeFile(folder / file.relativePath, file.bytes); !written) return written;
  }
  return {};
}

}  // namespace ws::demo
