#include "codec/huffman_decoder.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>
#include <memory>

#include "codec/byte_order.h"
#include "codec/stream_layout.h"

namespace ws::codec {
namespace {

// The decoder looks up the next `lookupBits` bits at once and gets every
// code that ends within them: a run of short codes (a save body is mostly
// zeros, whose code is often one bit long) comes out of one lookup. An entry
// is 16 bytes, so one store puts its symbols in place; the bytes past `count`
// are overwritten by the next store.
struct alignas(16) LookupEntry {
  // count > 0: the symbols of `count` whole codes, `bits` long together, the
  // first of them `firstBits` long. count == 0: the bits end inside a longer
  // code, at the node in symbols[0..1] (little-endian), or run into a missing
  // child when that node is 0.
  std::uint8_t symbols[12];
  std::uint8_t count;
  std::uint8_t bits;
  std::uint8_t firstBits;
  // kZeroRun or kOneRun when the bits are all 0 or all 1 and that bit alone
  // is a code: the run may go on past the lookup, and its length is counted
  // directly (long zero stretches are what a save body is mostly made of).
  std::uint8_t run;
};
constexpr std::uint8_t kZeroRun = 1;
constexpr std::uint8_t kOneRun = 2;
static_assert(sizeof(LookupEntry) == 16);

LookupEntry longEntry(std::size_t node) {
  LookupEntry entry{};
  entry.symbols[0] = static_cast<std::uint8_t>(node);
  entry.symbols[1] = static_cast<std::uint8_t>(node >> 8);
  return entry;
}

std::size_t longEntryNode(const LookupEntry& entry) {
  return std::size_t{entry.symbols[0]} | std::size_t{entry.symbols[1]} << 8;
}

// Fills the table by walking the tree along every bit pattern at once: each
// call stands `depth` bits into the patterns that start with `prefix`, at
// `node` inside the code after the whole codes gathered in `run`. A pattern
// range is written once, when its entry is settled.
template <unsigned lookupBits>
class LookupBuilder {
 public:
  using Table = std::array<LookupEntry, std::size_t{1} << lookupBits>;

  LookupBuilder(const DecodeTree& tree, Table& table) : tree_(tree), table_(table) {}

  void build() {
    walk(0, 0, 0, LookupEntry{});
    markRun(table_.front(), kZeroRun);
    markRun(table_.back(), kOneRun);
  }

 private:
  void settle(std::size_t prefix, unsigned depth, const LookupEntry& entry) {
    const std::size_t first = prefix << (lookupBits - depth);
    const std::size_t count = std::size_t{1} << (lookupBits - depth);
    for (std::size_t i = 0; i < count; ++i)
      table_[first + i] = entry;
  }

  void walk(std::size_t node, unsigned depth, std::size_t prefix, const LookupEntry& run) {
    if (depth == lookupBits) {
      settle(prefix, depth, run.count != 0 ? run : longEntry(node));
      return;
    }
    for (std::size_t bit = 0; bit < 2; ++bit) {
      const std::size_t child = tree_.nodes[node].child[bit];
      const std::size_t childPrefix = prefix << 1 | bit;
      if (child == 0) {
        // The codes before stand; the next lookup meets the missing child.
        settle(childPrefix, depth + 1, run.count != 0 ? run : longEntry(0));
      } else if (tree_.nodes[child].isLeaf) {
        LookupEntry longer = run;
        longer.symbols[longer.count++] = tree_.nodes[child].symbol;
        longer.bits = static_cast<std::uint8_t>(depth + 1);
        if (longer.count == 1) longer.firstBits = longer.bits;
        if (depth + 1 == lookupBits) {
          settle(childPrefix, depth + 1, longer);
        } else {
          walk(0, depth + 1, childPrefix, longer);
        }
      } else {
        walk(child, depth + 1, childPrefix, run);
      }
    }
  }

  static void markRun(LookupEntry& entry, std::uint8_t run) {
    if (entry.count == lookupBits) entry.run = run;  // lookupBits 1-bit codes
  }

  const DecodeTree& tree_;
  Table& table_;
};

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
  // How many of the next bits equal `bit`, at most count().
  unsigned runOf(unsigned bit) const {
    const auto run =
        static_cast<unsigned>(bit != 0 ? std::countl_one(bits_) : std::countl_zero(bits_));
    return std::min(run, count_);
  }
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

template <unsigned lookupBits>
class Decoder {
 public:
  static_assert(lookupBits <= sizeof LookupEntry{}.symbols);
  // Lookups of up to lookupBits bits each that fit the 56 bits of a refill.
  static constexpr unsigned kLookupsPerRefill = 56 / lookupBits;

  explicit Decoder(const DecodeTree& tree) : tree_(tree) {
#ifndef NDEBUG
    // Every entry must be settled exactly once; a sentinel shows a gap.
    LookupEntry unset{};
    unset.count = 0xFF;
    table_.fill(unset);
#endif
    LookupBuilder<lookupBits>(tree, table_).build();
#ifndef NDEBUG
    for (const LookupEntry& entry : table_)
      assert(entry.count <= lookupBits);
#endif
  }

  bool decode(std::span<const std::uint8_t> data, std::span<std::uint8_t> out) const {
    // `source` and `next` never have their address taken, so they stay in
    // registers although the byte stores below may alias anything; the slow
    // path works on a copy.
    BitSource source(data);
    std::uint8_t* next = out.data();
    std::uint8_t* const end = next + out.size();
    const auto slowly = [&] {
      BitSource copy = source;
      next = decodeOne(copy, next);
      source = copy;
      return next != nullptr;
    };
    constexpr std::ptrdiff_t kStore = sizeof(LookupEntry);
    constexpr std::ptrdiff_t kRunStore = 64;
    // Each lookup stores a whole entry, so the last bytes go one by one.
    while (end - next >= kStore && source.canRefillWhole()) {
      source.refillWhole();
      for (unsigned k = 0; k < kLookupsPerRefill; ++k) {
        const LookupEntry& entry = table_[source.peek(lookupBits)];
        if (entry.count == 0) {
          if (!slowly()) return false;
          break;
        }
        if (entry.run != 0 && end - next >= kRunStore) {
          // At most 63 bits are at hand; the next lookup needs a refill.
          const unsigned length = source.runOf(entry.run == kOneRun ? 1 : 0);
          std::memset(next, entry.symbols[0], kRunStore);
          next += length;
          source.skip(length);
          break;
        }
        std::memcpy(next, &entry, sizeof entry);
        next += entry.count;
        source.skip(entry.bits);
        if (end - next < kStore) break;
      }
    }
    while (next != end) {
      if (!slowly()) return false;
    }
    return true;
  }

 private:
  // One code of any length, with every check. Returns where the next byte
  // goes, or nullptr on a missing child or when the data section ends inside
  // the code.
  std::uint8_t* decodeOne(BitSource& source, std::uint8_t* next) const {
    source.refill();
    const LookupEntry& entry = table_[source.peek(lookupBits)];
    if (entry.count != 0) {
      if (entry.firstBits > source.count()) return nullptr;
      *next = entry.symbols[0];
      source.skip(entry.firstBits);
      return next + 1;
    }
    std::size_t node = longEntryNode(entry);
    if (node == 0 || source.count() < lookupBits) return nullptr;
    source.skip(lookupBits);
    for (;;) {
      if (source.count() == 0) {
        source.refill();
        if (source.count() == 0) return nullptr;
      }
      node = tree_.nodes[node].child[source.peek(1)];
      source.skip(1);
      if (node == 0) return nullptr;
      if (tree_.nodes[node].isLeaf) {
        *next = tree_.nodes[node].symbol;
        return next + 1;
      }
    }
  }

  const DecodeTree& tree_;
  typename LookupBuilder<lookupBits>::Table table_;
};

template <unsigned lookupBits>
bool decodeWithLookup(const DecodeTree& tree, std::span<const std::uint8_t> data,
                      std::span<std::uint8_t> out) {
  // The table is up to 32 KB; keep it off the caller's stack.
  return std::make_unique<Decoder<lookupBits>>(tree)->decode(data, out);
}

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
  if (allCodesAreBytes(layout->lengths)) {
    if (!decodeBytewise(*tree, layout->dataSection, out)) return decodeError();
    return out;
  }
  // A smaller table is quicker to fill, a larger one decodes faster: below
  // kLargeOutput bytes the filling would cost more than it saves.
  constexpr std::size_t kLargeOutput = 256 * 1024;
  const bool decoded = out.size() < kLargeOutput
                           ? decodeWithLookup<9>(*tree, layout->dataSection, out)
                           : decodeWithLookup<11>(*tree, layout->dataSection, out);
  if (!decoded) return decodeError();
  return out;
}

}  // namespace ws::codec
