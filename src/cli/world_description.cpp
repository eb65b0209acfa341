#include "cli/world_description.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <set>

#include "cli/commands.h"
#include "gamedata/area_contents.h"
#include "gamedata/area_preview.h"
#include "platform/text.h"
#include "world/kind_objects.h"
#include "world/placement.h"
#include "world/save_body_layout.h"

namespace ws::cli {

namespace {

using json = nlohmann::json;

std::optional<world::AreaKind> kindFromName(std::string_view name) {
  for (const auto kind : world::kAreaKinds) {
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
  if (value.is_string()) return areaNamed(catalogue, value.get<std::string>());
  return Error{"\"area\" must be a catalogue index or name"};
}

// Numbers that a world places: far beyond any world map position or object
// number, yet safe from overflow in every sum they take part in.
constexpr long long kNumberLimit = 1000000;

enum class NumberCheck { Ok, NotAnInteger, OutOfRange };

NumberCheck checkNumber(const json& value) {
  if (!value.is_number_integer()) return NumberCheck::NotAnInteger;
  const bool inRange = value.is_number_unsigned() ? value.get<unsigned long long>() <= kNumberLimit
                                                  : value.get<long long>() >= -kNumberLimit &&
                                                        value.get<long long>() <= kNumberLimit;
  return inRange ? NumberCheck::Ok : NumberCheck::OutOfRange;
}

std::optional<int> intOf(const json& value) {
  if (checkNumber(value) != NumberCheck::Ok) return std::nullopt;
  return static_cast<int>(value.get<long long>());
}

// Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) inside a
// chain of std::string operator+ that starts from a literal.
std::string outOfRange(const char* key, const json& value) {
  const std::string limit = std::to_string(kNumberLimit);
  std::string message = "\"";
  message.append(key).append("\" is ").append(value.dump());
  message.append(", out of range (-").append(limit).append(" to ").append(limit).append(")");
  return message;
}

// "x" or "y" of an area, or why it cannot be one.
Result<int> coordinateOf(const json& entry, const char* key) {
  const json& value = entry.contains(key) ? entry[key] : json();
  switch (checkNumber(value)) {
    case NumberCheck::Ok:
      return static_cast<int>(value.get<long long>());
    case NumberCheck::NotAnInteger:
      break;
    case NumberCheck::OutOfRange:
      return Error{outOfRange(key, value)};
  }
  return Error{"\"x\" and \"y\" must be integers"};
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

  const auto x = coordinateOf(entry, "x");
  if (!x) return Error{where + x.error().message};
  const auto y = coordinateOf(entry, "y");
  if (!y) return Error{where + y.error().message};
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
  // A key given twice in one object would silently keep only its last
  // value: the parser's callback notes the first such key.
  std::vector<std::set<std::string>> openObjects;
  std::optional<std::string> repeatedKey;
  const auto noteKeys = [&](int, json::parse_event_t event, json& parsed) {
    if (event == json::parse_event_t::object_start) {
      openObjects.emplace_back();
    } else if (event == json::parse_event_t::object_end && !openObjects.empty()) {
      openObjects.pop_back();
    } else if (event == json::parse_event_t::key && !openObjects.empty() && !repeatedKey &&
               !openObjects.back().insert(parsed.get<std::string>()).second) {
      repeatedKey = parsed.get<std::string>();
    }
    return true;
  };
  const json document = json::parse(utf8Json.begin(), utf8Json.end(), noteKeys, false);
  if (document.is_discarded() || !document.is_object()) {
    return Error{"the world file is not a JSON object"};
  }
  if (repeatedKey) {
    return Error{"the key \"" + quoteAsGiven(*repeatedKey) + "\" is given twice in one object"};
  }
  WorldDescription world;
  world.name = std::string(world::kDefaultWorldName);
  if (document.contains("name")) {
    if (!document["name"].is_string()) return Error{"\"name\" must be a text"};
    // The same limits as pack --name: the body's name field holds 31 bytes
    // and its NUL, and a name is never silently cut.
    auto name = worldNameFromUtf8(document["name"].get<std::string>());
    if (!name) return name.error();
    world.name = std::move(*name);
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
