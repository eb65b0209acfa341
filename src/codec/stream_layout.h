#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "codec/codec_header.h"
#include "platform/result.h"

namespace ws::codec {

// A stream split into its parts, with every size checked against the bytes
// at hand. Both decoders start from it, so they reject the same streams.
struct StreamLayout {
  CodecHeader header;
  CodeLengthTable lengths{};
  std::span<const std::uint8_t> codeSection;  // C bytes
  std::span<const std::uint8_t> dataSection;  // D bytes
};

// Splits `stream` (whatever follows it is ignored). Fails with
// "error in decord" when the stream is shorter than its header and tables,
// when originalSize is negative or larger than dataBits (every byte takes at
// least one bit), when storedSize is smaller than 288 + D or larger than the
// bytes available, or when the code section holds fewer bits than the code
// lengths add up to.
Result<StreamLayout> parseStreamLayout(std::span<const std::uint8_t> stream);

// The error every damaged stream gives: "error in decord", with `detail`
// saying what was wrong.
Error decodeError(std::string detail);

}  // namespace ws::codec
