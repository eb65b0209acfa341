#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "codec/save_container.h"
#include "world/area_header_record.h"
#include "world/entry_record.h"
#include "world/gate_record.h"
#include "world/guard_record.h"
#include "world/map_part_block.h"
#include "world/townsfolk_record.h"

namespace ws::world {

// The save body: one uncompressed buffer, zero-filled before anything is
// written, with these regions back to back:
//   body header (98 bytes)
//   one AreaHeaderRecord per used slot, in slot order
//   one AreaSection per used slot: counted buildings, churches, entries and
//     gates, then one MapPartBlock per entry
//   one TownRecord per town
//   46 zero bytes, the townsfolk list (count, then serial word + record each)
//   14 zero bytes, eight words 0x00260000, the guard list (likewise)
//   zeros up to the body's length

// Body header.
inline constexpr std::size_t kBodyHeaderSize = 98;
inline constexpr std::size_t kBodyFormatOffset = 0;  // 2
inline constexpr std::uint8_t kBodyFormat = 2;
inline constexpr std::size_t kBodyVersionOffset = 1;  // 1
inline constexpr std::uint8_t kBodyVersion = 1;
inline constexpr std::size_t kBodyMarkerOffset = 12;  // 255, then 15
inline constexpr std::uint8_t kBodyMarkerFirst = 255;
inline constexpr std::uint8_t kBodyMarkerSecond = 15;
// The world name field, which the save file's header copies.
inline constexpr std::size_t kBodyNameOffset = codec::kBodyWorldNameOffset;
inline constexpr std::size_t kBodyNameSize = codec::kWorldNameSize;
inline constexpr std::size_t kWorldNameMaxBytes = kBodyNameSize - 1;  // room for the NUL
// "テストワールド" (test world): a new world's name until the user gives one.
inline constexpr std::string_view kDefaultWorldName =
    "\x83\x65\x83\x58\x83\x67\x83\x8f\x81\x5b\x83\x8b\x83\x68";
inline constexpr std::size_t kBodyStartValuesOffset = 52;  // ten 16-bit values
inline constexpr int kBodyStartValueCount = 10;
inline constexpr std::uint16_t kBodyStartValue = 5000;
inline constexpr std::size_t kBodyTownCountOffset = 74;
inline constexpr std::size_t kBodyAreaCountOffset = 97;
inline constexpr int kMaxAreaCount = 4;

// Records of a town's section and the town record, written by the body itself.
inline constexpr std::size_t kBuildingRecordSize = 20;
inline constexpr std::size_t kChurchRecordSize = 8;
inline constexpr std::size_t kTownRecordSize = 904;
inline constexpr std::size_t kBuildingObjectIdOffset = 18;
inline constexpr std::size_t kChurchObjectIdOffset = 6;

// The four count bytes of a section: buildings, churches, entries, gates.
inline constexpr std::size_t kSectionCountBytes = 4;

// Between and around the character lists.
inline constexpr std::size_t kGapBeforeTownsfolk = 46;
inline constexpr std::size_t kGapBeforeGuards = 14;
inline constexpr int kGuardPreludeWordCount = 8;
inline constexpr std::uint32_t kGuardPreludeWord = 0x00260000;
inline constexpr std::size_t kGuardPreludeSize = 4 * kGuardPreludeWordCount;
inline constexpr std::size_t kListCountSize = 4;   // 32-bit character count
inline constexpr std::size_t kSerialWordSize = 2;  // before each character record

// The characters every world holds, and those each town adds.
inline constexpr std::size_t kFixedTownsfolkCount = 2;  // the two priests at the link gate
inline constexpr std::size_t kTownsfolkPerTown = 5;     // four shop keepers and the cleric
inline constexpr std::size_t kFixedGuardCount = 2;
inline constexpr std::size_t kGuardsPerTown = 2;

// The area value of the link gate's gate record (areaIndex 0, family 3): the
// two fixed priests and guards stand there.
inline constexpr std::uint32_t kLinkGateAreaValue = 3;

// Low four bits of an area reference: which record family refers to the area.
inline constexpr int kAreaRefMapPart = 1;  // map parts, town and character records

// Record sizes as byte counts, and a character as its list holds it: a
// serial word, then the record.
inline constexpr std::size_t kAreaHeaderBytes = static_cast<std::size_t>(kAreaHeaderRecordSize);
inline constexpr std::size_t kEntryBytes = static_cast<std::size_t>(kEntryRecordSize);
inline constexpr std::size_t kGateBytes = static_cast<std::size_t>(kGateRecordSize);
inline constexpr std::size_t kSinglePartBlockBytes = static_cast<std::size_t>(kSinglePartBlockSize);
inline constexpr std::size_t kTownsfolkRecordBytes = static_cast<std::size_t>(kTownsfolkRecordSize);
inline constexpr std::size_t kTownsfolkBytes = kSerialWordSize + kTownsfolkRecordBytes;
inline constexpr std::size_t kGuardBytes =
    kSerialWordSize + static_cast<std::size_t>(kGuardRecordSize);

// The body length the game expects, computed ahead of writing, as the game
// reckons it: a link gate's dungeon as an entry, its block and a gate record;
// a field's entry with its block; a town's spot, house, church, town record,
// two guards and five townsfolk. The townsfolk are reckoned without their
// serial word, the guards with it; the fixed reserve absorbs the difference
// for every world whose towns hold few spots.
inline constexpr std::size_t kLengthPerFieldEntry = kEntryBytes + kSinglePartBlockBytes;
inline constexpr std::size_t kLengthPerLinkGateObject = kLengthPerFieldEntry + kGateBytes;
inline constexpr std::size_t kLengthPerTownSpot = kTownsfolkRecordBytes;
inline constexpr std::size_t kLengthPerTownHouse = kBuildingRecordSize;
inline constexpr std::size_t kLengthPerTown = kChurchRecordSize + kTownRecordSize +
                                              kGuardsPerTown * kGuardBytes +
                                              kTownsfolkPerTown * kTownsfolkRecordBytes;
inline constexpr std::size_t kLengthFixedCharacters =
    kFixedGuardCount * kGuardBytes + kFixedTownsfolkCount * kTownsfolkRecordBytes;
inline constexpr std::size_t kLengthReserve = 474;

// The longest body any world can ask for, even one that breaks the placement
// rules (which keep real worlds far smaller): every slot takes the costliest
// kind term at the largest counts its one-byte fields allow, 256 objects or
// 255 townsfolk spots, each spot with its serial word besides; then the
// fixed characters and the reserve. Readers refuse bodies far above it.
inline constexpr std::size_t kMaxCountedObjects = 256;
inline constexpr std::size_t kMaxTownsfolkSpots = 255;
inline constexpr std::size_t kLargestSlotLength = std::max(
    {kLengthPerLinkGateObject * kMaxCountedObjects, kLengthPerFieldEntry* kMaxCountedObjects,
     (kLengthPerTownSpot + kSerialWordSize) * kMaxTownsfolkSpots +
         kLengthPerTownHouse* kMaxCountedObjects + kLengthPerTown});
inline constexpr std::size_t kLargestBodyLength =
    kBodyHeaderSize +
    static_cast<std::size_t>(kMaxAreaCount) * (kAreaHeaderBytes + kSectionCountBytes) +
    static_cast<std::size_t>(kMaxAreaCount) * kLargestSlotLength + kLengthFixedCharacters +
    kLengthReserve;

}  // namespace ws::world
