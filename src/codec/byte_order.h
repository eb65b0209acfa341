#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(_MSC_VER)
#include <stdlib.h>
#endif

namespace ws::codec {

// Both bit sections are packed most significant bit first, so the codec's
// 64-bit accumulators move them as big-endian words.
inline std::uint64_t byteSwap64(std::uint64_t value) {
#if defined(_MSC_VER)
  return _byteswap_uint64(value);
#else
  return __builtin_bswap64(value);
#endif
}

inline std::uint64_t loadBigEndian64(const std::uint8_t* bytes) {
  std::uint64_t value = 0;
  std::memcpy(&value, bytes, sizeof value);
  if constexpr (std::endian::native == std::endian::little) value = byteSwap64(value);
  return value;
}

inline void storeBigEndian64(std::uint8_t* bytes, std::uint64_t value) {
  if constexpr (std::endian::native == std::endian::little) value = byteSwap64(value);
  std::memcpy(bytes, &value, sizeof value);
}

// Little-endian words: the decoder's output stores several bytes at once, the
// first byte lowest.
inline void storeLittleEndian64(std::uint8_t* bytes, std::uint64_t value) {
  if constexpr (std::endian::native == std::endian::big) value = byteSwap64(value);
  std::memcpy(bytes, &value, sizeof value);
}

}  // namespace ws::codec
