#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "codec/codec_header.h"

namespace ws::codec {

using ByteCounts = std::array<std::uint32_t, 256>;

// The code of every byte value. A code is right-aligned in `codes[v]`: its
// first bit (the one taken at the root) is bit lengths[v] - 1.
struct CodeBook {
  CodeLengthTable lengths{};
  std::array<std::uint64_t, 256> codes{};
  std::int64_t codeBits = 0;  // S, the size of the code section in bits
  std::int64_t dataBits = 0;  // sum over the input of its code lengths
};

ByteCounts countBytes(std::span<const std::uint8_t> source);

// Builds the code for `counts`, bit for bit the one the stream format fixes:
// internal nodes 256, 257, ... each take the two nodes of smallest count that
// have no parent yet, the smaller by bit 0; on equal counts the lower node
// number wins, so leaves (0..255) beat internal nodes and lower byte values
// beat higher ones. Codes are read from the leaf upward.
//
// With fewer than two distinct values there is no tree: a single value gets
// the 1-bit code 0 (so its stream decodes), and no value at all gives an
// empty code. Requires the counts to add up to at most kMaxOriginalSize,
// which keeps every code within 64 bits.
CodeBook buildCodes(const ByteCounts& counts);

// Compresses `source` into a complete stream. Requires
// source.size() <= kMaxOriginalSize (callers with outside input check it);
// beyond that the stream cannot count its own bits, and the call aborts.
//
// Empty input gives the 290-byte stream: header 290, 0, 0x4648, 0, 0, 0, 0, 0,
// an all-zero length table, one zero code byte and one zero data byte.
Bytes encodeStream(std::span<const std::uint8_t> source);

}  // namespace ws::codec
