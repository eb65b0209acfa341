#include "codec/reference_codec.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "codec/huffman_tables.h"
#include "codec/stream_layout.h"

namespace ws::codec::reference {
namespace {

struct EncodeNode {
  std::int32_t parent = 0;  // 0: none yet
  std::uint8_t branchBit = 0;
};

struct DecodeNode {
  std::uint8_t symbol = 0;
  std::int32_t child0 = 0;  // 0: no child (node 0 is the root)
  std::int32_t child1 = 0;
  std::int32_t isLeaf = 0;
};

constexpr std::size_t kSentinel = kNodeTableSize;  // the 513th count

struct Codes {
  CodeLengthTable lengths{};
  // codeBits[v][1..length(v)]: the bits of v's code from the leaf upward, so
  // entry 1 is the code's last bit and entry length(v) its first.
  std::vector<std::array<std::uint8_t, 256>> codeBits =
      std::vector<std::array<std::uint8_t, 256>>(256);
  std::array<std::uint32_t, kNodeTableSize + 1> counts{};
  std::int64_t codeBitSum = 0;
  std::uint32_t dataBits = 0;
};

Codes buildCodes(std::span<const std::uint8_t> source, Bytes& codeSection) {
  Codes codes;
  std::vector<EncodeNode> nodes(kNodeTableSize);
  auto& counts = codes.counts;
  counts[kSentinel] = 0xFFFFFFFF;
  for (const std::uint8_t b : source)
    ++counts[b];

  std::size_t n = 0;
  for (std::size_t v = 0; v < 256; ++v)
    n += counts[v] != 0 ? 1u : 0u;

  for (std::size_t i = 256; i < n + 255; ++i) {
    for (std::uint8_t k = 0; k < 2; ++k) {
      std::size_t best = kSentinel;
      for (std::size_t j = 0; j < i; ++j) {
        if (nodes[j].parent == 0 && counts[j] != 0 && counts[j] < counts[best]) best = j;
      }
      nodes[best].parent = static_cast<std::int32_t>(i);
      nodes[best].branchBit = k;
      counts[i] += counts[best];
    }
  }

  for (std::size_t v = 0; v < 256; ++v) {
    std::size_t length = 0;
    for (std::size_t node = v; nodes[node].parent != 0;
         node = static_cast<std::size_t>(nodes[node].parent)) {
      ++length;
      codes.codeBits[v][length] = nodes[node].branchBit;
    }
    codes.lengths[v] = static_cast<std::uint8_t>(length);
  }
  if (n == 1) {
    // No tree for a single value: it gets the 1-bit code 0.
    const auto single = static_cast<std::size_t>(
        std::find_if(counts.begin(), counts.begin() + 256, [](auto c) { return c != 0; }) -
        counts.begin());
    codes.lengths[single] = 1;
    codes.codeBits[single][1] = 0;
  }

  std::uint32_t dataBits = 0;
  for (std::size_t v = 0; v < 256; ++v) {
    codes.codeBitSum += codes.lengths[v];
    dataBits += static_cast<std::uint32_t>(codes.lengths[v]) * counts[v];
  }
  codes.dataBits = dataBits;

  codeSection.assign(static_cast<std::size_t>(sectionSize(codes.codeBitSum)), 0);
  BitWriter writer;
  for (std::size_t v = 0; v < 256; ++v) {
    for (std::size_t e = codes.lengths[v]; e >= 1; --e) {
      writeBit(writer, codeSection, codes.codeBits[v][e]);
    }
  }
  writeBit(writer, codeSection, -1);
  return codes;
}

// This decoder tells only that a stream does not decode; the fast one says
// why.
Error damaged() {
  return decodeError("the codes or the data do not decode");
}

}  // namespace

std::int32_t writeBit(BitWriter& writer, std::span<std::uint8_t> buffer, int value) {
  if (value < 0) {
    writer = BitWriter{};
    return -1;
  }
  if (value != 0) buffer[static_cast<std::size_t>(writer.position)] |= writer.mask;
  writer.mask = static_cast<std::uint8_t>(writer.mask >> 1);
  if (writer.mask == 0) {
    ++writer.position;
    writer.mask = 0x80;
  }
  return writer.position;
}

int readBit(BitReader& reader, std::span<const std::uint8_t> buffer, int flag) {
  if (flag == 0) {
    reader = BitReader{};
    return -1;
  }
  if (reader.mask == 0) {
    if (static_cast<std::size_t>(reader.position) >= buffer.size()) return kEndOfBuffer;
    reader.current = buffer[static_cast<std::size_t>(reader.position)];
    ++reader.position;
    reader.mask = 0x80;
  }
  const int bit = (reader.current & reader.mask) != 0 ? 1 : 0;
  reader.mask = static_cast<std::uint8_t>(reader.mask >> 1);
  return bit;
}

Result<Bytes> encodeStream(std::span<const std::uint8_t> source) {
  if (source.size() > kMaxOriginalSize) std::abort();

  Bytes codeSection;
  const Codes codes = buildCodes(source, codeSection);

  Bytes data(static_cast<std::size_t>(sectionSize(codes.dataBits)), 0);
  BitWriter writer;
  std::uint32_t bitCount = 0;
  for (const std::uint8_t b : source) {
    if (codes.lengths[b] == 0) return Error{kEncodeZeroLengthMessage};
    for (std::size_t e = codes.lengths[b]; e >= 1; --e) {
      writeBit(writer, data, codes.codeBits[b][e]);
    }
    bitCount += codes.lengths[b];
  }
  writeBit(writer, data, -1);

  Bytes stream(kCodeSectionOffset);
  CodecHeader header;
  header.storedSize =
      static_cast<std::int32_t>(kCodeSectionOffset + codeSection.size() + data.size());
  header.originalSize = static_cast<std::int32_t>(source.size());
  header.dataBits = static_cast<std::int32_t>(bitCount);
  header.originalSizeCopy = header.originalSize;
  writeCodecHeader(header, std::span(stream).first<kCodecHeaderSize>());
  std::copy(codes.lengths.begin(), codes.lengths.end(),
            stream.begin() + static_cast<std::ptrdiff_t>(kCodeLengthTableOffset));
  stream.insert(stream.end(), codeSection.begin(), codeSection.end());
  stream.insert(stream.end(), data.begin(), data.end());
  return stream;
}

Result<Bytes> decodeStream(std::span<const std::uint8_t> stream) {
  auto layout = parseStreamLayout(stream);
  if (!layout) return layout.error();

  std::vector<DecodeNode> nodes(kNodeTableSize);
  std::size_t nextFree = 1;
  BitReader reader;
  for (std::size_t v = 0; v < 256; ++v) {
    const std::size_t length = layout->lengths[v];
    if (length == 0) continue;
    std::size_t node = 0;
    for (std::size_t i = 0; i < length; ++i) {
      if (nodes[node].isLeaf != 0) return damaged();
      const int bit = readBit(reader, layout->codeSection, 1);
      if (bit == kEndOfBuffer) return damaged();
      std::int32_t& child = bit != 0 ? nodes[node].child1 : nodes[node].child0;
      if (child == 0) {
        if (nextFree == kNodeTableSize) return damaged();
        child = static_cast<std::int32_t>(nextFree++);
      }
      node = static_cast<std::size_t>(child);
    }
    if (nodes[node].isLeaf != 0 || nodes[node].child0 != 0 || nodes[node].child1 != 0) {
      return damaged();
    }
    nodes[node].isLeaf = 1;
    nodes[node].symbol = static_cast<std::uint8_t>(v);
  }
  readBit(reader, layout->codeSection, 0);

  Bytes out(static_cast<std::size_t>(layout->header.originalSize));
  for (std::uint8_t& byte : out) {
    std::size_t node = 0;
    do {
      const int bit = readBit(reader, layout->dataSection, 1);
      if (bit == kEndOfBuffer) return damaged();
      const std::int32_t child = bit != 0 ? nodes[node].child1 : nodes[node].child0;
      if (child == 0) return damaged();
      node = static_cast<std::size_t>(child);
    } while (nodes[node].isLeaf == 0);
    byte = nodes[node].symbol;
  }
  readBit(reader, layout->dataSection, 0);
  return out;
}

}  // namespace ws::codec::reference
