#pragma once

#include <cstdint>
#include <span>

#include "world/area_slot.h"

namespace ws::world {

// AreaHeaderRecord: one per placed area, right after the body header. It
// names the catalogue area, its kind and its rectangle on the game's map,
// which is the world-map rectangle with every edge doubled.
inline constexpr std::int32_t kAreaHeaderRecordSize = 28;
inline constexpr std::uint16_t kAreaHeaderTag = 20100;

// Byte offsets inside the record.
inline constexpr std::size_t kAreaHeaderTagOffset = 0;
inline constexpr std::size_t kAreaHeaderNumberOffset = 2;
inline constexpr std::size_t kAreaHeaderKindCodeOffset = 4;
inline constexpr std::size_t kAreaHeaderThirdValueOffset = 6;
inline constexpr std::size_t kAreaHeaderLeftOffset = 8;
inline constexpr std::size_t kAreaHeaderTopOffset = 12;
inline constexpr std::size_t kAreaHeaderRightOffset = 16;
inline constexpr std::size_t kAreaHeaderBottomOffset = 20;
inline constexpr std::size_t kAreaHeaderKindFlagOffset = 24;

// The game numbers the kinds the other way round from AreaKind.
inline constexpr std::uint16_t kKindCodeLinkGate = 20303;
inline constexpr std::uint16_t kKindCodeField = 20302;
inline constexpr std::uint16_t kKindCodeTown = 20301;
inline constexpr std::uint32_t kKindFlagLinkGate = 4;
inline constexpr std::uint32_t kKindFlagField = 2;
inline constexpr std::uint32_t kKindFlagTown = 1;

// Fills the record at the start of `destination` (zero-filled by the caller)
// and returns kAreaHeaderRecordSize. x, y, width and height are world-map
// pixels. A kind outside AreaKind leaves the kind code and flag 0. Writes
// nothing when `destination` is shorter than the record.
std::int32_t WriteAreaHeader(std::span<std::uint8_t> destination, std::uint16_t areaNumber,
                             std::uint16_t thirdValue, AreaKind kind, std::int32_t x,
                             std::int32_t y, std::int32_t width, std::int32_t height);

}  // namespace ws::world
