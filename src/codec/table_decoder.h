#pragma once

// The table-driven decoder of the data section, single or in lanes.

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "codec/bit_source.h"
#include "codec/byte_order.h"
#include "codec/decode_lookup.h"
#include "codec/huffman_decoder.h"

namespace ws::codec::decoding {

// Huffman codes are one chain of dependent lookups. To keep several chains
// in flight, the data section is cut into kLanes pieces decoded side by side;
// each lane after the first starts at a byte that need not be a code
// boundary. Its output is trusted from the first of its checkpoints that the
// lane before meets exactly: from a common boundary on, both read the same
// codes. A save body resynchronises within a few codes (most of it is the
// 1-bit code of 0). Each lane writes into its own stretch of the buffer,
// placed in proportion to its piece plus room for the output to drift from
// that estimate (the buffer reaches laneSlack() bytes past the output); the
// trusted bytes are then moved into place. Whatever goes wrong (no common
// boundary, a stretch too small, a damaged code), decoding goes on from the
// last trusted lane alone, so the result is always the sequential one.

// One place in the data section being decoded: where its bits come from and
// where its bytes go, up to `limit`. Fast rounds stop once the source has
// loaded the byte at `stopByte`.
struct Lane {
  BitSource source;
  std::uint8_t* next = nullptr;
  std::uint8_t* limit = nullptr;
  const std::uint8_t* stopByte = nullptr;
  bool failed = false;  // the code at the source's position is damaged
};

inline constexpr unsigned kLanes = 3;
inline constexpr std::size_t kMinLaneBytes = 256;
inline constexpr std::size_t kMinLaneOutput = 1024;
inline constexpr unsigned kCheckpoints = 8;

// The room past the output that lanes need so that their stretches may drift
// from the estimate (a few per cent on real data); 0 when the output is
// decoded in one lane.
inline std::size_t laneSlack(std::size_t outSize, std::size_t dataSize) {
  if (outSize < kLanes * kMinLaneOutput || dataSize < kLanes * kMinLaneBytes) return 0;
  return (kLanes - 1) * (outSize / 32 + 256);
}

// Where a lane stood at the start of one of its rounds: a boundary between
// two codes, if the lane began on one.
struct Checkpoint {
  std::size_t bit;
  std::uint8_t* next;
};

template <unsigned lookupBits>
class Decoder {
 public:
  // Lookups of up to lookupBits bits each that fit the 56 bits of a refill.
  static constexpr unsigned kLookupsPerRefill = 56 / lookupBits;
  static constexpr std::ptrdiff_t kStore = sizeof(LookupEntry);
  static constexpr std::ptrdiff_t kRunStore = 64;
  // Room for every store of a round.
  static constexpr std::ptrdiff_t kRoom = kLookupsPerRefill * kMaxSymbols + kStore;
  static constexpr std::ptrdiff_t kRoundReach = kLookupsPerRefill * kMaxSymbols + kRunStore;

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

  // Decodes into the first `size` bytes of `buffer`; the rest, laneSlack()
  // bytes, is room for decoding in lanes.
  bool decode(std::span<const std::uint8_t> data, std::span<std::uint8_t> buffer,
              std::size_t size) const {
    const std::span<std::uint8_t> out = buffer.first(size);
    const std::size_t slack = laneSlack(size, data.size());
    if (slack == 0 || buffer.size() < size + slack) {
      return decodeFrom(
          Lane{BitSource(data, 0), out.data(), out.data() + size, data.data() + data.size()}, data,
          out);
    }
    return decodeInLanes(data, out, buffer.first(size + slack));
  }

 private:
  // Where each lane starts reading: lane j at byte j/kLanes of the data.
  static std::array<std::size_t, kLanes + 1> laneStartBytes(std::size_t dataSize) {
    std::array<std::size_t, kLanes + 1> startByte{};
    for (unsigned j = 0; j <= kLanes; ++j) {
      // In 64 bits: the products overflow a 32-bit size_t.
      startByte[j] = static_cast<std::size_t>(std::uint64_t{dataSize} * j / kLanes);
    }
    return startByte;
  }

  // The lanes, each writing where its share of the output is estimated to
  // start; each join may find the trusted output up to `drift` bytes longer
  // than estimated. The last lane may run on into the buffer's slack.
  static std::array<Lane, kLanes> makeLanes(std::span<const std::uint8_t> data,
                                            std::span<std::uint8_t> out,
                                            std::span<std::uint8_t> buffer,
                                            const std::array<std::size_t, kLanes + 1>& startByte) {
    const std::size_t drift = (buffer.size() - out.size()) / (kLanes - 1);
    std::array<std::uint8_t*, kLanes + 1> startOut{};
    for (unsigned j = 0; j <= kLanes; ++j) {
      startOut[j] =
          out.data() +
          static_cast<std::size_t>(std::uint64_t{out.size()} * startByte[j] / data.size()) +
          j * drift;
    }
    std::array<Lane, kLanes> lanes{};
    for (unsigned j = 0; j < kLanes; ++j) {
      lanes[j] = Lane{BitSource(data, startByte[j]), startOut[j], startOut[j + 1],
                      data.data() + startByte[j + 1]};
    }
    lanes.back().limit = buffer.data() + buffer.size();
    lanes.back().stopByte = data.data() + data.size();
    return lanes;
  }

  bool decodeInLanes(std::span<const std::uint8_t> data, std::span<std::uint8_t> out,
                     std::span<std::uint8_t> buffer) const {
    const std::array<std::size_t, kLanes + 1> startByte = laneStartBytes(data.size());
    std::array<Lane, kLanes> lanes = makeLanes(data, out, buffer, startByte);

    std::array<std::array<Checkpoint, kCheckpoints>, kLanes> checkpoints{};
    std::array<unsigned, kLanes> checkpointCount{};
    for (unsigned j = 1; j < kLanes; ++j) {
      Lane& lane = lanes[j];
      while (checkpointCount[j] < kCheckpoints) {
        checkpoints[j][checkpointCount[j]++] = {lane.source.bitPosition(data.data()), lane.next};
        if (!canRound(lane)) break;
        round(lane);
      }
    }

    for (;;) {
      std::size_t rounds = SIZE_MAX;
      for (const Lane& lane : lanes)
        rounds = std::min(rounds, sureRounds(lane));
      if (rounds == 0) break;
      for (; rounds != 0; --rounds) {
        for (Lane& lane : lanes)
          round(lane);
      }
    }

    Lane trusted = lanes[0];
    for (unsigned j = 1; j < kLanes; ++j) {
      const std::size_t joinBit = startByte[j] * 8;
      finishLane(trusted, data.data(), joinBit);
      if (trusted.source.bitPosition(data.data()) < joinBit) break;
      const Checkpoint* join =
          meet(trusted, data.data(), std::span(checkpoints[j]).first(checkpointCount[j]));
      if (join == nullptr) break;
      const Lane& lane = lanes[j];
      const std::ptrdiff_t length = lane.next - join->next;
      std::memmove(trusted.next, join->next, static_cast<std::size_t>(length));
      std::uint8_t* const next = trusted.next + length;
      trusted = lane;
      trusted.next = next;
    }
    return decodeFrom(trusted, data, out);
  }

  // Runs the lane to the end of the output, one lane alone.
  bool decodeFrom(Lane lane, std::span<const std::uint8_t> data,
                  std::span<std::uint8_t> out) const {
    lane.limit = out.data() + out.size();
    lane.stopByte = data.data() + data.size();
    finishLane(lane, data.data(), SIZE_MAX);
    return lane.next >= lane.limit;  // the last lane may have gone past the end
  }

  // How many rounds the lane can certainly take: a round reads at most 8
  // bytes, and it moves its output on and stores past it by less than
  // kRoundReach together (plain entries, then a run and its store). A lane
  // that met a damaged code stays before it, so further rounds would only
  // meet it again.
  static std::size_t sureRounds(const Lane& lane) {
    if (lane.failed || lane.next > lane.limit) return 0;
    const auto room = static_cast<std::size_t>(lane.limit - lane.next) / kRoundReach;
    const std::uint8_t* const stop = std::min(lane.stopByte, lane.source.end() - 8);
    const std::uint8_t* const from = lane.source.nextByte();
    const std::size_t input = from < stop ? static_cast<std::size_t>(stop - from) / 8 : 0;
    return std::min(room, input);
  }

  bool canRound(const Lane& lane) const {
    return !lane.failed && lane.limit - lane.next >= kRoom && lane.source.canRefillWhole() &&
           lane.source.nextByte() < lane.stopByte;
  }

  // Decodes until the lane has taken `stopBit` bits, has filled its output,
  // or meets a damaged code.
  void finishLane(Lane& lane, const std::uint8_t* begin, std::size_t stopBit) const {
    while (canRound(lane))
      round(lane);
    while (!lane.failed && lane.next < lane.limit && lane.source.bitPosition(begin) < stopBit) {
      stepOne(lane);
    }
  }

  // Takes single codes from the trusted lane until it stands on one of the
  // next lane's checkpoints, which is then returned; nullptr when it passes
  // them all, fills its output or meets a damaged code.
  const Checkpoint* meet(Lane& lane, const std::uint8_t* begin,
                         std::span<const Checkpoint> checkpoints) const {
    for (const Checkpoint& checkpoint : checkpoints) {
      std::size_t bit = lane.source.bitPosition(begin);
      while (bit < checkpoint.bit) {
        if (lane.failed || lane.next >= lane.limit) return nullptr;
        stepOne(lane);
        bit = lane.source.bitPosition(begin);
      }
      if (bit == checkpoint.bit) return &checkpoint;
    }
    return nullptr;
  }

  void stepOne(Lane& lane) const {
    BitSource source = lane.source;
    std::uint8_t* const next = decodeOne(source, lane.next);
    if (next == nullptr) {
      lane.failed = true;  // the lane stays before the damaged code
      return;
    }
    lane.source = source;
    lane.next = next;
  }

  // The rest of a long code from its node's second table, when the bits for
  // it are at hand and the table settles it.
  bool tailCode(BitSource& source, std::uint8_t*& next, std::uint64_t word) const {
    const LookupEntry entry = entryOfWord(word);
    const unsigned tailBits = longEntryTailBits(entry);
    if (longEntryNode(entry) == 0 || source.count() < lookupBits + tailBits) return false;
    const TailEntry tail =
        tails_[longEntryTailStart(entry) + source.peekPast(lookupBits, tailBits)];
    if (tail.bits == 0) return false;
    *next++ = tail.symbol;
    source.skip(lookupBits + tail.bits);
    return true;
  }

  // One refill and the lookups it allows; requires canRound(lane).
  void round(Lane& lane) const {
    // `source` and `next` never have their address taken, so they stay in
    // registers although the byte stores below may alias anything; the slow
    // path works on a copy.
    BitSource source = lane.source;
    std::uint8_t* next = lane.next;
    source.refillWhole();
    for (unsigned k = 0; k < kLookupsPerRefill; ++k) {
      const std::uint64_t word = entryWord(table_[source.peek(lookupBits)]);
      const auto count = static_cast<unsigned>(word >> 8) & 0xFFu;
      if (count - 1u >= kMaxSymbols) {
        // A long code or a run: both rare next to the plain entries.
        if (count == kLongCode && tailCode(source, next, word)) break;
        if (count != kLongCode && lane.limit - next >= kRunStore) {
          // At most 63 bits are at hand; the next lookup needs a refill.
          const unsigned length = source.runOf(count == kOneRun ? 1 : 0);
          std::memset(next, static_cast<std::uint8_t>(word >> kSymbolsShift), kRunStore);
          next += length;
          source.skip(length);
          break;
        }
        BitSource copy = source;
        std::uint8_t* const after = decodeOne(copy, next);
        if (after == nullptr) {
          lane.failed = true;
          break;
        }
        source = copy;
        next = after;
        break;
      }
      storeLittleEndian64(next, word >> kSymbolsShift);
      next += count;
      source.skip(static_cast<unsigned>(word & 0xFF));
    }
    lane.source = source;
    lane.next = next;
  }

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
    const unsigned tailBits = longEntryTailBits(entry);
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
                      std::span<std::uint8_t> buffer, std::size_t size) {
  // The table is up to 32 KB; keep it off the caller's stack.
  return std::make_unique<Decoder<lookupBits>>(tree)->decode(data, buffer, size);
}

}  // namespace ws::codec::decoding
