#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "codec/byte_order.h"
#include "codec/huffman_decoder.h"

namespace ws::codec::decoding {

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
inline constexpr unsigned kMaxSymbols = sizeof LookupEntry{}.symbols;
inline constexpr std::uint8_t kLongCode = 0;
inline constexpr std::uint8_t kZeroRun = 0x80;
inline constexpr std::uint8_t kOneRun = 0x81;
inline constexpr unsigned kSymbolsShift = 16;    // where symbols[0] sits in the word
inline constexpr unsigned kFirstBitsShift = 56;  // and firstBits

// The entry as a word with byte 0 lowest, whatever the machine's byte order.
inline std::uint64_t entryWord(const LookupEntry& entry) {
  std::uint64_t word = 0;
  std::memcpy(&word, &entry, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = byteSwap64(word);
  return word;
}

inline LookupEntry entryOfWord(std::uint64_t word) {
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
inline constexpr unsigned kMaxTailBits = 8;

inline LookupEntry longEntry(std::size_t node, std::size_t tailStart = 0, unsigned tailBits = 0) {
  LookupEntry entry{};
  entry.symbols[0] = static_cast<std::uint8_t>(node);
  entry.symbols[1] = static_cast<std::uint8_t>(node >> 8);
  entry.symbols[2] = static_cast<std::uint8_t>(tailStart);
  entry.symbols[3] = static_cast<std::uint8_t>(tailStart >> 8);
  entry.symbols[4] = static_cast<std::uint8_t>(tailBits);
  return entry;
}

inline std::size_t longEntryNode(const LookupEntry& entry) {
  return std::size_t{entry.symbols[0]} | std::size_t{entry.symbols[1]} << 8;
}

inline std::size_t longEntryTailStart(const LookupEntry& entry) {
  return std::size_t{entry.symbols[2]} | std::size_t{entry.symbols[3]} << 8;
}

inline unsigned longEntryTailBits(const LookupEntry& entry) {
  return entry.symbols[4];
}

// The depth of the deepest leaf or missing child below `node`, at most `limit`.
inline unsigned depthBelow(const DecodeTree& tree, std::size_t node, unsigned limit) {
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

}  // namespace ws::codec::decoding
