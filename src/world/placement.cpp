#include "world/placement.h"

#include <string>

#include "gamedata/area_contents.h"
#include "gamedata/area_map_lookup.h"
#include "platform/game_paths.h"
#include "world/kind_objects.h"
#include "world/world_messages.h"

namespace ws::world {

namespace {

// objectCount is one byte.
constexpr std::size_t kMaxObjectCount = 255;
// A link gate area or a field holds at most this many dungeons, a field's tower counting as one of
// them.
constexpr int kMaxDungeons = 4;

// The placement rules, in the order the editor has always applied them: the
// checked objects first, then what the area itself lacks for its kind (the
// special object that a saved world must be able to name).
std::optional<std::string_view> brokenRule(const AreaSlot& slot,
                                           const gamedata::KindRefusals& kinds) {
  using gamedata::KindRefusal;
  if (slot.kind == AreaKind::Town && slot.objectCount < gamedata::kTownMinimumHouses) {
    return kTownNeedsThreeHousesMessage;
  }
  if (slot.kind == AreaKind::LinkGate && slot.objectCount == 0) {
    return kLinkGateNeedsDungeonMessage;
  }
  if (slot.kind != AreaKind::Town) {
    const bool tower = slot.kind == AreaKind::Field && slot.specialId != kNoSpecial;
    if (slot.objectCount > kMaxDungeons - (tower ? 1 : 0)) return kAtMostFourDungeonsMessage;
  }
  if (slot.kind == AreaKind::LinkGate && kinds.linkGate == KindRefusal::NoLinkGate) {
    return kLinkGateObjectMissingMessage;
  }
  if (slot.kind == AreaKind::Town &&
      (kinds.town == KindRefusal::NoChurch || kinds.town == KindRefusal::NoChurchOrHouses)) {
    return kTownChurchMissingMessage;
  }
  return std::nullopt;
}

}  // namespace

bool AreasOverlap(const AreaSlot& placed, int x, int y, int width, int height) {
  const int dx = x - placed.x;
  const int dy = y - placed.y;
  return -width < dx && dx < placed.width && -height < dy && dy < placed.height;
}

std::optional<SiteConflict> FindSiteConflict(const AreaSlotTable& slots,
                                             const PlacementRequest& request) {
  // Compared as room left beside the corner, which no corner can overflow.
  if (request.x < 0 || request.y < 0 || request.width > kWorldMapWidth - request.x ||
      request.height > kWorldMapHeight - request.y) {
    return SiteConflict{SiteConflict::Reason::OutsideMap, -1,
                        "the area (" + std::to_string(request.width) + " x " +
                            std::to_string(request.height) + ") does not fit the " +
                            std::to_string(kWorldMapWidth) + " x " +
                            std::to_string(kWorldMapHeight) + " world map at " +
                            std::to_string(request.x) + ", " + std::to_string(request.y)};
  }
  std::optional<SiteConflict> conflict;
  slots.forEachUsed([&](int i, const AreaSlot& slot) {
    if (conflict) return;
    if (AreasOverlap(slot, request.x, request.y, request.width, request.height)) {
      conflict = SiteConflict{SiteConflict::Reason::Overlap, i,
                              "overlaps the area in slot " + std::to_string(i)};
    } else if (slot.kind == AreaKind::LinkGate && request.kind == AreaKind::LinkGate) {
      conflict =
          SiteConflict{SiteConflict::Reason::SecondLinkGate, i, "a world holds only one link gate"};
    }
  });
  return conflict;
}

Result<gamedata::AreaMapFile> readAreaMapFile(const std::filesystem::path& gameFolder,
                                              const gamedata::AreaCatalogue& catalogue,
                                              int areaNumber) {
  if (areaNumber < 0 || static_cast<std::size_t>(areaNumber) >= catalogue.size() ||
      catalogue[static_cast<std::size_t>(areaNumber)].empty()) {
    return Error{
        noAreaNameMessage(areaNumber, catalogue.size(), platform::cataloguePath(gameFolder))};
  }
  gamedata::AreaMapLookup lookup =
      gamedata::LookUpAreaMapFile(gameFolder, catalogue[static_cast<std::size_t>(areaNumber)]);
  switch (lookup.missing) {
    case gamedata::MissingFile::OutsideAreaFolder:
      return Error{fileMissingMessage(lookup.path)};
    case gamedata::MissingFile::NotFound:
      return Error{fileMissingMessage(lookup.path), lookup.readFailure};
    case gamedata::MissingFile::Unreadable:
      return Error{fileUnreadableMessage(lookup.path), lookup.readFailure};
    case gamedata::MissingFile::None:
      break;
  }
  return std::move(lookup.file);
}

Result<int> PlaceArea(AreaSlotTable& slots, const PlacementRequest& request,
                      const Result<gamedata::AreaMapFile>& mapFile) {
  std::optional<int> target = slots.firstFree();
  if (request.slot) {
    if (*request.slot < 0 || *request.slot >= kSlotCount || slots[*request.slot].used) {
      return Error{"slot " + std::to_string(*request.slot) + " is not a free slot"};
    }
    target = request.slot;
  }
  if (!target) return Error{std::string(kAtMostFourAreasMessage)};
  if (!mapFile) return mapFile.error();
  const gamedata::AreaMapFile& file = *mapFile;
  if (!file.isValid()) return gamedata::notMsgFileError(file);

  AreaSlot& slot = slots[*target];
  occupySlot(slot, request);

  const gamedata::AreaContents contents = gamedata::ReadAreaContents(file);
  const KindObjects objects = objectsOfKind(request.kind);
  const auto special = gamedata::objectsOf(contents, objects.special);
  if (special.empty()) {
    slot.specialId = kNoSpecial;
    slot.specialX = 0;
    slot.specialY = 0;
  } else {
    slot.specialId = static_cast<std::uint8_t>(special.front().index & 0xFF);
    slot.specialX = static_cast<std::int16_t>(special.front().x);
    slot.specialY = static_cast<std::int16_t>(special.front().y);
  }

  // Result k of the candidate query is item k of the check list.
  const auto candidates = gamedata::objectsOf(contents, objects.candidates);
  std::size_t count = 0;
  for (std::size_t k = 0; k < candidates.size() && count < kMaxObjectCount; ++k) {
    if (k >= request.checked.size() || !request.checked[k]) continue;
    slot.objectIds[count] = static_cast<std::uint8_t>(candidates[k].index & 0xFF);
    slot.objectX[count] = static_cast<std::int16_t>(candidates[k].x);
    slot.objectY[count] = static_cast<std::int16_t>(candidates[k].y);
    ++count;
  }
  slot.objectCount = static_cast<std::uint8_t>(count);

  if (const auto message = brokenRule(slot, gamedata::RefusedKinds(contents))) {
    slot.used = false;
    return Error{std::string(*message)};
  }
  return *target;
}

}  // namespace ws::world
