#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/little_endian.h"

namespace ws::world {

// A value that is the same in every record of its kind, stored
// little-endian at its offset.
template <typename T>
struct FixedField {
  std::size_t offset;
  T value;
};

// The fixed part of a character record (guards and townsfolk share the
// shape): single bytes, 16-bit and 32-bit values, and a table of consecutive
// 32-bit values. Every byte not named stays 0.
struct RecordTemplate {
  std::span<const FixedField<std::uint8_t>> bytes;
  std::span<const FixedField<std::uint16_t>> words;
  std::span<const FixedField<std::uint32_t>> longs;
  std::size_t valueTableOffset;
  std::span<const std::uint32_t> valueTable;
};

// Writes the template over `record`, which must be zero-filled and large
// enough for every field.
inline void storeRecordTemplate(std::span<std::uint8_t> record, const RecordTemplate& fixed) {
  for (const auto& field : fixed.bytes)
    platform::storeU8(record, field.offset, field.value);
  for (const auto& field : fixed.words)
    platform::storeU16(record, field.offset, field.value);
  for (const auto& field : fixed.longs)
    platform::storeU32(record, field.offset, field.value);
  for (std::size_t i = 0; i < fixed.valueTable.size(); ++i)
    platform::storeU32(record, fixed.valueTableOffset + 4 * i, fixed.valueTable[i]);
}

}  // namespace ws::world
