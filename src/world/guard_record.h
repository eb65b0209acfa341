#pragma once

#include <cstdint>
#include <span>

namespace ws::world {

// GuardRecord: one guard of the world. Nearly all of it is a fixed template;
// the arguments set the running number, the area value and the position, and
// the area value picks a temple guard or a town guard.
inline constexpr std::int32_t kGuardRecordSize = 1092;

// An area value whose low three bits are 3 is a gate reference (the link
// gate's is 3): a guard there is a temple guard, any other a town guard.
inline constexpr std::uint32_t kTempleAreaBits = 3;

// Fills the record at the start of `destination` (zero-filled by the caller)
// and returns kGuardRecordSize. Only the low 16 bits of the area value are
// stored; the whole serial is stored at offset 4 and its low byte at 20.
// Writes nothing when `destination` is shorter than the record.
std::int32_t WriteGuardRecord(std::span<std::uint8_t> destination, std::int32_t serial,
                              std::uint32_t areaValue, std::uint16_t x, std::uint16_t y);

}  // namespace ws::world
