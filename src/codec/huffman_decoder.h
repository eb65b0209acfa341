#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "codec/codec_header.h"
#include "codec/huffman_tables.h"
#include "platform/result.h"

namespace ws::codec {

// The code tree as the code section describes it; node 0 is the root.
struct DecodeTree {
  std::array<DecodeNode, kNodeTableSize> nodes{};
  std::size_t nodeCount = 1;
};

// Rebuilds the tree from the code lengths and the code section: each code
// with a length other than 0, in ascending byte value, is a path from the
// root. Fails with "error in decord" when the codes are no prefix code (two
// codes coincide or one begins another, as in any over-subscribed table),
// when the tree needs more nodes than the table holds, or when the section
// ends early.
Result<DecodeTree> rebuildDecodeTree(const CodeLengthTable& lengths,
                                     std::span<const std::uint8_t> codeSection);

// Decodes a complete stream into its originalSize bytes; whatever follows the
// stream is ignored. Any damage gives "error in decord" and no bytes, and so
// does an originalSize above kMaxOriginalSize, the most that encodeStream
// accepts, refused before anything is allocated. Keeps no state between
// calls, so calls may run concurrently.
Result<Bytes> decodeStream(std::span<const std::uint8_t> stream);

// The same with a lower ceiling for originalSize, for streams whose content
// is known to be smaller (a save body).
Result<Bytes> decodeStreamUpTo(std::span<const std::uint8_t> stream, std::size_t maxOriginalSize);

}  // namespace ws::codec
