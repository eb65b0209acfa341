#pragma once

#include <cstdint>

#include "codec/codec_header.h"

namespace ws::codec {

// The code tree of either direction lives in a table of 512 nodes: 256
// leaves and at most 255 internal nodes for a full code, which is what the
// stream format was made for. A decoder builds its tree from node 0 (the
// root) and never needs more than this table holds for a stream the encoder
// wrote; a code table that does is damaged.
inline constexpr std::size_t kNodeTableSize = 512;
inline constexpr int kMaxCodeLength = 255;
inline constexpr std::size_t kByteValues = 256;

// One node of the decoder's tree. A child of 0 means none: node 0 is the root
// and is nobody's child.
struct DecodeNode {
  std::uint16_t child[2] = {0, 0};
  std::uint8_t symbol = 0;
  bool isLeaf = false;
};

// S, the number of bits in the code section: the sum of all code lengths.
std::int64_t codeBitSum(const CodeLengthTable& lengths);

}  // namespace ws::codec
