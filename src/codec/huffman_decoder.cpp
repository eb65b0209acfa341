#include "codec/huffman_decoder.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>
#include <memory>
#include <vector>

#include "codec/byte_order.h"
#include "codec/stream_layout.h"

namespace ws::codec {
namespace {

// The decoder looks up the next `lookupBits` bits at once and gets the codes
// that end within them, up to kMaxSymbols: a run of short codes (a save body
// is mostly zeros, whose code is often one bit long) comes out of one lookup.
// An entry is one 8-byte word, so one load gives all of it and one store puts
// its symbols in place; the bytes past `count` are overwritten by the next
// store. Byte 0 is the bits to skip, so the skip needs no masking of the word
// (a shift by a register takes only its low 6 bits).
struct alignas(8) LookupEntry {
  std::uint8_t bits;
  // 1..kMaxSymbols: the symbols of `count` whole codes, `bits` long together,
  // the first of them `firstBits` long. kLongCode: the bits end inside a
  // longer code, at the node in symbols[0..1] (little-endian), or run into a
  // missing child when that node is 0; the rest of the code is then looked up
  // in the node's second table, which starts at symbols[2..3] and takes the
  // next symbols[4] bits. kZeroRun or kOneRun: the bits are all 0 or all 1 and
  // that bit alone is the code of symbols[0], `firstBits` long; the run may go
  // on past the lookup, and its length is counted directly (long zero
  // stretches are what a save body is mostly made of).
  std::uint8_t count;
  std::uint8_t symbols[5];
  std::uint8_t firstBits;
};
static_assert(sizeof(LookupEntry) == 8);
constexpr unsigned kMaxSymbols = sizeof LookupEntry{}.symbols;
constexpr std::uint8_t kLongCode = 0;
constexpr std::uint8_t kZeroRun = 0x80;
constexpr std::uint8_t kOneRun = 0x81;
constexpr unsigned kSymbolsShift = 16;    // where symbols[0] sits in the word
constexpr unsigned kFirstBitsShift = 56;  // and firstBits

// The entry as a word with byte 0 lowest, whatever the machine's byte order.
std::uint64_t entryWord(const LookupEntry& entry) {
  std::uint64_t word = 0;
  std::memcpy(&word, &entry, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = byteSwap64(word);
  return word;
}

LookupEntry entryOfWord(std::uint64_t word) {
  if constexpr (std::endian::native == std::endian::big) word = byteSwap64(word);
  LookupEntry entry;
  std::memcpy(&entry, &word, sizeof entry);
  return entry;
}

// One entry of a second table: the rest of a long code, `bits` long, or, when
// bits is 0, a rest too long for the table or a missing child (the decoder
// then walks the tree bit by bit).
struct TailEntry {
  std::uint8_t symbol;
  std::uint8_t bits;
};

// A second table takes at most this many bits: codes longer than the first
// lookup plus this are rare enough to walk.
constexpr unsigned kMaxTailBits = 8;

LookupEntry longEntry(std::size_t node, std::size_t tailStart = 0, unsigned tailBits = 0) {
  LookupEntry entry{};
  entry.symbols[0] = static_cast<std::uint8_t>(node);
  entry.symbols[1] = static_cast<std::uint8_t>(node >> 8);
  entry.symbols[2] = static_cast<std::uint8_t>(tailStart);
  entry.symbols[3] = static_cast<std::uint8_t>(tailStart >> 8);
  entry.symbols[4] = static_cast<std::uint8_t>(tailBits);
  return entry;
}

std::size_t longEntryNode(const LookupEntry& entry) {
  return std::size_t{entry.symbols[0]} | std::size_t{entry.symbols[1]} << 8;
}

std::size_t longEntryTailStart(const LookupEntry& entry) {
  return std::size_t{entry.symbols[2]} | std::size_t{entry.symbols[3]} << 8;
}

// The depth of the deepest leaf or missing child below `node`, at most `limit`.
unsigned depthBelow(const DecodeTree& tree, std::size_t node, unsigned limit) {
  if (limit == 0) return 0;
  unsigned deepest = 0;
  for (const std::uint16_t child : tree.nodes[node].child) {
    const unsigned below =
        child == 0 || tree.nodes[child].isLeaf ? 1 : 1 + depthBelow(tree, child, limit - 1);
    deepest = std::max(deepest, below);
  }
  return std::min(deepest, limit);
}

// Fills the table by walking the tree along every bit pattern at once: each
// call stands `depth` bits into the patterns that start with `prefix`, at
// `node` inside the code after the whole codes gathered in `run`. A pattern
// range is written once, when its entry is settled.
template <unsigned lookupBits>
class LookupBuilder {
 public:
  using Table = std::array<LookupEntry, std::size_t{1} << lookupBits>;

  LookupBuilder(const DecodeTree& tree, Table& table, std::vector<TailEntry>& tails)
      : tree_(tree), table_(table), tails_(tails) {}

  void build() {
    walk(0, 0, 0, 0);
    markRun(table_.front(), 0, kZeroRun);
    markRun(table_.back(), 1, kOneRun);
  }

 private:
  void settle(std::size_t prefix, unsigned depth, const LookupEntry& entry) {
    const std::size_t first = prefix << (lookupBits - depth);
    const std::size_t count = std::size_t{1} << (lookupBits - depth);
    for (std::size_t i = 0; i < count; ++i)
      table_[first + i] = entry;
  }

  // `run` is the entry so far as a word (see entryWord), built in a register:
  // an entry assembled byte by byte in memory and then copied whole makes
  // every copy wait.
  void walk(std::size_t node, unsigned depth, std::size_t prefix, std::uint64_t run) {
    const unsigned count = static_cast<unsigned>(run >> 8) & 0xFFu;
    if (depth == lookupBits) {
      settle(prefix, depth, count != 0 ? entryOfWord(run) : tailEntry(node));
      return;
    }
    for (std::size_t bit = 0; bit < 2; ++bit) {
      const std::size_t child = tree_.nodes[node].child[bit];
      const std::size_t childPrefix = prefix << 1 | bit;
      if (child == 0) {
        // The codes before stand; the next lookup meets the missing child.
        settle(childPrefix, depth + 1, count != 0 ? entryOfWord(run) : longEntry(0));
      } else if (tree_.nodes[child].isLeaf) {
        const std::uint64_t bits = depth + 1;
        std::uint64_t longer = (run & ~std::uint64_t{0xFF}) + (std::uint64_t{1} << 8) + bits;
        longer |= std::uint64_t{tree_.nodes[child].symbol} << (kSymbolsShift + 8 * count);
        if (count == 0) longer |= bits << kFirstBitsShift;
        if (depth + 1 == lookupBits || count + 1 == kMaxSymbols) {
          settle(childPrefix, depth + 1, entryOfWord(longer));
        } else {
          walk(0, depth + 1, childPrefix, longer);
        }
      } else {
        walk(child, depth + 1, childPrefix, run);
      }
    }
  }

  // The entry for bits that end inside a code at `node`, with the node's
  // second table built.
  LookupEntry tailEntry(std::size_t node) {
    const unsigned tailBits = depthBelow(tree_, node, kMaxTailBits);
    const std::size_t start = tails_.size();
    tails_.resize(start + (std::size_t{1} << tailBits), TailEntry{0, 0});
    walkTail(node, 0, 0, start, tailBits);
    return longEntry(node, start, tailBits);
  }

  void walkTail(std::size_t node, unsigned depth, std::size_t prefix, std::size_t start,
                unsigned tailBits) {
    for (std::size_t bit = 0; bit < 2; ++bit) {
      const std::size_t child = tree_.nodes[node].child[bit];
      const std::size_t childPrefix = prefix << 1 | bit;
      if (child == 0) continue;  // left unresolved: the walk meets the missing child
      if (tree_.nodes[child].isLeaf) {
        const std::size_t first = start + (childPrefix << (tailBits - depth - 1));
        const std::size_t count = std::size_t{1} << (tailBits - depth - 1);
        const TailEntry entry{tree_.nodes[child].symbol, static_cast<std::uint8_t>(depth + 1)};
        std::fill_n(tails_.begin() + static_cast<std::ptrdiff_t>(first),
                    static_cast<std::ptrdiff_t>(count), entry);
      } else if (depth + 1 < tailBits) {
        walkTail(child, depth + 1, childPrefix, start, tailBits);
      }
    }
  }

  void markRun(LookupEntry& entry, std::size_t bit, std::uint8_t run) const {
    const std::size_t child = tree_.nodes[0].child[bit];
    if (child != 0 && tree_.nodes[child].isLeaf) entry.count = run;  // a 1-bit code
  }

  const DecodeTree& tree_;
  Table& table_;
  std::vector<TailEntry>& tails_;
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
  // Lookups of up to lookupBits bits each that fit the 56 bits of a refill.
  static constexpr unsigned kLookupsPerRefill = 56 / lookupBits;

  explicit Decoder(const DecodeTree& tree) : tree_(tree) {
#ifndef NDEBUG
    // Every entry must be settled exactly once; a sentinel shows a gap.
    LookupEntry unset{};
    unset.count = 0xFF;
    table_.fill(unset);
#endif
    LookupBuilder<lookupBits>(tree, table_, tails_).build();
#ifndef NDEBUG
    for (const LookupEntry& entry : table_)
      assert(entry.count <= kMaxSymbols || entry.count == kZeroRun || entry.count == kOneRun);
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
    // Room for every store between two refills; the last bytes go one by one.
    constexpr std::ptrdiff_t kRoom = kLookupsPerRefill * kMaxSymbols + kStore;
    while (end - next >= kRoom && source.canRefillWhole()) {
      source.refillWhole();
      for (unsigned k = 0; k < kLookupsPerRefill; ++k) {
        const std::uint64_t word = entryWord(table_[source.peek(lookupBits)]);
        const auto count = static_cast<unsigned>(word >> 8) & 0xFFu;
        if (count - 1u >= kMaxSymbols) {
          // A long code or a run: both rare next to the plain entries.
          if (count != kLongCode && end - next >= kRunStore) {
            // At most 63 bits are at hand; the next lookup needs a refill.
            const unsigned length = source.runOf(count == kOneRun ? 1 : 0);
            std::memset(next, static_cast<std::uint8_t>(word >> kSymbolsShift), kRunStore);
            next += length;
            source.skip(length);
            break;
          }
          if (!slowly()) return false;
          break;
        }
        storeLittleEndian64(next, word >> kSymbolsShift);
        next += count;
        source.skip(static_cast<unsigned>(word & 0xFF));
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
    if (entry.count != kLongCode) {
      if (entry.firstBits > source.count()) return nullptr;
      *next = entry.symbols[0];
      source.skip(entry.firstBits);
      return next + 1;
    }
    std::size_t node = longEntryNode(entry);
    if (node == 0 || source.count() < lookupBits) return nullptr;
    source.skip(lookupBits);
    source.refill();
    const unsigned tailBits = entry.symbols[4];
    const TailEntry& tail = tails_[longEntryTailStart(entry) + source.peek(tailBits)];
    if (tail.bits != 0) {
      // Bits past count() read as zeros; a code that needs them ends past
      // the section.
      if (tail.bits > source.count()) return nullptr;
      *next = tail.symbol;
      source.skip(tail.bits);
      return next + 1;
    }
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
  std::vector<TailEntry> tails_;
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
