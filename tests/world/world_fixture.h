#pragma once

// Shared helpers of the world tests: the demo game's areas held in memory,
// placed as the editor's clicks would place them.

#include <cstdlib>
#include <map>
#include <optional>
#include <vector>

#include "demo/demo_game.h"
#include "gamedata/area_map_file.h"
#include "platform/little_endian.h"
#include "world/placement.h"
#include "world/save_body.h"
#include "world/save_body_parse.h"

namespace ws::world::testing {

inline const demo::DemoAreaInfo& demoArea(int areaNumber) {
  for (const demo::DemoAreaInfo& area : demo::demoAreas()) {
    if (area.areaNumber == areaNumber) return area;
  }
  std::abort();
}

// Built once per area: the demo's terrain takes a while to make.
inline const gamedata::AreaMapFile& demoMap(int areaNumber) {
  static std::map<int, gamedata::AreaMapFile> cache;
  auto found = cache.find(areaNumber);
  if (found == cache.end()) {
    found =
        cache
            .emplace(areaNumber, gamedata::AreaMapFile{demo::demoAreaMapFile(demoArea(areaNumber))})
            .first;
  }
  return found->second;
}

// The demo game's map files as loading reads them; a missing one gives an
// Error.
inline AreaMapSource demoMapSource() {
  return [](int areaNumber) -> Result<gamedata::AreaMapFile> {
    for (const demo::DemoAreaInfo& area : demo::demoAreas()) {
      if (area.areaNumber == areaNumber && area.file != demo::DemoAreaFile::Missing) {
        return demoMap(areaNumber);
      }
    }
    return Error{"no map file"};
  };
}

// The townsfolk spots of the demo towns, as saving reads them.
inline TownSpotsSource demoSpots() {
  return [](const AreaSlot& town) -> Result<std::vector<gamedata::AreaObjectRef>> {
    auto file = demoMapSource()(town.areaNumber);
    if (!file) return file.error();
    return gamedata::QueryAreaObjects(*file, gamedata::KeyTownsfolkSpot,
                                      static_cast<std::size_t>(file->spotCapacity()));
  };
}

inline std::vector<bool> firstChecked(int count) {
  return std::vector<bool>(static_cast<std::size_t>(count), true);
}

// Places a demo area at (x, y) with its own size, as a click would.
inline Result<int> place(AreaSlotTable& slots, int areaNumber, AreaKind kind, int x, int y,
                         std::vector<bool> checked, std::optional<int> slot = std::nullopt) {
  const demo::DemoAreaInfo& area = demoArea(areaNumber);
  PlacementRequest request{areaNumber,         kind, x, y, area.width, area.height,
                           std::move(checked), slot};
  return PlaceArea(slots, request, demoMapSource()(areaNumber));
}

inline std::uint32_t u16At(const std::vector<std::uint8_t>& body, std::size_t offset) {
  return platform::loadU16(body, offset).value_or(0xFFFFFFFFu);
}
inline std::uint32_t u32At(const std::vector<std::uint8_t>& body, std::size_t offset) {
  return platform::loadU32(body, offset).value_or(0xFFFFFFFFu);
}

}  // namespace ws::world::testing
