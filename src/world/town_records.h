#pragma once

#include <cstdint>
#include <span>

namespace ws::world {

// The records of a town that the body writes itself. Each fills its record at
// the start of `destination` (zero-filled by the caller), returns its length,
// and writes nothing when `destination` is shorter than the record.

inline constexpr std::uint16_t kBuildingTag = 20150;
inline constexpr std::uint16_t kChurchTag = 20151;

// BuildingRecord, 20 bytes: house `position` (0, 1, 2, ...) of the town's
// chosen houses. The first three houses carry the shop values 110/5, 163/4
// and 73/3; every further house 0/18.
std::int32_t WriteBuildingRecord(std::span<std::uint8_t> destination, int position,
                                 std::uint8_t objectId);

// ChurchRecord, 8 bytes: the church and the number of clerics' places,
// (spotCount AND 3) * 3.
std::int32_t WriteChurchRecord(std::span<std::uint8_t> destination, int spotCount,
                               std::uint8_t churchId);

// TownRecord, 904 bytes: the area reference and the town's centre on the
// game's map, ((x + width / 2) * 2, (y + height / 2) * 2) in 16 bits.
std::int32_t WriteTownRecord(std::span<std::uint8_t> destination, std::uint32_t areaRef,
                             std::int32_t x, std::int32_t y, std::int32_t width,
                             std::int32_t height);

}  // namespace ws::world
