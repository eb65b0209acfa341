#pragma once

#include <cstdint>
#include <span>

namespace ws::world {

// GateRecord: the one record of a link gate's section naming its link
// object. Both leading values are stored as 32-bit values.
inline constexpr std::int32_t kGateRecordSize = 14;
inline constexpr std::uint32_t kGateTag = 20154;
inline constexpr std::uint32_t kGateMarker = 20306;

// Byte offsets inside the record.
inline constexpr std::size_t kGateTagOffset = 0;
inline constexpr std::size_t kGateMarkerOffset = 4;
inline constexpr std::size_t kGateAreaOffset = 11;
inline constexpr std::size_t kGateLinkObjectOffset = 13;

// Fills the record at the start of `destination` (zero-filled by the caller)
// and returns kGateRecordSize. The area byte is areaIndex * 16 + 3, kept to
// its low 8 bits. Writes nothing when `destination` is shorter than the record.
std::int32_t WriteGateRecord(std::span<std::uint8_t> destination, std::uint8_t areaIndex,
                             std::uint8_t linkObjectId);

}  // namespace ws::world
