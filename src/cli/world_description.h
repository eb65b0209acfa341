#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gamedata/area_catalogue.h"
#include "platform/result.h"
#include "world/area_slot.h"

namespace ws::cli {

// One area of a WORLD.json, as a click would place it.
struct AreaPlacement {
  int area = 0;  // catalogue index
  world::AreaKind kind = world::AreaKind::Field;
  int x = 0;  // top-left world-map pixel, taken as given
  int y = 0;
  std::vector<int> objects;  // object numbers of the dungeons or houses to check
  std::optional<int> slot;   // default: the lowest free slot
};

struct WorldDescription {
  std::string name;  // CP932
  std::vector<AreaPlacement> areas;
};

// Places the areas in order, each read from its map file and checked by the
// editor's placement rules; besides, every area must lie inside the world map,
// overlap no earlier area, and the world holds at most one link gate. An
// Error starts with the area it is about: "areas[0] (NAME): " (NAME CP932).
Result<world::AreaSlotTable> placeWorld(const WorldDescription& world,
                                        const std::filesystem::path& gameFolder,
                                        const gamedata::AreaCatalogue& catalogue);

// "link-gate", "field", "town".
std::string_view kindName(world::AreaKind kind);

}  // namespace ws::cli
