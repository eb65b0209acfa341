#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "world/area_slot.h"

namespace ws::world {

// The world being edited, as the editor's recovery file keeps it between a
// crash and the next start: the four slots exactly as they stand (free
// slots included, so that later placements fill the same slots) and the
// world name. Unlike a save file it needs no link gate and holds an empty
// world too.
struct RecoveryRecord {
  AreaSlotTable slots;
  std::string worldName;  // CP932, at most 31 bytes
};

// The record's bytes, little-endian:
//   0  "WSRECOVR"   8  version (u32, 1)   12  the name (32 bytes, NUL-filled)
//   44 four slots, each: used (u8); for a used slot then areaNumber, x, y,
//      width, height (i32 each), kind, specialId (u8), specialX, specialY
//      (i16), objectCount (u8) and per object its id (u8), x and y (i16).
std::vector<std::uint8_t> encodeRecoveryRecord(const AreaSlotTable& slots,
                                               std::string_view cp932WorldName);

// Reads a record back, all or nothing: the signature and version, a name
// of at most 31 bytes, each slot's used flag 0 or 1, its kind 1 to 3, its
// area number inside the catalogue, and no byte missing or left over. The
// Error (English) says what was wrong where.
Result<RecoveryRecord> parseRecoveryRecord(std::span<const std::uint8_t> bytes);

}  // namespace ws::world
