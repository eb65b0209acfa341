#include "gamedata/area_facts.h"

#include "gamedata/area_preview.h"

namespace ws::gamedata {

namespace {

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
  const AreaContents contents = ReadAreaContents(file);
  facts.dungeons = static_cast<int>(contents.dungeons.size());
  facts.houses = static_cast<int>(contents.houses.size());
  facts.church = contents.church.has_value();
  facts.tower = contents.tower.has_value();
  facts.linkGate = contents.linkGate.has_value();
  facts.townsfolkSpots = static_cast<int>(contents.townsfolkSpots.size());
  const KindRefusals kinds = RefusedKinds(contents);
  facts.linkGateRefusal = kinds.linkGate;
  facts.fieldRefusal = kinds.field;
  facts.townRefusal = kinds.town;
  return facts;
}

AreaFacts ReadAreaFacts(const std::filesystem::path& gameFolder, const std::string& cp932Name) {
  const AreaMapLookup lookup = LookUpAreaMapFile(gameFolder, cp932Name);
  if (lookup.status != AreaFileStatus::Readable) return unreadable(lookup.status);
  return AreaFactsOf(lookup.file);
}

}  // namespace ws::gamedata
