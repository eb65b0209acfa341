#include "cli/world_description.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "gamedata/area_preview.h"
#include "platform/text.h"
#include "world/kind_keys.h"
#include "world/placement.h"
#include "world/save_body_layout.h"

namespace ws::cli {

namespace {

using json = nlohmann::json;

std::optional<world::AreaKind> kindFromName(std::string_view name) {
  for (const auto kind :
       {world::AreaKind::LinkGate, world::AreaKind::Field, world::AreaKind::Town}) {
    if (kindName(kind) == name) return kind;
  }
  return std::nullopt;
}

Result<int> areaOf(const json& value, const gamedata::AreaCatalogue& catalogue) {
  if (value.is_number_integer()) {
    const auto number = value.get<long long>();
    if (number >= 0 && number < static_cast<long long>(catalogue.size())) {
      return static_cast<int>(number);
    }
    return Error{"no area " + std::to_string(number) + " in the catalogue"};
  }
  if (value.is_string()) {
    const auto name = platform::utf8ToCp932(value.get<std::string>());
    if (name && !name->empty()) {
      const auto found = std::find(catalogue.begin(), catalogue.end(), *name);
      if (found != catalogue.end()) return static_cast<int>(found - catalogue.begin());
    }
    return Error{"no area named " + name.value_or(value.get<std::string>()) + " in the catalogue"};
  }
  return Error{"\"area\" must be a catalogue index or name"};
}

std::optional<int> intOf(const json& value) {
  if (!value.is_number_integer()) return std::nullopt;
  const auto number = value.get<long long>();
  if (number < -1000000 || number > 1000000) return std::nullopt;
  return static_cast<int>(number);
}

Result<AreaPlacement> placementOf(const json& entry, std::size_t position,
                                  const gamedata::AreaCatalogue& catalogue) {
  const std::string where = "areas[" + std::to_string(position) + "]: ";
  if (!entry.is_object()) return Error{where + "must be an object"};
  AreaPlacement placement;
  if (!entry.contains("area")) return Error{where + "\"area\" is missing"};
  auto area = areaOf(entry["area"], catalogue);
  if (!area) return Error{where + area.error().message};
  placement.area = *area;

  const auto kind = entry.contains("kind") && entry["kind"].is_string()
                        ? kindFromName(entry["kind"].get<std::string>())
                        : std::nullopt;
  if (!kind) return Error{where + "\"kind\" must be \"link-gate\", \"field\" or \"town\""};
  placement.kind = *kind;

  const auto x = entry.contains("x") ? intOf(entry["x"]) : std::nullopt;
  const auto y = entry.contains("y") ? intOf(entry["y"]) : std::nullopt;
  if (!x || !y) return Error{where + "\"x\" and \"y\" must be integers"};
  placement.x = *x;
  placement.y = *y;

  if (entry.contains("objects")) {
    if (!entry["objects"].is_array()) return Error{where + "\"objects\" must be an array"};
    for (const json& object : entry["objects"]) {
      const auto number = intOf(object);
      if (!number) return Error{where + "\"objects\" must hold object numbers"};
      placement.objects.push_back(*number);
    }
  }
  if (entry.contains("slot")) {
    const auto slot = intOf(entry["slot"]);
    if (!slot || *slot < 0 || *slot >= world::kSlotCount) {
      return Error{where + "\"slot\" must be 0 to 3"};
    }
    placement.slot = slot;
  }
  return placement;
}

// The check marks of the candidate list for the chosen object numbers.
Result<std::vector<bool>> checksFor(const AreaPlacement& placement,
                                    const gamedata::AreaMapFile& file, std::string_view where) {
  const auto candidates = gamedata::QueryAreaObjects(file, world::keysOf(placement.kind).candidates,
                                                     static_cast<std::size_t>(file.placeCount()));
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

Result<WorldDescription> parseWorldDescription(std::string_view utf8Json,
                                               const gamedata::AreaCatalogue& catalogue) {
  const json document = json::parse(utf8Json.begin(), utf8Json.end(), nullptr, false);
  if (document.is_discarded() || !document.is_object()) {
    return Error{"the world file is not a JSON object"};
  }
  WorldDescription world;
  world.name = std::string(world::kDefaultWorldName);
  if (document.contains("name")) {
    const auto name = document["name"].is_string()
                          ? platform::utf8ToCp932(document["name"].get<std::string>())
                          : std::nullopt;
    if (!name) return Error{"\"name\" must be a text that CP932 can hold"};
    world.name = *name;
  }
  if (!document.contains("areas") || !document["areas"].is_array()) {
    return Error{"\"areas\" must be an array of areas"};
  }
  std::size_t position = 0;
  for (const json& entry : document["areas"]) {
    auto placement = placementOf(entry, position++, catalogue);
    if (!placement) return placement.error();
    world.areas.push_back(std::move(*placement));
  }
  return world;
}

Result<world::AreaSlotTable> placeWorld(const WorldDescription& description,
                                        const std::filesystem::path& gameFolder,
                                        const gamedata::AreaCatalogue& catalogue) {
  world::AreaSlotTable slots;
  std::size_t position = 0;
  for (const AreaPlacement& placement : description.areas) {
    const std::string where = "areas[" + std::to_string(position++) + "]: ";
    auto file = world::readAreaMapFile(gameFolder, catalogue, placement.area);
    if (!file) return file.error();
    // The area's size on the world map; a file the drawing would refuse is
    // refused here as well.
    const auto size = gamedata::AreaSizeOf(*file);
    if (!size) return size.error();
    world::PlacementRequest request{placement.area, placement.kind, placement.x, placement.y,
                                    size->width,    size->height,   {},          placement.slot};
    if (const auto conflict = world::FindSiteConflict(slots, request)) {
      return Error{where + conflict->message};
    }
    auto checked = checksFor(placement, *file, where);
    if (!checked) return checked.error();
    request.checked = std::move(*checked);
    auto placed = world::PlaceArea(slots, request, file);
    if (!placed) return placed.error();
  }
  return slots;
}

}  // namespace ws::cli
