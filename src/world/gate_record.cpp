#include "world/gate_record.h"

#include "platform/little_endian.h"

namespace ws::world {

namespace {
// Gate records carry family 3 in the low four bits of their area byte.
constexpr unsigned kGateAreaFamily = 3;
}  // namespace

std::int32_t WriteGateRecord(std::span<std::uint8_t> destination, std::uint8_t areaIndex,
                             std::uint8_t linkObjectId) {
  if (destination.size() < static_cast<std::size_t>(kGateRecordSize)) return kGateRecordSize;
  platform::storeU32(destination, kGateTagOffset, kGateTag);
  platform::storeU32(destination, kGateMarkerOffset, kGateMarker);
  platform::storeU8(destination, kGateAreaOffset, areaIndex * 16u + kGateAreaFamily);
  platform::storeU8(destination, kGateLinkObjectOffset, linkObjectId);
  return kGateRecordSize;
}

}  // namespace ws::world
