#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "codec/codec_header.h"

namespace ws::codec::testing {

// Packs a string of '0' and '1' MSB-first, as both bit sections are packed.
inline Bytes packBits(const std::string& bits) {
  Bytes out(static_cast<std::size_t>(sectionSize(static_cast<std::int64_t>(bits.size()))), 0);
  for (std::size_t i = 0; i < bits.size(); ++i) {
    if (bits[i] == '1') out[i / 8] = static_cast<std::uint8_t>(out[i / 8] | (0x80u >> (i % 8)));
  }
  return out;
}

// A stream put together by hand, for codes and damage the encoder never makes.
struct HandStream {
  std::vector<std::string> codes = std::vector<std::string>(256);  // per byte value
  std::string dataBits;
  std::int32_t originalSize = 0;

  Bytes build() const {
    std::string codeBits;
    CodeLengthTable lengths{};
    for (std::size_t v = 0; v < 256; ++v) {
      lengths[v] = static_cast<std::uint8_t>(codes[v].size());
      codeBits += codes[v];
    }
    const Bytes codeSection = packBits(codeBits);
    const Bytes data = packBits(dataBits);
    CodecHeader header;
    header.storedSize =
        static_cast<std::int32_t>(kCodeSectionOffset + codeSection.size() + data.size());
    header.originalSize = originalSize;
    header.dataBits = static_cast<std::int32_t>(dataBits.size());
    header.originalSizeCopy = originalSize;
    Bytes stream(kCodeSectionOffset);
    writeCodecHeader(header, std::span(stream).first<kCodecHeaderSize>());
    for (std::size_t v = 0; v < 256; ++v)
      stream[kCodeLengthTableOffset + v] = lengths[v];
    stream.insert(stream.end(), codeSection.begin(), codeSection.end());
    stream.insert(stream.end(), data.begin(), data.end());
    return stream;
  }
};

inline Bytes bytesOf(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

}  // namespace ws::codec::testing
