#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace ws::platform {

// Little-endian fields of the game's files. The store functions expect the
// field to lie inside `bytes`; the load functions give nothing when it does not.

inline void storeU8(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value & 0xFFu);
}

inline void storeU16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value & 0xFFu);
  bytes[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFFu);
}

inline void storeU32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[offset + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFu);
  }
}

inline void storeI32(std::span<std::uint8_t> bytes, std::size_t offset, std::int32_t value) {
  storeU32(bytes, offset, static_cast<std::uint32_t>(value));
}

inline std::optional<std::uint8_t> loadU8(std::span<const std::uint8_t> bytes, std::size_t offset) {
  if (offset >= bytes.size()) return std::nullopt;
  return bytes[offset];
}

inline std::optional<std::uint16_t> loadU16(std::span<const std::uint8_t> bytes,
                                            std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 2) return std::nullopt;
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline std::optional<std::uint32_t> loadU32(std::span<const std::uint8_t> bytes,
                                            std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 4) return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
  return value;
}

inline std::optional<std::int32_t> loadI32(std::span<const std::uint8_t> bytes,
                                           std::size_t offset) {
  auto value = loadU32(bytes, offset);
  if (!value) return std::nullopt;
  return static_cast<std::int32_t>(*value);
}

inline std::optional<std::int16_t> loadI16(std::span<const std::uint8_t> bytes,
                                           std::size_t offset) {
  auto value = loadU16(bytes, offset);
  if (!value) return std::nullopt;
  return static_cast<std::int16_t>(*value);
}

}  // namespace ws::platform
