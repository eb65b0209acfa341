#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "gamedata/area_catalogue.h"
#include "platform/result.h"

namespace ws::demo {

// The demo game: a small synthetic game folder that the editor, the command
// line and the tests run against, invented here from scratch.
//
//   res/Mif_area.bin              the catalogue, 200 entries
//   data/map/mif/area/<name>      one area map file per area (UTF-8 file names)
//   usr/                          empty: the save folder
//
// Which areas exist, their names, sizes and how many objects of each kind
// they hold are fixed (demoAreas() below). The seed only changes the terrain
// and where the objects stand.
//
// Catalogue entries (area number: name, world-map size, contents):
//    0 始まりの門   128x64  link gate, 3 dungeons
//    1 星降る門      96x48  link gate, 1 dungeon
//    2 ソラの門      64x32  link gate, 6 dungeons            (ソ: second byte 0x5C)
//    3 古の門       128x32  link gate, 4 dungeons
//    4 (empty name)
//    5 青の森       128x64  field, tower, 3 dungeons
//    6 表の草原      96x48  field, no tower, 4 dungeons      (表: second byte 0x5C)
//    7 北の塔        64x32  field, tower, no dungeons
//    8 風の丘        32x16  field, nothing
//    9 霧の湿原     128x64  field, tower, 5 dungeons
//   10 砂の海        96x32  field, no tower, 2 dungeons
//   11 (empty name)
//   12 火山の裾野    64x64  field, tower, 1 dungeon
//   13 氷の谷       128x48  field, no tower, 5 dungeons
//   14 港町         128x64  town: church, 6 houses, 8 townsfolk spots
//   15 Sunset Harbor 96x48  town: church, 4 houses, 3 spots  (13-byte name)
//   16 森の村        64x32  town: church, 3 houses, no spots
//   17 城下町       128x64  town: church, 5 houses, 5 spots (room for 8)
//   18 山あいの里    64x48  town: church, 3 houses, 2 spots
//   19 小さな集落    64x32  3 houses, no church: not a town
//   20 教会の丘      64x32  church, 2 houses: not a town
//   21 ソフィアの町 128x64  town: church, 4 houses, 8 spots
//   22 東の平原      32x32  field, nothing
//   23 西の洞窟群    64x32  field, no tower, 4 dungeons
//   24 湖の島        64x31  field, tower, 2 dungeons (odd gridHeight 63)
//   25 南の砂漠     128x64  field, no tower, 1 dungeon
//   26 月の神殿      32x32  link gate, 2 dungeons
//   27 旅人の宿場    96x32  town: church, 3 houses, 1 spot
//   28 (empty name)
//   29 壊れた地図           bad header: the drawing refuses it ("not msg file")
//   30 欠けた地図           cut short: refused as well, the query finds nothing
//   31 幻の島               named, but no area map file exists
//   32..199 (empty names)
//
// In every file a few records of other kinds (and the townsfolk spots) come
// first and carry no object number; the dungeons, houses and the church,
// tower or link gate object are the last P records, so their object numbers
// run 0..P-1. Every object lies inside its area and its marker inside the
// preview of the area.

inline constexpr std::uint64_t kDefaultDemoSeed = 1;

enum class DemoAreaFile {
  Valid,
  BadMagic,   // refused by the drawing
  Truncated,  // shorter than its header promises
  Missing,    // the catalogue names it, no file exists
};

struct DemoAreaInfo {
  int areaNumber = 0;         // catalogue index
  std::string_view utf8Name;  // the catalogue name as UTF-8 (also the file name)
  int width = 0;              // world-map pixels: gridWidth
  int height = 0;             // world-map pixels: gridHeight / 2
  int gridHeight = 0;         // rows in the file
  int dungeons = 0;
  int houses = 0;
  bool church = false;
  bool tower = false;
  bool linkGate = false;
  int townsfolkSpots = 0;
  int spotCapacity = 0;  // header byte 52, at least townsfolkSpots
  DemoAreaFile file = DemoAreaFile::Valid;

  // P: the numbered records (dungeons, houses, church, tower, link gate).
  int placeCount() const {
    return dungeons + houses + (church ? 1 : 0) + (tower ? 1 : 0) + (linkGate ? 1 : 0);
  }
  // The editor offers the town kind only for a church and three houses.
  bool canBeTown() const { return church && houses >= 3; }
};

// Every named area of the demo catalogue, in catalogue order.
std::span<const DemoAreaInfo> demoAreas();

// The area of that UTF-8 name; nullptr when the demo has none.
const DemoAreaInfo* findDemoArea(std::string_view utf8Name);

// The demo catalogue: 200 CP932 names.
gamedata::AreaCatalogue demoCatalogue();

// The bytes of the demo catalogue file.
std::vector<std::uint8_t> demoCatalogueFile();

// The bytes of one area's map file as makeDemoGame writes it (for a Missing
// area, what it would hold if it existed).
std::vector<std::uint8_t> demoAreaMapFile(const DemoAreaInfo& area,
                                          std::uint64_t seed = kDefaultDemoSeed);

// One file of the demo game: its path below the game folder and its bytes.
struct DemoFile {
  std::filesystem::path relativePath;
  std::vector<std::uint8_t> bytes;
};

// The folders below the game folder that the demo holds, "usr" (empty) included.
std::vector<std::filesystem::path> demoGameFolders();

// Every file of the demo game, the catalogue first. Deterministic for a seed.
std::vector<DemoFile> demoGameFiles(std::uint64_t seed = kDefaultDemoSeed);

// Writes the demo game below `folder`, creating folders as needed and
// replacing files of the same names. Deterministic for a given seed.
Status makeDemoGame(const std::filesystem::path& folder, std::uint64_t seed = kDefaultDemoSeed);

}  // namespace ws::demo
