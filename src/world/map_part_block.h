#pragma once

#include <cstdint>
#include <span>

namespace ws::world {

// MapPartBlock: one per EntryRecord of an area section, in the same order.
// A part-count byte, that many 48-byte MapParts, then 8192 zero bytes that
// the game fills in as the dungeon is explored. Readers step over a block
// by its part count.
inline constexpr std::int32_t kMapPartSize = 48;
inline constexpr std::int32_t kMapPartBlockTail = 8192;
inline constexpr std::uint32_t kMapPartTag = 20102;

inline constexpr std::int32_t mapPartBlockSize(int partCount) {
  return 1 + kMapPartSize * partCount + kMapPartBlockTail;
}

// The one-part block that the editor writes: 8241 bytes.
inline constexpr std::int32_t kSinglePartBlockSize = mapPartBlockSize(1);

// Selector values of a part.
inline constexpr std::uint8_t kMapPartSelectorDungeon = 1;
inline constexpr std::uint8_t kMapPartSelectorTower = 2;

// Byte offsets inside a MapPart.
inline constexpr std::size_t kMapPartTagOffset = 0;
inline constexpr std::size_t kMapPartSelectorOffset = 6;
inline constexpr std::size_t kMapPartOrdinalOffset = 8;
inline constexpr std::size_t kMapPartAreaOffset = 9;
inline constexpr std::size_t kMapPartTypeOffset = 46;

// Fills the block at the start of `destination` (zero-filled by the caller):
// the count byte and bytes 0 to 46 of every part, all parts alike; the last
// byte of each part and the tail keep the caller's zeros. The area byte is
// areaIndex * 16 + 1, kept to its low 8 bits. Returns
// mapPartBlockSize(partCount); writes nothing when `destination` is shorter.
std::int32_t WriteMapPartBlock(std::span<std::uint8_t> destination, std::uint8_t partCount,
                               std::uint8_t selector, std::uint8_t areaIndex, std::uint8_t ordinal,
                               std::uint8_t type);

}  // namespace ws::world
