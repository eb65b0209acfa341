#include "cli/world_description.h"

#include <algorithm>

#include "cli/commands.h"
#include "gamedata/area_contents.h"
#include "gamedata/area_preview.h"
#include "platform/file_io.h"
#include "platform/game_paths.h"
#include "platform/text.h"
#include "world/kind_objects.h"
#include "world/placement.h"
#include "world/save_body_layout.h"

namespace ws::cli {

namespace {

// The check marks of the candidate list for the chosen object numbers.
Result<std::vector<bool>> checksFor(const AreaPlacement& placement,
                                    const gamedata::AreaMapFile& file, std::string_view where) {
  const gamedata::AreaContents contents = gamedata::ReadAreaContents(file);
  const auto candidates =
      gamedata::objectsOf(contents, world::objectsOfKind(placement.kind).candidates);
  std::vector<bool> checked(candidates.size(), false);
  const std::string what = placement.kind == world::AreaKind::Town ? "house" : "dungeon";
  for (const int number : placement.objects) {
    const auto found =
        std::find_if(candidates.begin(), candidates.end(),
                     [number](const auto& object) { return object.index == number; });
    if (found == candidates.end()) {
      return Error{std::string(where) + "no " + what + " numbered " + std::to_string(number)};
    }
    const auto k = static_cast<std::size_t>(found - candidates.begin());
    if (checked[k]) {
      return Error{std::string(where) + what + " " + std::to_string(number) + " is listed twice"};
    }
    checked[k] = true;
  }
  return checked;
}

// "areas[0] (始まりの門)": the area's place in the world file and its name
// as the catalogue spells it (CP932), when it has one.
std::string areaPlace(std::size_t position, const gamedata::AreaCatalogue& catalogue, int area) {
  std::string place = "areas[" + std::to_string(position) + "]";
  const std::string& name = catalogue[static_cast<std::size_t>(area)];
  if (!name.empty()) place += " (" + name + ")";
  return place;
}

}  // namespace

std::string_view kindName(world::AreaKind kind) {
  switch (kind) {
    case world::AreaKind::LinkGate:
      return "link-gate";
    case world::AreaKind::Field:
      return "field";
    case world::AreaKind::Town:
      break;
  }
  return "town";
}

Result<world::AreaSlotTable> placeWorld(const WorldDescription& description,
                                        const std::filesystem::path& gameFolder,
                                        const gamedata::AreaCatalogue& catalogue) {
  world::AreaSlotTable slots;
  std::size_t position = 0;
  for (const AreaPlacement& placement : description.areas) {
    const std::string where = areaPlace(position++, catalogue, placement.area) + ": ";
    const auto here = [&where](const Error& error) {
      return Error{where + error.message, error.detail};
    };
    auto file = world::readAreaMapFile(gameFolder, catalogue, placement.area);
    if (!file) return here(file.error());
    // The area's size on the world map; a file the drawing would refuse is
    // refused here as well, naming it.
    const auto size = gamedata::AreaSizeOf(*file);
    if (!size) {
      const auto path = platform::areaMapFilePath(
          gameFolder, catalogue[static_cast<std::size_t>(placement.area)]);
      const std::string& detail = size.error().detail;
      return here(Error{size.error().message, detail + (detail.empty() ? "" : "; ") + "file " +
                                                  platform::pathForMessage(path)});
    }
    world::PlacementRequest request{placement.area, placement.kind, placement.x, placement.y,
                                    size->width,    size->height,   {},          placement.slot};
    if (const auto conflict = world::FindSiteConflict(slots, request)) {
      return Error{where + conflict->message};
    }
    auto checked = checksFor(placement, *file, where);
    if (!checked) return checked.error();
    request.checked = std::move(*checked);
    auto placed = world::PlaceArea(slots, request, file);
    if (!placed) return here(placed.error());
  }
  return slots;
}

}  // namespace ws::cli
