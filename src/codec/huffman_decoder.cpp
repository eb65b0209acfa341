#include "codec/huffman_decoder.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "codec/stream_layout.h"
#include "codec/table_decoder.h"

namespace ws::codec {
namespace {

using decoding::decodeWithLookup;
using decoding::laneSlack;

// When all 256 codes are 8 bits long (what near-uniform data such as already
// compressed bytes gets), the data section is byte-aligned and every byte is
// one code: decoding is a table lookup per byte.
bool allCodesAreBytes(const CodeLengthTable& lengths) {
  return std::all_of(lengths.begin(), lengths.end(), [](std::uint8_t l) { return l == 8; });
}

bool decodeBytewise(const DecodeTree& tree, std::span<const std::uint8_t> data,
                    std::span<std::uint8_t> out) {
  if (out.size() > data.size()) return false;  // the data section ends early
  std::array<std::uint8_t, 256> symbolOf{};
  for (std::size_t code = 0; code < 256; ++code) {
    std::size_t node = 0;
    for (int bit = 7; bit >= 0; --bit)
      node = tree.nodes[node].child[(code >> bit) & 1];
    symbolOf[code] = tree.nodes[node].symbol;
  }
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = symbolOf[data[i]];
  return true;
}

Error dataEndsEarly(std::size_t size) {
  return decodeError("the data section ends, or holds a bit pattern that is no code, before all " +
                     std::to_string(size) + " bytes are decoded");
}

}  // namespace

Result<DecodeTree> rebuildDecodeTree(const CodeLengthTable& lengths,
                                     std::span<const std::uint8_t> codeSection) {
  DecodeTree tree;
  std::size_t bitPosition = 0;
  const std::size_t bitsAvailable = codeSection.size() * 8;
  for (std::size_t v = 0; v < kByteValues; ++v) {
    const unsigned length = lengths[v];
    if (length == 0) continue;
    if (bitsAvailable - bitPosition < length) {
      return decodeError("the code section ends inside the code of byte " + std::to_string(v));
    }
    std::size_t node = 0;
    for (unsigned i = 0; i < length; ++i, ++bitPosition) {
      // A code that runs through another code's leaf would never be reached.
      if (tree.nodes[node].isLeaf) {
        return decodeError("the code of byte " + std::to_string(v) + " begins with another code");
      }
      const unsigned bit =
          (unsigned{codeSection[bitPosition >> 3]} >> (7 - (bitPosition & 7))) & 1u;
      std::uint16_t& child = tree.nodes[node].child[bit];
      if (child == 0) {
        if (tree.nodeCount == kNodeTableSize) {
          return decodeError("the codes need more than " + std::to_string(kNodeTableSize) +
                             " tree nodes");
        }
        child = static_cast<std::uint16_t>(tree.nodeCount++);
      }
      node = child;
    }
    // A code ending on a leaf repeats another; one ending above children
    // begins another.
    DecodeNode& leaf = tree.nodes[node];
    if (leaf.isLeaf || leaf.child[0] != 0 || leaf.child[1] != 0) {
      return decodeError("the code of byte " + std::to_string(v) +
                         " repeats or begins another code");
    }
    leaf.isLeaf = true;
    leaf.symbol = static_cast<std::uint8_t>(v);
  }
  return tree;
}

Result<Bytes> decodeStream(std::span<const std::uint8_t> stream) {
  return decodeStreamUpTo(stream, kMaxOriginalSize);
}

Result<Bytes> decodeStreamUpTo(std::span<const std::uint8_t> stream, std::size_t maxOriginalSize) {
  auto layout = parseStreamLayout(stream);
  if (!layout) return layout.error();
  if (static_cast<std::size_t>(layout->header.originalSize) > maxOriginalSize) {
    return decodeError("the stream claims " + std::to_string(layout->header.originalSize) +
                       " bytes, more than the " + std::to_string(maxOriginalSize) + " allowed");
  }
  auto tree = rebuildDecodeTree(layout->lengths, layout->codeSection);
  if (!tree) return tree.error();

  const auto size = static_cast<std::size_t>(layout->header.originalSize);
  // Room for decoding in lanes comes with the output, so that it is not moved
  // afterwards; shrinking the vector keeps its storage.
  Bytes out(size + laneSlack(size, layout->dataSection.size()));
  if (out.empty()) return out;
  if (allCodesAreBytes(layout->lengths)) {
    out.resize(size);
    if (!decodeBytewise(*tree, layout->dataSection, out)) return dataEndsEarly(size);
    return out;
  }
  // A smaller table is quicker to fill, a larger one decodes faster: below
  // kLargeOutput bytes the filling would cost more than it saves.
  constexpr std::size_t kLargeOutput = 256 * 1024;
  const bool decoded = size < kLargeOutput
                           ? decodeWithLookup<9>(*tree, layout->dataSection, out, size)
                           : decodeWithLookup<11>(*tree, layout->dataSection, out, size);
  if (!decoded) return dataEndsEarly(size);
  out.resize(size);
  return out;
}

}  // namespace ws::codec
