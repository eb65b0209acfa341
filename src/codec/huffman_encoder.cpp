#include "codec/huffman_encoder.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>

#include "codec/byte_order.h"
#include "codec/huffman_tables.h"

namespace ws::codec {
namespace {

// Packs codes MSB-first through a 64-bit accumulator whose pending bits sit at
// its top. Every flush stores all 8 bytes and advances by the whole bytes
// pending, so the buffer needs kSlack bytes beyond the section's end; later
// stores overwrite what an earlier flush spilled.
class BitPacker {
 public:
  static constexpr std::size_t kSlack = 8;

  explicit BitPacker(std::uint8_t* out) : out_(out) {}

  // Appends `length` (1..64 - pending, at most 56 after a flush) bits.
  void put(std::uint64_t code, unsigned length) {
    pending_ |= code << (64 - count_ - length);
    count_ += length;
  }

  void flush() {
    storeBigEndian64(out_, pending_);
    const unsigned whole = count_ >> 3;
    out_ += whole;
    pending_ <<= whole * 8;  // whole <= 7: at most 63 bits are ever pending
    count_ &= 7;
  }

  // Any length up to 64, in pieces that fit.
  void putLong(std::uint64_t code, unsigned length) {
    while (length > 32) {
      length -= 32;
      put((code >> length) & 0xFFFFFFFFu, 32);
      flush();
    }
    put(code & ((std::uint64_t{1} << length) - 1), length);
    flush();
  }

 private:
  std::uint8_t* out_;
  std::uint64_t pending_ = 0;
  unsigned count_ = 0;
};

// Packs the data section. kPerFlush codes of the longest length fit the 56
// bits that are always free after a flush; 0 means codes may be longer than
// 56 bits and go through putLong one by one.
template <unsigned kPerFlush>
void packData(std::span<const std::uint8_t> source, const CodeBook& book, std::uint8_t* out) {
  std::array<std::uint64_t, 256> codes = book.codes;
  std::array<unsigned, 256> lengths{};
  for (std::size_t v = 0; v < 256; ++v)
    lengths[v] = book.lengths[v];

  BitPacker packer(out);
  const std::uint8_t* p = source.data();
  const std::uint8_t* const end = p + source.size();
  if constexpr (kPerFlush > 0) {
    while (static_cast<std::size_t>(end - p) >= kPerFlush) {
      for (unsigned k = 0; k < kPerFlush; ++k)
        packer.put(codes[p[k]], lengths[p[k]]);
      packer.flush();
      p += kPerFlush;
    }
  }
  for (; p != end; ++p)
    packer.putLong(codes[*p], lengths[*p]);
  packer.flush();
}

}  // namespace

ByteCounts countBytes(std::span<const std::uint8_t> source) {
  // Four tables so that runs of one value (save bodies are mostly zeros) do
  // not wait on their own previous increment.
  std::array<std::array<std::uint32_t, 256>, 4> partial{};
  std::size_t i = 0;
  for (; i + 4 <= source.size(); i += 4) {
    ++partial[0][source[i]];
    ++partial[1][source[i + 1]];
    ++partial[2][source[i + 2]];
    ++partial[3][source[i + 3]];
  }
  for (; i < source.size(); ++i)
    ++partial[0][source[i]];
  ByteCounts counts{};
  for (std::size_t v = 0; v < 256; ++v) {
    counts[v] = partial[0][v] + partial[1][v] + partial[2][v] + partial[3][v];
  }
  return counts;
}

namespace {

// The code tree over the 256 leaves and the internal nodes after them: each
// node's parent (0: none) and the bit that leads to it from there.
struct CodeTree {
  std::array<std::uint16_t, kNodeTableSize> parent{};
  std::array<std::uint8_t, kNodeTableSize> branchBit{};
};

// Joins the two lightest parentless nodes until one root is left; `leaves`
// holds the n >= 2 used byte values.
//
// Taking the smallest (count, node number) each time is what a scan over all
// parentless nodes does. Leaves in that order form one queue; internal nodes
// are created with counts that never decrease, so in creation order they form
// the other, and a pick compares the two heads. A leaf wins a tie: its node
// number is lower.
CodeTree buildTree(const ByteCounts& counts, std::array<std::uint16_t, 256>& leaves,
                   std::size_t n) {
  std::stable_sort(leaves.begin(), leaves.begin() + static_cast<std::ptrdiff_t>(n),
                   [&](std::uint16_t a, std::uint16_t b) { return counts[a] < counts[b]; });
  CodeTree tree;
  std::array<std::uint64_t, kNodeTableSize> weight{};
  for (std::size_t v = 0; v < 256; ++v)
    weight[v] = counts[v];

  std::size_t nextLeaf = 0;
  std::size_t nextInternal = 256;
  const std::size_t root = n + 254;
  for (std::size_t i = 256; i <= root; ++i) {
    for (std::uint8_t k = 0; k < 2; ++k) {
      std::size_t pick = 0;
      if (nextLeaf < n && (nextInternal == i || weight[leaves[nextLeaf]] <= weight[nextInternal])) {
        pick = leaves[nextLeaf++];
      } else {
        pick = nextInternal++;
      }
      tree.parent[pick] = static_cast<std::uint16_t>(i);
      tree.branchBit[pick] = k;
      weight[i] += weight[pick];
    }
  }
  return tree;
}

// Each used byte's code: the branch bits on the way from its leaf to the
// root, the root's bit first.
void readCodes(const CodeTree& tree, const ByteCounts& counts, CodeBook& book) {
  for (std::size_t v = 0; v < 256; ++v) {
    if (counts[v] == 0) continue;
    unsigned length = 0;
    std::uint64_t code = 0;
    for (std::size_t node = v; tree.parent[node] != 0; node = tree.parent[node]) {
      code |= std::uint64_t{tree.branchBit[node]} << length;
      ++length;
    }
    assert(length <= 64);
    book.lengths[v] = static_cast<std::uint8_t>(length);
    book.codes[v] = code;
  }
}

}  // namespace

CodeBook buildCodes(const ByteCounts& counts) {
  CodeBook book;
  std::array<std::uint16_t, 256> leaves{};
  std::size_t n = 0;
  for (std::uint16_t v = 0; v < 256; ++v) {
    if (counts[v] != 0) leaves[n++] = v;
  }

  if (n == 1) {
    book.lengths[leaves[0]] = 1;  // code 0
  } else if (n >= 2) {
    readCodes(buildTree(counts, leaves, n), counts, book);
  }

  for (std::size_t v = 0; v < 256; ++v) {
    book.codeBits += book.lengths[v];
    book.dataBits += static_cast<std::int64_t>(book.lengths[v]) * counts[v];
  }
  return book;
}

Bytes encodeStream(std::span<const std::uint8_t> source) {
  if (source.size() > kMaxOriginalSize) std::abort();  // a caller's bug: see the header

  const CodeBook book = buildCodes(countBytes(source));
  const auto codeSize = static_cast<std::size_t>(sectionSize(book.codeBits));
  const auto dataSize = static_cast<std::size_t>(sectionSize(book.dataBits));
  const std::size_t storedSize = kCodeSectionOffset + codeSize + dataSize;

  Bytes stream(storedSize + BitPacker::kSlack, 0);
  CodecHeader header;
  header.storedSize = static_cast<std::int32_t>(storedSize);
  header.originalSize = static_cast<std::int32_t>(source.size());
  header.dataBits = static_cast<std::int32_t>(book.dataBits);
  header.originalSizeCopy = header.originalSize;
  writeCodecHeader(header, std::span(stream).first<kCodecHeaderSize>());
  std::copy(book.lengths.begin(), book.lengths.end(),
            stream.begin() + static_cast<std::ptrdiff_t>(kCodeLengthTableOffset));

  BitPacker codePacker(stream.data() + kCodeSectionOffset);
  for (std::size_t v = 0; v < 256; ++v) {
    if (book.lengths[v] != 0) codePacker.putLong(book.codes[v], book.lengths[v]);
  }
  codePacker.flush();

  std::uint8_t* data = stream.data() + kCodeSectionOffset + codeSize;
  const std::uint8_t longest = *std::max_element(book.lengths.begin(), book.lengths.end());
  if (longest <= 14) {
    packData<4>(source, book, data);
  } else if (longest <= 28) {
    packData<2>(source, book, data);
  } else if (longest <= 56) {
    packData<1>(source, book, data);
  } else {
    packData<0>(source, book, data);
  }

  stream.resize(storedSize);
  return stream;
}

}  // namespace ws::codec
