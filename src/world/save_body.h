#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "gamedata/area_catalogue.h"
#include "gamedata/area_map_file.h"
#include "platform/result.h"
#include "world/area_slot.h"

namespace ws::world {

// The townsfolk spots of a used town slot, from its area map file (key
// 0x0505, at most spotCapacity of them), or the Error of reading that file.
using TownSpotsSource =
    std::function<Result<std::vector<gamedata::AreaObjectRef>>(const AreaSlot& town)>;

// The spots source that reads each town's map file below the game folder.
TownSpotsSource townSpotsFromGame(const std::filesystem::path& gameFolder,
                                  const gamedata::AreaCatalogue& catalogue);

// The world name as the body's 32-byte field holds it: up to the first NUL,
// at most 31 bytes, cut before a double-byte character that would not fit
// whole.
std::string fitWorldName(std::string_view cp932Name);

// Assembles the save body of the world in `slots`. Moves the link gate to
// slot 0 in the live table first (the exchange stays). `worldName` is CP932;
// a name longer than 31 bytes is cut at a character boundary. Errors: no link
// gate ("リンクゲートがありません"), a town whose map file cannot be read.
Result<std::vector<std::uint8_t>> BuildSaveBody(AreaSlotTable& slots, std::string_view worldName,
                                                const TownSpotsSource& townSpots);

}  // namespace ws::world
