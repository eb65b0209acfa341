// An area map file of arbitrary bytes: the object query for every key the
// editor asks (and one taken from the input) with generous room, the preview
// drawing, and a marker for every result. Nothing may read outside the
// buffer; the results and the drawing must keep their promises.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "canvas/canvas.h"
#include "fuzz_support.h"
#include "gamedata/area_contents.h"
#include "gamedata/area_map_file.h"
#include "gamedata/area_preview.h"
#include "gamedata/object_item.h"

using namespace ws::gamedata;

namespace {

using ws::fuzz::check;

constexpr std::size_t kGenerousRoom = 300;  // more than the 255 records a file can hold

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const AreaMapFile file{std::vector<std::uint8_t>(data, data + size)};
  const std::uint16_t inputKey =
      size >= 2 ? static_cast<std::uint16_t>(data[0] | (data[1] << 8)) : std::uint16_t{0};
  const std::array<std::uint16_t, 7> keys{KeyHouse,         KeyChurch,   KeyDungeon, KeyTower,
                                          KeyTownsfolkSpot, KeyLinkGate, inputKey};

  ws::canvas::Canvas preview(kPreviewWidth, kPreviewHeight);
  const int recordCount = file.recordCount();
  const int placeCount = file.placeCount();
  for (const std::uint16_t key : keys) {
    const auto results = QueryAreaObjects(file, key, kGenerousRoom);
    check(results.size() <= static_cast<std::size_t>(recordCount));
    check(file.isComplete() || results.empty());
    const auto limited = QueryAreaObjects(file, key, 1);
    check(limited.size() == (results.empty() ? 0u : 1u));
    if (!limited.empty()) check(limited[0] == results[0]);
    int previous = placeCount - recordCount - 1;
    for (const auto& object : results) {
      check(object.index > previous && object.index < placeCount);  // table order
      previous = object.index;
      check((object.x - object.y % 2) % 2 == 0);  // whole cells plus the odd row's half
      check(!formatObjectItem(ObjectItemKind::Dungeon, object).empty());
      DrawObjectMarker(preview, object, kMarkerCyan, ws::canvas::kWhite);
    }
  }
  // What an area holds: its lists within the place count, its townsfolk
  // spots within the spot capacity.
  const AreaContents contents = ReadAreaContents(file);
  check(contents.dungeons.size() <= static_cast<std::size_t>(placeCount));
  check(contents.houses.size() <= static_cast<std::size_t>(placeCount));
  check(contents.townsfolkSpots.size() <= static_cast<std::size_t>(file.spotCapacity()));

  const std::vector<ws::canvas::Colour> before(preview.pixels().begin(), preview.pixels().end());
  const auto size1 = DrawAreaMap(file, preview);
  check(size1.ok() == file.isValid());
  if (size1.ok()) {
    check(size1->width == file.gridWidth() && size1->height == file.gridHeight() / 2);
    const auto size2 = DrawAreaMap(file, preview);
    check(size2.ok());
  }
  // Drawn twice, or refused: the preview is what it was.
  check(std::equal(before.begin(), before.end(), preview.pixels().begin()));
  return 0;
}
