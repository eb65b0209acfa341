#include "codec/huffman_decoder.h"

#include <memory>

#include "codec/byte_order.h"
#include "codec/stream_layout.h"

namespace ws::codec {
namespace {

// The decoder looks up the next kLookupBits bits at once. An entry is
//   bits 0..7   the symbol of a code no longer than kLookupBits,
//   bits 8..15  that code's length (0 when the bits reach no leaf),
//   bits 16..31 the node the bits lead to when the code is longer, or 0 when
//               they run into a missing child (a damaged stream).
constexpr unsigned kLookupBits = 11;
constexpr std::size_t kLookupSize = std::size_t{1} << kLookupBits;
using LookupTable = std::array<std::uint32_t, kLookupSize>;

constexpr std::uint32_t leafEntry(std::uint8_t symbol, unsigned length) {
  return symbol | length << 8;
}
constexpr std::uint32_t longEntry(std::size_t node) {
  return static_cast<std::uint32_t>(node) << 16;
}
constexpr unsigned entryLength(std::uint32_t entry) {
  return (entry >> 8) & 0xFF;
}
constexpr std::uint16_t entryNode(std::uint32_t entry) {
  return static_cast<std::uint16_t>(entry >> 16);
}

// Fills the entries of every kLookupBits-bit pattern that starts with the
// `depth` bits `prefix`, which lead from the root to `node`.
void fillLookup(const DecodeTree& tree, std::size_t node, unsigned depth, std::size_t prefix,
                LookupTable& table) {
  const DecodeNode& current = tree.nodes[node];
  if (current.isLeaf || depth == kLookupBits) {
    const std::size_t first = prefix << (kLookupBits - depth);
    const std::size_t count = std::size_t{1} << (kLookupBits - depth);
    const std::uint32_t entry = current.isLeaf ? leafEntry(current.symbol, depth) : longEntry(node);
    for (std::size_t i = 0; i < count; ++i)
      table[first + i] = entry;
    return;
  }
  for (std::size_t bit = 0; bit < 2; ++bit) {
    // A missing child leaves its entries 0.
    if (current.child[bit] != 0) {
      fillLookup(tree, current.child[bit], depth + 1, prefix << 1 | bit, table);
    }
  }
}

// MSB-first reader over the data section. The next bits sit at the top of
// `bits_`; below them may follow further true bits of the section or zeros,
// never anything else, so a lookup may peek past `count_` and then check the
// length it found against it.
class BitSource {
 public:
  explicit BitSource(std::span<const std::uint8_t> data)
      : next_(data.data()), end_(data.data() + data.size()) {}

  bool canRefillWhole() const { return end_ - next_ >= 8; }

  // Tops up to at least 56 bits (never past 63); requires canRefillWhole().
  void refillWhole() {
    bits_ |= loadBigEndian64(next_) >> count_;
    next_ += (63 - count_) >> 3;
    count_ |= 56;
  }

  void refill() {
    if (canRefillWhole()) {
      refillWhole();
      return;
    }
    while (count_ <= 55 && next_ != end_) {
      bits_ |= std::uint64_t{*next_++} << (56 - count_);
      count_ += 8;
    }
  }

  std::size_t peek(unsigned n) const { return static_cast<std::size_t>(bits_ >> (64 - n)); }
  unsigned count() const { return count_; }
  void skip(unsigned n) {
    bits_ <<= n;
    count_ -= n;
  }

 private:
  const std::uint8_t* next_;
  const std::uint8_t* end_;
  std::uint64_t bits_ = 0;
  unsigned count_ = 0;
};

class Decoder {
 public:
  explicit Decoder(const DecodeTree& tree) : tree_(tree) { fillLookup(tree, 0, 0, 0, table_); }

  bool decode(std::span<const std::uint8_t> data, std::span<std::uint8_t> out) const {
    BitSource source(data);
    std::uint8_t* next = out.data();
    std::uint8_t* const end = next + out.size();
    // Four codes of up to kLookupBits bits fit the 56 bits of a refill.
    while (end - next >= 4 && source.canRefillWhole()) {
      source.refillWhole();
      for (int k = 0; k < 4; ++k) {
        const std::uint32_t entry = table_[source.peek(kLookupBits)];
        const unsigned length = entryLength(entry);
        if (length == 0) {
          if (!decodeOne(source, next)) return false;
          break;
        }
        *next++ = static_cast<std::uint8_t>(entry);
        source.skip(length);
      }
    }
    while (next != end) {
      if (!decodeOne(source, next)) return false;
    }
    return true;
  }

 private:
  // One code of any length, with every check; false on a missing child or
  // when the data section ends inside the code.
  bool decodeOne(BitSource& source, std::uint8_t*& next) const {
    source.refill();
    const std::uint32_t entry = table_[source.peek(kLookupBits)];
    const unsigned length = entryLength(entry);
    if (length != 0) {
      if (length > source.count()) return false;
      *next++ = static_cast<std::uint8_t>(entry);
      source.skip(length);
      return true;
    }
    std::size_t node = entryNode(entry);
    if (node == 0 || source.count() < kLookupBits) return false;
    source.skip(kLookupBits);
    for (;;) {
      if (source.count() == 0) {
        source.refill();
        if (source.count() == 0) return false;
      }
      node = tree_.nodes[node].child[source.peek(1)];
      source.skip(1);
      if (node == 0) return false;
      if (tree_.nodes[node].isLeaf) {
        *next++ = tree_.nodes[node].symbol;
        return true;
      }
    }
  }

  const DecodeTree& tree_;
  LookupTable table_{};
};

}  // namespace

Result<DecodeTree> rebuildDecodeTree(const CodeLengthTable& lengths,
                                     std::span<const std::uint8_t> codeSection) {
  DecodeTree tree;
  std::size_t bitPosition = 0;
  const std::size_t bitsAvailable = codeSection.size() * 8;
  for (std::size_t v = 0; v < kByteValues; ++v) {
    const unsigned length = lengths[v];
    if (length == 0) continue;
    if (bitsAvailable - bitPosition < length) return decodeError();
    std::size_t node = 0;
    for (unsigned i = 0; i < length; ++i, ++bitPosition) {
      // A code that runs through another code's leaf would never be reached.
      if (tree.nodes[node].isLeaf) return decodeError();
      const unsigned bit =
          (unsigned{codeSection[bitPosition >> 3]} >> (7 - (bitPosition & 7))) & 1u;
      std::uint16_t& child = tree.nodes[node].child[bit];
      if (child == 0) {
        if (tree.nodeCount == kNodeTableSize) return decodeError();
        child = static_cast<std::uint16_t>(tree.nodeCount++);
      }
      node = child;
    }
    // A code ending on a leaf repeats another; one ending above children
    // begins another.
    DecodeNode& leaf = tree.nodes[node];
    if (leaf.isLeaf || leaf.child[0] != 0 || leaf.child[1] != 0) return decodeError();
    leaf.isLeaf = true;
    leaf.symbol = static_cast<std::uint8_t>(v);
  }
  return tree;
}

Result<Bytes> decodeStream(std::span<const std::uint8_t> stream) {
  auto layout = parseStreamLayout(stream);
  if (!layout) return layout.error();
  auto tree = rebuildDecodeTree(layout->lengths, layout->codeSection);
  if (!tree) return tree.error();

  Bytes out(static_cast<std::size_t>(layout->header.originalSize));
  if (out.empty()) return out;
  // The tables are some 10 KB; keep them off the caller's stack.
  const auto decoder = std::make_unique<Decoder>(*tree);
  if (!decoder->decode(layout->dataSection, out)) return decodeError();
  return out;
}

}  // namespace ws::codec
