#include "world/save_body.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <span>
#include <utility>

#include "codec/save_container.h"
#include "gamedata/area_contents.h"
#include "platform/little_endian.h"
#include "platform/text.h"
#include "world/area_header_record.h"
#include "world/entry_record.h"
#include "world/gate_record.h"
#include "world/guard_record.h"
#include "world/map_part_block.h"
#include "world/placement.h"
#include "world/save_body_layout.h"
#include "world/town_records.h"
#include "world/townsfolk_record.h"
#include "world/world_messages.h"

namespace ws::world {

// Save files are read with room for twice the longest body a world can need.
static_assert(2 * kLargestBodyLength <= codec::kMaxSaveBodySize);

namespace {

using Spots = std::vector<gamedata::AreaObjectRef>;
using SpotTable = std::array<Spots, kSlotCount>;

bool hasTower(const AreaSlot& slot) {
  return slot.specialId != kNoSpecial;
}

std::size_t townCount(const AreaSlotTable& slots) {
  std::size_t count = 0;
  slots.forEachUsed([&count](int, const AreaSlot& slot) {
    if (slot.kind == AreaKind::Town) ++count;
  });
  return count;
}

std::size_t spotTotal(const SpotTable& spots) {
  std::size_t total = 0;
  for (const Spots& town : spots)
    total += town.size();
  return total;
}

// Calls f(areaIndex, slotIndex, slot) for each town, areaIndex counting every
// used slot before it, as the records number the areas.
template <typename F>
void forEachTown(const AreaSlotTable& slots, F&& f) {
  int areaIndex = 0;
  slots.forEachUsed([&](int i, const AreaSlot& slot) {
    const int index = areaIndex++;
    if (slot.kind == AreaKind::Town) f(index, i, slot);
  });
}

// Two lengths of one world's body: the one the game expects (the kind terms
// and the fixed reserve), and where the last record ends. The reserve covers
// the records unless the towns hold many spots; the body then grows to
// exactly the content.
struct BodyLengths {
  std::size_t reserved = 0;
  std::size_t content = 0;
};

BodyLengths bodyLengths(const AreaSlotTable& slots, const SpotTable& spots) {
  const std::size_t towns = townCount(slots);
  const std::size_t headers =
      kBodyHeaderSize + kAreaHeaderBytes * static_cast<std::size_t>(slots.usedCount());
  BodyLengths length{headers, headers};
  slots.forEachUsed([&](int i, const AreaSlot& slot) {
    const std::size_t objects = slot.objectCount;
    const std::size_t entries = objects + (hasTower(slot) ? 1u : 0u);
    length.reserved += kSectionCountBytes;
    length.content += kSectionCountBytes;
    switch (slot.kind) {
      case AreaKind::LinkGate:
        length.reserved += kLengthPerLinkGateObject * objects;
        length.content += (kEntryBytes + kSinglePartBlockBytes) * objects + kGateBytes;
        break;
      case AreaKind::Field:
        length.reserved += kLengthPerFieldEntry * entries;
        length.content += (kEntryBytes + kSinglePartBlockBytes) * entries;
        break;
      case AreaKind::Town:
        length.reserved += kLengthPerTownSpot * spots[static_cast<std::size_t>(i)].size() +
                           kLengthPerTownHouse * objects + kLengthPerTown;
        length.content += kBuildingRecordSize * objects + kChurchRecordSize;
        break;
    }
  });
  length.reserved += kLengthFixedCharacters + kLengthReserve;
  length.content +=
      kTownRecordSize * towns + kGapBeforeTownsfolk + kListCountSize +
      kTownsfolkBytes * (kFixedTownsfolkCount + kTownsfolkPerTown * towns + spotTotal(spots)) +
      kGapBeforeGuards + kGuardPreludeSize + kListCountSize +
      kGuardBytes * (kFixedGuardCount + kGuardsPerTown * towns);
  return length;
}

// Writes records one after another into the body, which is long enough for
// all of them.
class BodyWriter {
 public:
  explicit BodyWriter(std::span<std::uint8_t> body) : body_(body) {}

  std::span<std::uint8_t> here() const { return body_.subspan(position_); }
  std::size_t position() const { return position_; }
  void advance(std::int32_t length) { position_ += static_cast<std::size_t>(length); }
  void skip(std::size_t length) { position_ += length; }

  void byte(std::uint32_t value) {
    platform::storeU8(body_, position_, value);
    position_ += 1;
  }
  void word(std::uint32_t value) {
    platform::storeU16(body_, position_, value);
    position_ += 2;
  }
  void dword(std::uint32_t value) {
    platform::storeU32(body_, position_, value);
    position_ += 4;
  }

 private:
  std::span<std::uint8_t> body_;
  std::size_t position_ = 0;
};

std::uint8_t low8(int value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}

// areaIndex * 16 + family, as the records refer to an area.
std::uint32_t areaRef(int areaIndex, int family) {
  return static_cast<std::uint32_t>(areaIndex) * 16u + static_cast<std::uint32_t>(family);
}

// A position on the game's map: world-map pixels doubled plus an offset, in
// 16 bits. Unsigned arithmetic wraps where a loaded rectangle is out of all
// proportion.
std::uint16_t gamePosition(std::int32_t pixels, std::int32_t offset) {
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(pixels) * 2u +
                                    static_cast<std::uint32_t>(offset));
}

void writeBodyHeader(std::span<std::uint8_t> body, std::string_view name, int areaCount,
                     std::size_t towns) {
  platform::storeU8(body, kBodyFormatOffset, kBodyFormat);
  platform::storeU8(body, kBodyVersionOffset, kBodyVersion);
  platform::storeU8(body, kBodyMarkerOffset, kBodyMarkerFirst);
  platform::storeU8(body, kBodyMarkerOffset + 1, kBodyMarkerSecond);
  std::copy(name.begin(), name.end(), body.begin() + static_cast<std::ptrdiff_t>(kBodyNameOffset));
  for (int i = 0; i < kBodyStartValueCount; ++i) {
    platform::storeU16(body, kBodyStartValuesOffset + 2 * static_cast<std::size_t>(i),
                       kBodyStartValue);
  }
  platform::storeU8(body, kBodyTownCountOffset, static_cast<std::uint32_t>(towns));
  platform::storeU8(body, kBodyAreaCountOffset, static_cast<std::uint32_t>(areaCount));
}

void writeLinkGateSection(BodyWriter& out, const AreaSlot& slot, std::uint8_t areaIndex) {
  out.byte(0);  // buildings
  out.byte(0);  // churches
  out.byte(slot.objectCount);
  for (int u = 0; u < slot.objectCount; ++u) {
    out.advance(WriteEntryRecord(out.here(), 0, 0, kEntryTypeDungeon, kEntrySubKindDungeon,
                                 low8(u + 1), 0, areaIndex, low8(u),
                                 slot.objectIds[static_cast<std::size_t>(u)]));
  }
  out.byte(1);
  out.advance(WriteGateRecord(out.here(), areaIndex, slot.specialId));
  for (int k = 0; k < slot.objectCount; ++k) {
    out.advance(WriteMapPartBlock(out.here(), 1, kMapPartSelectorDungeon, areaIndex, low8(k + 1),
                                  static_cast<std::uint8_t>(kEntryTypeDungeon)));
  }
}

// A field numbers its entries from 1: the tower, when there is one, is
// entry 0 and comes first, in the entries and in the blocks.
void writeFieldSection(BodyWriter& out, const AreaSlot& slot, std::uint8_t areaIndex) {
  const bool tower = hasTower(slot);
  out.byte(0);
  out.byte(0);
  out.byte(static_cast<std::uint32_t>(slot.objectCount + (tower ? 1 : 0)));
  if (tower) {
    out.advance(WriteEntryRecord(out.here(), 0, 0, kEntryTypeTower, kEntrySubKindTower, 0, 0,
                                 areaIndex, 0, slot.specialId));
  }
  for (int u = 0; u < slot.objectCount; ++u) {
    out.advance(WriteEntryRecord(out.here(), 0, 0, kEntryTypeDungeon, kEntrySubKindDungeon,
                                 low8(u + 1), 0, areaIndex, low8(u + 1),
                                 slot.objectIds[static_cast<std::size_t>(u)]));
  }
  out.byte(0);  // gates
  if (tower) {
    out.advance(WriteMapPartBlock(out.here(), 1, kMapPartSelectorTower, areaIndex, 0,
                                  static_cast<std::uint8_t>(kEntryTypeTower)));
  }
  for (int k = 0; k < slot.objectCount; ++k) {
    out.advance(WriteMapPartBlock(out.here(), 1, kMapPartSelectorDungeon, areaIndex, low8(k + 1),
                                  static_cast<std::uint8_t>(kEntryTypeDungeon)));
  }
}

void writeTownSection(BodyWriter& out, const AreaSlot& slot, std::size_t spotCount) {
  out.byte(slot.objectCount);
  for (int j = 0; j < slot.objectCount; ++j) {
    out.advance(WriteBuildingRecord(out.here(), j, slot.objectIds[static_cast<std::size_t>(j)]));
  }
  out.byte(1);
  out.advance(WriteChurchRecord(out.here(), static_cast<int>(spotCount), slot.specialId));
  out.byte(0);  // entries
  out.byte(0);  // gates
}

// The shop keepers stand at the first three houses (the ones with the shop
// values), the spot folk at their spots, the cleric at the church.
void writeTownsfolkOfTown(BodyWriter& out, std::int32_t& serial, const AreaSlot& slot,
                          std::uint32_t area, const Spots& spots) {
  const auto put = [&](std::int32_t x, std::int32_t xOffset, std::int32_t y, std::int32_t yOffset,
                       std::int32_t role) {
    out.word(static_cast<std::uint32_t>(serial));
    out.advance(WriteTownsfolkRecord(out.here(), serial, area, gamePosition(x, xOffset),
                                     gamePosition(y, yOffset), role));
    ++serial;
  };
  const auto& ox = slot.objectX;
  const auto& oy = slot.objectY;
  put(slot.x, ox[2] + 1, slot.y, oy[2] + 13, kRoleWeaponShop);
  put(slot.x, ox[1] - 2, slot.y, oy[1] + 12, kRoleTavern);
  put(slot.x, ox[1] + 1, slot.y, oy[1] + 13, kRoleInformationBroker);
  put(slot.x, ox[0] + 4, slot.y, oy[0] + 12, kRoleSynthesisShop);
  for (std::size_t k = 0; k < spots.size(); ++k) {
    put(slot.x, spots[k].x, slot.y, spots[k].y,
        static_cast<std::int32_t>(k & 3) * 256 + kRoleCleric);
  }
  constexpr std::int32_t kChurchCleric = 0x1000 + kRoleCleric;  // 4101
  put(slot.x, slot.specialX - 1, slot.y, slot.specialY + 13,
      static_cast<std::int32_t>(spots.size() & 3) * 256 + kChurchCleric);
}

// The game expects the link gate as the first area. The exchange is made in
// the live table and stays. False when the world has no link gate.
bool moveLinkGateFirst(AreaSlotTable& slots) {
  bool linkGate = false;
  for (int i = 0; i < kSlotCount; ++i) {
    if (!slots[i].used || slots[i].kind != AreaKind::LinkGate) continue;
    if (i != 0) slots.exchange(i, 0);
    linkGate = true;
  }
  return linkGate;
}

// Each town's townsfolk spots, by slot; the first that cannot be read gives
// its Error.
Result<SpotTable> readTownSpots(const AreaSlotTable& slots, const TownSpotsSource& townSpots) {
  SpotTable spots;
  Status spotsRead;
  slots.forEachUsed([&](int i, const AreaSlot& slot) {
    if (slot.kind != AreaKind::Town || !spotsRead) return;
    auto found = townSpots(slot);
    if (!found) {
      spotsRead = found.error();
      return;
    }
    spots[static_cast<std::size_t>(i)] = std::move(*found);
  });
  if (!spotsRead) return spotsRead.error();
  return spots;
}

// The area header records, then each area's section, in slot order.
void writeAreas(BodyWriter& out, const AreaSlotTable& slots, const SpotTable& spots) {
  slots.forEachUsed([&out](int, const AreaSlot& slot) {
    out.advance(WriteAreaHeader(out.here(), static_cast<std::uint16_t>(slot.areaNumber), 0,
                                slot.kind, slot.x, slot.y, slot.width, slot.height));
  });
  int areaIndex = 0;
  slots.forEachUsed([&](int i, const AreaSlot& slot) {
    const std::uint8_t index = low8(areaIndex++);
    switch (slot.kind) {
      case AreaKind::LinkGate:
        writeLinkGateSection(out, slot, index);
        break;
      case AreaKind::Field:
        writeFieldSection(out, slot, index);
        break;
      case AreaKind::Town:
        writeTownSection(out, slot, spots[static_cast<std::size_t>(i)].size());
        break;
    }
  });
}

// The townsfolk list: the two priests at the link gate's gate, then each
// town's shop keepers, spot folk and cleric.
void writeTownsfolk(BodyWriter& out, const AreaSlotTable& slots, const SpotTable& spots,
                    std::size_t towns) {
  out.skip(kGapBeforeTownsfolk);
  out.dword(static_cast<std::uint32_t>(kFixedTownsfolkCount + kTownsfolkPerTown * towns +
                                       spotTotal(spots)));
  std::int32_t serial = 0;
  for (const std::uint16_t x : {std::uint16_t{66}, std::uint16_t{72}}) {
    out.word(static_cast<std::uint32_t>(serial));
    out.advance(
        WriteTownsfolkRecord(out.here(), serial, kLinkGateAreaValue, x, 40, kRoleFixedPriest));
    ++serial;
  }
  forEachTown(slots, [&](int index, int i, const AreaSlot& slot) {
    writeTownsfolkOfTown(out, serial, slot, areaRef(index, kAreaRefMapPart),
                         spots[static_cast<std::size_t>(i)]);
  });
}

// The guard list: two at the link gate, then two at each town's bottom-right
// corner on the game's map.
void writeGuards(BodyWriter& out, const AreaSlotTable& slots, std::size_t towns) {
  out.skip(kGapBeforeGuards);
  for (int i = 0; i < kGuardPreludeWordCount; ++i)
    out.dword(kGuardPreludeWord);
  out.dword(static_cast<std::uint32_t>(kFixedGuardCount + kGuardsPerTown * towns));
  std::int32_t serial = 0;
  const auto guard = [&](std::uint32_t area, std::uint16_t x, std::uint16_t y) {
    out.word(static_cast<std::uint32_t>(serial));
    out.advance(WriteGuardRecord(out.here(), serial, area, x, y));
    ++serial;
  };
  guard(kLinkGateAreaValue, 66, 42);
  guard(kLinkGateAreaValue, 72, 42);
  forEachTown(slots, [&](int index, int, const AreaSlot& slot) {
    const std::uint16_t x = gamePosition(slot.x, slot.width);
    const std::uint16_t y = gamePosition(slot.y, slot.height);
    guard(areaRef(index, kAreaRefMapPart), x, y);
    guard(areaRef(index, kAreaRefMapPart), x, y);
  });
}

}  // namespace

std::string fitWorldName(std::string_view cp932Name) {
  cp932Name = cp932Name.substr(0, cp932Name.find('\0'));
  std::size_t end = 0;
  while (end < cp932Name.size()) {
    const std::size_t width =
        platform::isCp932LeadByte(static_cast<unsigned char>(cp932Name[end])) ? 2 : 1;
    if (end + width > kWorldNameMaxBytes || end + width > cp932Name.size()) break;
    end += width;
  }
  return std::string(cp932Name.substr(0, end));
}

TownSpotsSource townSpotsFromGame(const std::filesystem::path& gameFolder,
                                  const gamedata::AreaCatalogue& catalogue) {
  return [gameFolder, catalogue](const AreaSlot& town) -> Result<Spots> {
    auto file = readAreaMapFile(gameFolder, catalogue, town.areaNumber);
    if (!file) return file.error();
    return gamedata::ReadAreaContents(*file).townsfolkSpots;
  };
}

Result<std::vector<std::uint8_t>> BuildSaveBody(AreaSlotTable& slots, std::string_view worldName,
                                                const TownSpotsSource& townSpots) {
  if (!moveLinkGateFirst(slots)) return Error{std::string(kNoLinkGateMessage)};
  const Result<SpotTable> spots = readTownSpots(slots, townSpots);
  if (!spots) return spots.error();

  const BodyLengths length = bodyLengths(slots, *spots);
  std::vector<std::uint8_t> body(std::max(length.reserved, length.content), 0);
  const std::size_t towns = townCount(slots);
  writeBodyHeader(body, fitWorldName(worldName), slots.usedCount(), towns);

  BodyWriter out(body);
  out.skip(kBodyHeaderSize);
  writeAreas(out, slots, *spots);
  forEachTown(slots, [&out](int index, int, const AreaSlot& slot) {
    out.advance(WriteTownRecord(out.here(), areaRef(index, kAreaRefMapPart), slot.x, slot.y,
                                slot.width, slot.height));
  });
  writeTownsfolk(out, slots, *spots, towns);
  writeGuards(out, slots, towns);
  assert(out.position() == length.content);
  return body;
}

}  // namespace ws::world
