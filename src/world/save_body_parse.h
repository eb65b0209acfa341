#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gamedata/area_map_file.h"
#include "platform/result.h"
#include "world/area_slot.h"

namespace ws::world {

// One area as the body stores it.
struct LoadedArea {
  std::int32_t areaNumber = 0;  // low byte of the header's area number
  std::int32_t x = 0;           // corners halved toward zero
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  AreaKind kind = AreaKind::LinkGate;
  std::optional<std::uint8_t> specialId;  // church, tower or gate record; none when absent
  std::vector<std::uint8_t> objectIds;    // houses or dungeons, in saved order
};

struct ParsedSaveBody {
  std::string worldName;  // CP932, up to the first NUL of the name field
  std::vector<LoadedArea> areas;
  std::uint32_t townsfolkCount = 0;
  std::uint32_t guardCount = 0;
};

// Reads a body back, all or nothing: every count and record is checked
// against the body's length, areaCount must be 1 to 4, every kind byte 1,
// 2 or 4 and every area inside the world map without overlapping another;
// the character lists after the areas are walked too. A body that
// breaks any of this gives an Error ("はセーブファイルではありません") whose
// detail names the first check that failed and its offset.
Result<ParsedSaveBody> ParseSaveBody(std::span<const std::uint8_t> body);

// The same, with the Error the not-a-save-file message for `fileName` (CP932,
// as the user gave it), as loading shows it.
Result<ParsedSaveBody> ParseSaveBody(std::span<const std::uint8_t> body, std::string_view fileName);

// The area map file of a catalogue entry, or the Error of reading it.
using AreaMapSource = std::function<Result<gamedata::AreaMapFile>(int areaNumber)>;

// The slot table a parsed body gives: slots 0.. hold the areas in file order,
// the rest are free. Positions of the special object and the chosen objects
// come from each area's map file by the object query over the loaded ids; a
// missing church or gate record takes the map file's first such object, and a
// field without a tower record gets kNoSpecial (as does a town or link gate
// whose map has no such object either). An id the map does not hold keeps
// position 0. The first map file that cannot be read gives its Error.
Result<AreaSlotTable> RestoreAreaSlots(const ParsedSaveBody& body, const AreaMapSource& mapFiles);

}  // namespace ws::world
