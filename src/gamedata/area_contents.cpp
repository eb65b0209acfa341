#include "gamedata/area_contents.h"

#include <cstddef>

namespace ws::gamedata {

namespace {

std::optional<AreaObjectRef> first(const AreaMapFile& file, std::uint16_t key) {
  const std::vector<AreaObjectRef> found = QueryAreaObjects(file, key, 1);
  if (found.empty()) return std::nullopt;
  return found.front();
}

std::span<const AreaObjectRef> asSpan(const std::optional<AreaObjectRef>& object) {
  if (!object) return {};
  return {&*object, 1};
}

}  // namespace

AreaContents ReadAreaContents(const AreaMapFile& file) {
  const auto room = static_cast<std::size_t>(file.placeCount());
  AreaContents contents;
  contents.dungeons = QueryAreaObjects(file, KeyDungeon, room);
  contents.houses = QueryAreaObjects(file, KeyHouse, room);
  contents.church = first(file, KeyChurch);
  contents.tower = first(file, KeyTower);
  contents.linkGate = first(file, KeyLinkGate);
  contents.townsfolkSpots =
      QueryAreaObjects(file, KeyTownsfolkSpot, static_cast<std::size_t>(file.spotCapacity()));
  return contents;
}

std::span<const AreaObjectRef> objectsOf(const AreaContents& contents, ObjectItemKind kind) {
  switch (kind) {
    case ObjectItemKind::Dungeon:
      return contents.dungeons;
    case ObjectItemKind::House:
      return contents.houses;
    case ObjectItemKind::Church:
      return asSpan(contents.church);
    case ObjectItemKind::Tower:
      return asSpan(contents.tower);
    case ObjectItemKind::LinkGate:
      break;
  }
  return asSpan(contents.linkGate);
}

KindRefusals RefusedKinds(const AreaContents& contents) {
  KindRefusals kinds;
  if (!contents.linkGate) {
    kinds.linkGate = KindRefusal::NoLinkGate;
  } else if (contents.dungeons.empty()) {
    kinds.linkGate = KindRefusal::NoDungeon;
  } else {
    kinds.linkGate = KindRefusal::None;
  }
  kinds.field = KindRefusal::None;
  const bool church = contents.church.has_value();
  const bool enoughHouses = contents.houses.size() >= static_cast<std::size_t>(kTownMinimumHouses);
  if (!church && !enoughHouses) {
    kinds.town = KindRefusal::NoChurchOrHouses;
  } else if (!church) {
    kinds.town = KindRefusal::NoChurch;
  } else if (!enoughHouses) {
    kinds.town = KindRefusal::TooFewHouses;
  } else {
    kinds.town = KindRefusal::None;
  }
  return kinds;
}

}  // namespace ws::gamedata
