#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

#include "codec/byte_order.h"

namespace ws::codec::decoding {

// MSB-first reader over the data section. The next bits sit at the top of
// `bits_`; below them may follow further true bits of the section or zeros,
// never anything else, so a lookup may peek past `count_` and then check the
// length it found against it.
class BitSource {
 public:
  BitSource() = default;
  BitSource(std::span<const std::uint8_t> data, std::size_t startByte)
      : next_(data.data() + startByte), end_(data.data() + data.size()) {}

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
  // The `n` bits after the next `skipped` ones; n >= 1, skipped + n <= 64.
  std::size_t peekPast(unsigned skipped, unsigned n) const {
    return static_cast<std::size_t>((bits_ << skipped) >> (64 - n));
  }
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

  // The next byte a refill loads, and the end of the section.
  const std::uint8_t* nextByte() const { return next_; }
  const std::uint8_t* end() const { return end_; }
  // Bits taken so far, counted from `begin`, the start of the section.
  std::size_t bitPosition(const std::uint8_t* begin) const {
    return static_cast<std::size_t>(next_ - begin) * 8 - count_;
  }

 private:
  const std::uint8_t* next_ = nullptr;
  const std::uint8_t* end_ = nullptr;
  std::uint64_t bits_ = 0;
  unsigned count_ = 0;
};

}  // namespace ws::codec::decoding
