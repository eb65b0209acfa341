#pragma once

#include <cstdint>
#include <span>

#include "codec/codec_header.h"
#include "platform/result.h"

// The codec exactly as the stream format was first defined: one bit at a
// time through writeBit and readBit, the code tree built by linear scans over
// a 513-entry frequency table, the codes collected from the leaf upward in a
// 256 x 256 code bit table. It is slow on purpose and kept only as the
// reference that the fast encoder and decoder are checked against (tests,
// fuzzers, benchmark). It carries the same mending as they do: bounds on
// every buffer, the same damaged-stream checks, and a 1-bit code for an input
// with a single byte value.
namespace ws::codec::reference {

// MSB-first bit writer: position 0 and mask 0x80 at the start of a section.
struct BitWriter {
  std::int32_t position = 0;
  std::uint8_t mask = 0x80;
};

// Appends `value` (0 or 1) to a zero-filled buffer and returns the writer's
// byte position; a negative value puts the writer back to its start (-1).
std::int32_t writeBit(BitWriter& writer, std::span<std::uint8_t> buffer, int value);

// MSB-first bit reader: mask 0 and position 0 at the start of a section.
struct BitReader {
  std::uint8_t current = 0;
  std::uint8_t mask = 0;
  std::int32_t position = 0;
};

inline constexpr int kEndOfBuffer = -2;

// With a flag other than 0 the next bit (0 or 1), or kEndOfBuffer once the
// buffer is spent; with flag 0 the reader goes back to its start (-1).
int readBit(BitReader& reader, std::span<const std::uint8_t> buffer, int flag);

// The whole stream for `source`; fails only with "error in encord(zero
// length)", which no input can reach any more. Requires
// source.size() <= kMaxOriginalSize.
Result<Bytes> encodeStream(std::span<const std::uint8_t> source);

// The originalSize bytes of `stream`, or "error in decord".
Result<Bytes> decodeStream(std::span<const std::uint8_t> stream);

}  // namespace ws::codec::reference
