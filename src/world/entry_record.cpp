#include "world/entry_record.h"

#include "platform/little_endian.h"

namespace ws::world {

namespace {
// Entry records carry family 2 in the low four bits of their area byte.
constexpr unsigned kEntryAreaFamily = 2;
}  // namespace

std::int32_t WriteEntryRecord(std::span<std::uint8_t> destination, std::uint16_t secondValue,
                              std::uint16_t thirdValue, std::uint32_t type, std::uint8_t subKind,
                              std::uint8_t ordinal, std::uint8_t seventhValue,
                              std::uint8_t areaIndex, std::uint8_t index, std::uint8_t objectId) {
  if (destination.size() < static_cast<std::size_t>(kEntryRecordSize)) return kEntryRecordSize;
  using platform::storeU16;
  using platform::storeU32;
  using platform::storeU8;
  storeU16(destination, kEntryTagOffset,
           subKind == kEntrySubKindTower ? kEntryTagTower : kEntryTagEntrance);
  storeU16(destination, kEntrySecondValueOffset, secondValue);
  storeU16(destination, kEntryMarkerOffset, kEntryMarker);
  storeU16(destination, kEntryThirdValueOffset, thirdValue);
  storeU32(destination, kEntryTypeOffset, type);
  storeU8(destination, kEntrySubKindOffset, subKind);
  storeU8(destination, kEntryOrdinalOffset, ordinal);
  storeU8(destination, kEntrySeventhValueOffset, seventhValue);
  storeU8(destination, kEntryAreaOffset, areaIndex * 16u + kEntryAreaFamily);
  storeU8(destination, kEntryIndexOffset, index);
  storeU8(destination, kEntryObjectIdOffset, objectId);
  return kEntryRecordSize;
}

}  // namespace ws::world
