#include "gamedata/area_facts.h"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "gamedata/area_preview.h"
#include "platform/game_paths.h"

namespace ws::gamedata {

namespace {

int countOf(const AreaMapFile& file, std::uint16_t key, int room) {
  return static_cast<int>(
      QueryAreaObjects(file, key, static_cast<std::size_t>(std::max(room, 0))).size());
}

bool has(const AreaMapFile& file, std::uint16_t key) {
  return !QueryAreaObjects(file, key, 1).empty();
}

AreaFacts unreadable(AreaFileStatus status) {
  AreaFacts facts;
  facts.status = status;
  return facts;
}

}  // namespace

AreaFacts AreaFactsOf(const AreaMapFile& file) {
  if (!file.isValid()) return unreadable(AreaFileStatus::Refused);
  AreaFacts facts;
  facts.status = AreaFileStatus::Readable;
  const AreaSize size = *AreaSizeOf(file);  // a valid file always has one
  facts.width = size.width;
  facts.height = size.height;
  // The lists hold as many results as the file's place count leaves room for.
  facts.dungeons = countOf(file, KeyDungeon, file.placeCount());
  facts.houses = countOf(file, KeyHouse, file.placeCount());
  facts.church = has(file, KeyChurch);
  facts.tower = has(file, KeyTower);
  facts.linkGate = has(file, KeyLinkGate);
  facts.townsfolkSpots = countOf(file, KeyTownsfolkSpot, file.spotCapacity());

  // The placement rules: a link gate area names its link gate object and
  // needs a dungeon chosen; a field takes any area; a town needs its church
  // and three houses checked.
  if (!facts.linkGate) {
    facts.linkGateRefusal = KindRefusal::NoLinkGate;
  } else if (facts.dungeons == 0) {
    facts.linkGateRefusal = KindRefusal::NoDungeon;
  } else {
    facts.linkGateRefusal = KindRefusal::None;
  }
  facts.fieldRefusal = KindRefusal::None;
  const bool enoughHouses = facts.houses >= kTownMinimumHouses;
  if (!facts.church && !enoughHouses) {
    facts.townRefusal = KindRefusal::NoChurchOrHouses;
  } else if (!facts.church) {
    facts.townRefusal = KindRefusal::NoChurch;
  } else if (!enoughHouses) {
    facts.townRefusal = KindRefusal::TooFewHouses;
  } else {
    facts.townRefusal = KindRefusal::None;
  }
  return facts;
}

AreaFacts ReadAreaFacts(const std::filesystem::path& gameFolder, const std::string& cp932Name) {
  if (cp932Name.empty()) return unreadable(AreaFileStatus::EmptyName);
  // A name that would lead out of the area folder names no area map file.
  if (!platform::isAreaMapFileName(cp932Name)) return unreadable(AreaFileStatus::Missing);
  const Result<AreaMapFile> file =
      LoadAreaMapFile(platform::areaMapFilePath(gameFolder, cp932Name));
  if (!file) return unreadable(AreaFileStatus::Missing);
  return AreaFactsOf(*file);
}

}  // namespace ws::gamedata
