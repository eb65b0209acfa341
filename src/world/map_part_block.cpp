#include "world/map_part_block.h"

#include <algorithm>

#include "platform/little_endian.h"

namespace ws::world {

namespace {
// Map parts carry family 1 in the low four bits of their area byte.
constexpr unsigned kMapPartAreaFamily = 1;
// Two constant bytes after the tag.
constexpr std::size_t kMapPartFlagsOffset = 4;
constexpr std::uint32_t kMapPartFlags = 0x0101;
}  // namespace

std::int32_t WriteMapPartBlock(std::span<std::uint8_t> destination, std::uint8_t partCount,
                               std::uint8_t selector, std::uint8_t areaIndex, std::uint8_t ordinal,
                               std::uint8_t type) {
  const std::int32_t blockSize = mapPartBlockSize(partCount);
  if (destination.size() < static_cast<std::size_t>(blockSize)) return blockSize;
  using platform::storeU16;
  using platform::storeU32;
  using platform::storeU8;
  storeU8(destination, 0, partCount);
  for (std::size_t part = 0; part < partCount; ++part) {
    const auto bytes = destination.subspan(1 + part * static_cast<std::size_t>(kMapPartSize),
                                           static_cast<std::size_t>(kMapPartSize));
    // Bytes 0 to 46 are the part as written, zeros included; the last byte
    // is left to the caller's fill like the tail.
    std::fill(bytes.begin(), bytes.begin() + kMapPartTypeOffset + 1, std::uint8_t{0});
    storeU32(bytes, kMapPartTagOffset, kMapPartTag);
    storeU16(bytes, kMapPartFlagsOffset, kMapPartFlags);
    storeU8(bytes, kMapPartSelectorOffset, selector);
    storeU8(bytes, kMapPartOrdinalOffset, ordinal);
    storeU8(bytes, kMapPartAreaOffset, areaIndex * 16u + kMapPartAreaFamily);
    storeU8(bytes, kMapPartTypeOffset, type);
  }
  return blockSize;
}

}  // namespace ws::world
