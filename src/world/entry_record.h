#pragma once

#include <cstdint>
#include <span>

namespace ws::world {

// EntryRecord: one per dungeon entrance or tower of a link gate or field.
// The tag tells the two apart: a tower (sub-kind 1) carries 20153, an
// entrance 20152. Loaders look only at the low byte of the tag.
inline constexpr std::int32_t kEntryRecordSize = 18;
inline constexpr std::uint16_t kEntryTagEntrance = 20152;
inline constexpr std::uint16_t kEntryTagTower = 20153;
inline constexpr std::uint8_t kTowerTagLowByte = 185;  // 20153 & 0xFF
inline constexpr std::uint16_t kEntryMarker = 20305;

// The values the body passes for the two kinds of entry.
inline constexpr std::uint32_t kEntryTypeDungeon = 2;
inline constexpr std::uint32_t kEntryTypeTower = 3;
inline constexpr std::uint8_t kEntrySubKindTower = 1;
inline constexpr std::uint8_t kEntrySubKindDungeon = 2;

// Byte offsets inside the record.
inline constexpr std::size_t kEntryTagOffset = 0;
inline constexpr std::size_t kEntrySecondValueOffset = 2;
inline constexpr std::size_t kEntryMarkerOffset = 4;
inline constexpr std::size_t kEntryThirdValueOffset = 6;
inline constexpr std::size_t kEntryTypeOffset = 8;
inline constexpr std::size_t kEntrySubKindOffset = 12;
inline constexpr std::size_t kEntryOrdinalOffset = 13;
inline constexpr std::size_t kEntrySeventhValueOffset = 14;
inline constexpr std::size_t kEntryAreaOffset = 15;
inline constexpr std::size_t kEntryIndexOffset = 16;
inline constexpr std::size_t kEntryObjectIdOffset = 17;

// Fills the record at the start of `destination` (zero-filled by the caller)
// and returns kEntryRecordSize. The area byte is areaIndex * 16 + 2, kept to
// its low 8 bits. Writes nothing when `destination` is shorter than the record.
std::int32_t WriteEntryRecord(std::span<std::uint8_t> destination, std::uint16_t secondValue,
                              std::uint16_t thirdValue, std::uint32_t type, std::uint8_t subKind,
                              std::uint8_t ordinal, std::uint8_t seventhValue,
                              std::uint8_t areaIndex, std::uint8_t index, std::uint8_t objectId);

}  // namespace ws::world
