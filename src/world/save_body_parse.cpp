#include "world/save_body_parse.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "codec/save_container.h"
#include "gamedata/area_contents.h"
#include "platform/little_endian.h"
#include "world/area_header_record.h"
#include "world/entry_record.h"
#include "world/gate_record.h"
#include "world/guard_record.h"
#include "world/kind_objects.h"
#include "world/map_part_block.h"
#include "world/placement.h"
#include "world/save_body_layout.h"
#include "world/townsfolk_record.h"

namespace ws::world {

namespace {

// Reads forward through the body; every step first checks that what it reads
// or skips lies inside the body, and a failed check ends the walk.
class BodyReader {
 public:
  explicit BodyReader(std::span<const std::uint8_t> body, std::size_t position)
      : body_(body), position_(position) {}

  std::size_t position() const { return position_; }
  std::size_t size() const { return body_.size(); }
  bool holds(std::size_t length) const { return length <= body_.size() - position_; }
  // `count` items of `size` bytes each.
  bool holds(std::size_t count, std::size_t size) const {
    return count <= (body_.size() - position_) / size;
  }
  std::uint8_t at(std::size_t offset) const { return body_[position_ + offset]; }
  // A little-endian 32-bit word `offset` bytes ahead; the caller has checked
  // that the body holds it.
  std::int32_t i32At(std::size_t offset) const {
    return platform::loadI32(body_, position_ + offset).value_or(0);
  }

  std::optional<std::uint8_t> byte() {
    if (!holds(1)) return std::nullopt;
    return body_[position_++];
  }
  std::optional<std::uint32_t> dword() {
    auto value = platform::loadU32(body_, position_);
    if (value) position_ += 4;
    return value;
  }
  bool skip(std::size_t length) {
    if (!holds(length)) return false;
    position_ += length;
    return true;
  }

 private:
  std::span<const std::uint8_t> body_;
  std::size_t position_;
};

std::optional<AreaKind> kindFromFlag(std::uint8_t flag) {
  switch (flag) {
    case kKindFlagTown:
      return AreaKind::Town;
    case kKindFlagField:
      return AreaKind::Field;
    case kKindFlagLinkGate:
      return AreaKind::LinkGate;
    default:
      return std::nullopt;
  }
}

// Halved toward zero; the difference is taken in 64 bits so that no pair of
// stored edges overflows.
std::int32_t halfSpan(std::int32_t from, std::int32_t to) {
  return static_cast<std::int32_t>((std::int64_t{to} - std::int64_t{from}) / 2);
}

// A fault found while walking the body: the detail only; ParseSaveBody puts
// the not-a-save-file message in front of it.
Error fault(std::string detail) {
  return Error{{}, std::move(detail)};
}

// `what` does not fit in what is left of the body.
Error pastTheEnd(const BodyReader& in, const std::string& what) {
  return fault(what + " at offset " + std::to_string(in.position()) +
               " run past the end of the body (" + std::to_string(in.size()) + " bytes)");
}

std::string counted(std::size_t count, std::string_view records) {
  return std::to_string(count) + " " + std::string(records);
}

std::string ofArea(std::size_t k) {
  return " of area " + std::to_string(k);
}

Result<LoadedArea> readAreaHeader(BodyReader& in, std::size_t k) {
  if (!in.holds(kAreaHeaderBytes)) return pastTheEnd(in, "the header" + ofArea(k));
  const std::uint8_t flag = in.at(kAreaHeaderKindFlagOffset);
  const auto kind = kindFromFlag(flag);
  if (!kind) {
    return fault("the kind byte" + ofArea(k) + " at offset " +
                 std::to_string(in.position() + kAreaHeaderKindFlagOffset) + " is " +
                 std::to_string(flag) + ", not " + std::to_string(kKindFlagTown) + ", " +
                 std::to_string(kKindFlagField) + " or " + std::to_string(kKindFlagLinkGate));
  }
  LoadedArea area;
  area.areaNumber = in.at(kAreaHeaderNumberOffset);
  area.kind = *kind;
  const std::int32_t left = in.i32At(kAreaHeaderLeftOffset);
  const std::int32_t top = in.i32At(kAreaHeaderTopOffset);
  area.x = left / 2;
  area.y = top / 2;
  area.width = halfSpan(left, in.i32At(kAreaHeaderRightOffset));
  area.height = halfSpan(top, in.i32At(kAreaHeaderBottomOffset));
  in.skip(kAreaHeaderBytes);
  return area;
}

// Steps over `length` bytes that nothing reads.
Status skipGap(BodyReader& in, std::size_t length, const std::string& what) {
  if (!in.skip(length)) return pastTheEnd(in, what);
  return {};
}

// A count byte, then that many records of `size` bytes, all inside the body.
Result<std::size_t> readRecordCount(BodyReader& in, const std::string& what, std::size_t size) {
  const auto count = in.byte();
  if (!count) return pastTheEnd(in, "the count of " + what);
  if (!in.holds(*count, size)) return pastTheEnd(in, counted(*count, what));
  return std::size_t{*count};
}

// "area 1 (entry 18, 128 x 64 at 448, 0)": an area of the body by its place
// in the file, its catalogue entry and its rectangle on the world map.
std::string areaSite(std::size_t k, const LoadedArea& area) {
  return "area " + std::to_string(k) + " (entry " + std::to_string(area.areaNumber) + ", " +
         std::to_string(area.width) + " x " + std::to_string(area.height) + " at " +
         std::to_string(area.x) + ", " + std::to_string(area.y) + ")";
}

// The areas must stand where a placement could have put them: each inside
// the world map with a size, none overlapping another, by the rules a
// placement follows. Anything else is damage: the editor would draw the area
// off the map, and a click there would wipe areas that stay listed. Only the
// sites are checked, so the kind given to the rules is one they never refuse
// twice.
Status checkSites(const std::vector<LoadedArea>& areas) {
  AreaSlotTable placed;
  for (std::size_t k = 0; k < areas.size(); ++k) {
    const LoadedArea& area = areas[k];
    const PlacementRequest site{area.areaNumber, AreaKind::Field, area.x, area.y,
                                area.width,      area.height,     {},     std::nullopt};
    if (area.width <= 0 || area.height <= 0) {
      return fault(areaSite(k, area) + " has no size on the world map");
    }
    if (const auto conflict = FindSiteConflict(placed, site)) {
      if (conflict->reason == SiteConflict::Reason::OutsideMap) {
        return fault(areaSite(k, area) + " does not fit the " + std::to_string(kWorldMapWidth) +
                     " x " + std::to_string(kWorldMapHeight) + " world map");
      }
      const auto other = static_cast<std::size_t>(conflict->slot);
      return fault(areaSite(k, area) + " overlaps " + areaSite(other, areas[other]));
    }
    occupySlot(placed[static_cast<int>(k)], area);
  }
  return {};
}

// Walks one area section: the counted buildings, churches, entries and gates,
// then one map-part block per entry, stepped over by its part count.
Status readSection(BodyReader& in, LoadedArea& area, std::size_t k) {
  const std::string ofThisArea = ofArea(k);
  const auto buildings = readRecordCount(in, "building records" + ofThisArea, kBuildingRecordSize);
  if (!buildings) return buildings.error();
  if (area.kind == AreaKind::Town) {
    for (std::size_t j = 0; j < *buildings; ++j) {
      area.objectIds.push_back(in.at(kBuildingRecordSize * j + kBuildingObjectIdOffset));
    }
  }
  in.skip(kBuildingRecordSize * *buildings);

  const auto churches = readRecordCount(in, "church records" + ofThisArea, kChurchRecordSize);
  if (!churches) return churches.error();
  if (area.kind == AreaKind::Town && *churches > 0) area.specialId = in.at(kChurchObjectIdOffset);
  in.skip(kChurchRecordSize * *churches);

  const auto entries = readRecordCount(in, "entry records" + ofThisArea, kEntryBytes);
  if (!entries) return entries.error();
  for (std::size_t j = 0; j < *entries; ++j) {
    const std::uint8_t id = in.at(kEntryBytes * j + kEntryObjectIdOffset);
    if (area.kind == AreaKind::LinkGate) {
      area.objectIds.push_back(id);
    } else if (area.kind == AreaKind::Field) {
      // The tower's entry is told apart by the low byte of its tag.
      if (in.at(kEntryBytes * j + kEntryTagOffset) == kTowerTagLowByte) {
        area.specialId = id;
      } else {
        area.objectIds.push_back(id);
      }
    }
  }
  in.skip(kEntryBytes * *entries);

  const auto gates = readRecordCount(in, "gate records" + ofThisArea, kGateBytes);
  if (!gates) return gates.error();
  if (area.kind == AreaKind::LinkGate && *gates > 0) area.specialId = in.at(kGateLinkObjectOffset);
  in.skip(kGateBytes * *gates);

  for (std::size_t j = 0; j < *entries; ++j) {
    const std::string block = " in map part block " + std::to_string(j) + ofThisArea;
    const auto parts = in.byte();
    if (!parts) return pastTheEnd(in, "the part count" + block);
    const std::size_t rest = static_cast<std::size_t>(mapPartBlockSize(*parts)) - 1;
    if (auto skipped = skipGap(in, rest, counted(*parts, "map parts") + block); !skipped) {
      return skipped;
    }
  }
  return {};
}

// A counted character list: the count, then a serial word and a record each.
Result<std::uint32_t> readCharacterList(BodyReader& in, std::string_view what,
                                        std::size_t characterBytes) {
  const auto count = in.dword();
  if (!count) return pastTheEnd(in, "the count of " + std::string(what));
  if (!in.holds(*count, characterBytes)) return pastTheEnd(in, counted(*count, what));
  in.skip(characterBytes * *count);
  return *count;
}

Result<ParsedSaveBody> parse(std::span<const std::uint8_t> body) {
  if (body.size() < kBodyHeaderSize) {
    return fault("the body is " + std::to_string(body.size()) + " bytes, shorter than its " +
                 std::to_string(kBodyHeaderSize) + "-byte header");
  }
  ParsedSaveBody parsed;
  const auto name = body.subspan(kBodyNameOffset, kBodyNameSize);
  const auto nul = std::find(name.begin(), name.end(), std::uint8_t{0});
  parsed.worldName.assign(name.begin(), nul);

  const int areaCount = body[kBodyAreaCountOffset];
  if (areaCount < 1 || areaCount > kMaxAreaCount) {
    return fault("the area count at offset " + std::to_string(kBodyAreaCountOffset) + " is " +
                 std::to_string(areaCount) + ", not 1 to " + std::to_string(kMaxAreaCount));
  }
  BodyReader in(body, kBodyHeaderSize);
  for (std::size_t k = 0; k < static_cast<std::size_t>(areaCount); ++k) {
    auto area = readAreaHeader(in, k);
    if (!area) return area.error();
    parsed.areas.push_back(std::move(*area));
  }
  if (auto sites = checkSites(parsed.areas); !sites) return sites.error();
  for (std::size_t k = 0; k < parsed.areas.size(); ++k) {
    if (auto section = readSection(in, parsed.areas[k], k); !section) return section.error();
  }

  const std::size_t towns = body[kBodyTownCountOffset];
  if (!in.holds(towns, kTownRecordSize)) return pastTheEnd(in, counted(towns, "town records"));
  in.skip(kTownRecordSize * towns);
  if (auto gap = skipGap(in, kGapBeforeTownsfolk, "the unused bytes before the townsfolk"); !gap) {
    return gap.error();
  }
  const auto townsfolk = readCharacterList(in, "townsfolk records", kTownsfolkBytes);
  if (!townsfolk) return townsfolk.error();
  if (auto gap =
          skipGap(in, kGapBeforeGuards + kGuardPreludeSize, "the unused bytes before the guards");
      !gap) {
    return gap.error();
  }
  const auto guards = readCharacterList(in, "guard records", kGuardBytes);
  if (!guards) return guards.error();
  parsed.townsfolkCount = *townsfolk;
  parsed.guardCount = *guards;
  return parsed;
}

}  // namespace

Result<ParsedSaveBody> ParseSaveBody(std::span<const std::uint8_t> body) {
  auto parsed = parse(body);
  // No file name at hand: the text alone.
  if (!parsed) return Error{std::string(codec::kNotASaveFileText), parsed.error().detail};
  return parsed;
}

Result<ParsedSaveBody> ParseSaveBody(std::span<const std::uint8_t> body,
                                     std::string_view fileName) {
  auto parsed = parse(body);
  if (!parsed) return Error{codec::notASaveFileMessage(fileName), parsed.error().detail};
  return parsed;
}

Result<AreaSlotTable> RestoreAreaSlots(const ParsedSaveBody& body, const AreaMapSource& mapFiles) {
  AreaSlotTable table;
  for (std::size_t k = 0; k < body.areas.size() && k < table.slots.size(); ++k) {
    const LoadedArea& area = body.areas[k];
    auto file = mapFiles(area.areaNumber);
    if (!file) return file.error();

    AreaSlot& slot = table.slots[k];
    occupySlot(slot, area);

    // The body holds ids only; the positions that saving needs again (the
    // shop keepers stand at the houses, the cleric at the church) come from
    // the area's map file, as a placement took them.
    const gamedata::AreaContents contents = gamedata::ReadAreaContents(*file);
    const KindObjects objects = objectsOfKind(area.kind);
    const auto candidates = gamedata::objectsOf(contents, objects.candidates);
    const std::size_t count = std::min(area.objectIds.size(), std::size_t{255});
    for (std::size_t j = 0; j < count; ++j) {
      const std::uint8_t id = area.objectIds[j];
      slot.objectIds[j] = id;
      const auto match = std::find_if(candidates.begin(), candidates.end(),
                                      [id](const gamedata::AreaObjectRef& o) {
                                        return static_cast<std::uint8_t>(o.index & 0xFF) == id;
                                      });
      slot.objectX[j] = match == candidates.end() ? 0 : static_cast<std::int16_t>(match->x);
      slot.objectY[j] = match == candidates.end() ? 0 : static_cast<std::int16_t>(match->y);
    }
    slot.objectCount = static_cast<std::uint8_t>(count);

    // A field without a tower entry has none, so that saving it again writes
    // it as loaded; a town or link gate without its record takes the map's
    // first church or link gate object, as a placement would.
    const auto special = gamedata::objectsOf(contents, objects.special);
    if (area.specialId) {
      slot.specialId = *area.specialId;
    } else if (area.kind == AreaKind::Field || special.empty()) {
      slot.specialId = kNoSpecial;
    } else {
      slot.specialId = static_cast<std::uint8_t>(special.front().index & 0xFF);
    }
    const bool placed = slot.specialId != kNoSpecial && !special.empty();
    slot.specialX = placed ? static_cast<std::int16_t>(special.front().x) : std::int16_t{0};
    slot.specialY = placed ? static_cast<std::int16_t>(special.front().y) : std::int16_t{0};
  }
  return table;
}

}  // namespace ws::world
