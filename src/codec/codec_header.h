#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/bytes.h"

namespace ws::codec {

using platform::Bytes;

// A codec stream is a static Huffman code over byte values, built afresh for
// each stream from the byte counts of its input:
//   0    CodecHeader, eight little-endian int32
//   32   CodeLengthTable, one code length (0..255 bits) per byte value
//   288  code section: every code, in ascending byte value, MSB-first
//   288+C data section: the code of every input byte, MSB-first
// with C = (S - 1) / 8 + 1 for S the sum of the code lengths, and
// D = (dataBits - 1) / 8 + 1, both truncating toward zero (0 bits -> 1 byte).
inline constexpr std::size_t kCodecHeaderSize = 32;
inline constexpr std::size_t kCodeLengthTableOffset = 32;
inline constexpr std::size_t kCodeLengthTableSize = 256;
inline constexpr std::size_t kCodeSectionOffset = kCodeLengthTableOffset + kCodeLengthTableSize;

inline constexpr std::int32_t kCodecSignature = 0x4648;  // bytes 'H' 'F' 0 0

// Byte offsets of the header fields.
inline constexpr std::size_t kStoredSizeOffset = 0;
inline constexpr std::size_t kOriginalSizeOffset = 4;
inline constexpr std::size_t kSignatureOffset = 8;
inline constexpr std::size_t kDataBitsOffset = 24;
inline constexpr std::size_t kOriginalSizeCopyOffset = 28;

// The largest input one stream can hold. Every field is a signed 32-bit
// count, and a Huffman code never spends more than 8 bits a byte on average
// (the plain 8-bit code is one of the codes it beats), so dataBits stays
// below 2^31 for inputs up to this size.
inline constexpr std::size_t kMaxOriginalSize = 0x0FFFFFFF;

// The system's own texts for the two codec failures.
inline constexpr char kDecodeErrorMessage[] = "error in decord";
inline constexpr char kEncodeZeroLengthMessage[] = "error in encord(zero length)";

struct CodecHeader {
  std::int32_t storedSize = 0;    // the whole stream, header included
  std::int32_t originalSize = 0;  // bytes the decoder produces
  std::int32_t signature = kCodecSignature;
  std::int32_t reserved0 = 0;
  std::int32_t reserved1 = 0;
  std::int32_t reserved2 = 0;
  std::int32_t dataBits = 0;  // bits in the data section
  std::int32_t originalSizeCopy = 0;
};

using CodeLengthTable = std::array<std::uint8_t, kCodeLengthTableSize>;

// Bytes of a section holding `bits` bits: (bits - 1) / 8 + 1, truncating
// toward zero, so 0 bits still take one byte. Negative counts give what the
// formula gives (0 for -1..-8), which callers reject before use.
std::int64_t sectionSize(std::int64_t bits);

// Reads the header from the first kCodecHeaderSize bytes of `stream`.
CodecHeader readCodecHeader(std::span<const std::uint8_t, kCodecHeaderSize> stream);

// Writes `header` over the first kCodecHeaderSize bytes of `stream`.
void writeCodecHeader(const CodecHeader& header, std::span<std::uint8_t, kCodecHeaderSize> stream);

std::int32_t readInt32(const std::uint8_t* bytes);
void writeInt32(std::uint8_t* bytes, std::int32_t value);

}  // namespace ws::codec
