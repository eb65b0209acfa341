#include "codec/codec_header.h"

#include "platform/little_endian.h"

namespace ws::codec {

std::int64_t sectionSize(std::int64_t bits) {
  return (bits - 1) / 8 + 1;
}

std::int32_t readInt32(const std::uint8_t* bytes) {
  return platform::loadI32(std::span<const std::uint8_t>(bytes, 4), 0).value_or(0);
}

void writeInt32(std::uint8_t* bytes, std::int32_t value) {
  platform::storeI32(std::span<std::uint8_t>(bytes, 4), 0, value);
}

CodecHeader readCodecHeader(std::span<const std::uint8_t, kCodecHeaderSize> stream) {
  const std::uint8_t* p = stream.data();
  return CodecHeader{readInt32(p),      readInt32(p + 4),  readInt32(p + 8),  readInt32(p + 12),
                     readInt32(p + 16), readInt32(p + 20), readInt32(p + 24), readInt32(p + 28)};
}

void writeCodecHeader(const CodecHeader& header, std::span<std::uint8_t, kCodecHeaderSize> stream) {
  std::uint8_t* p = stream.data();
  writeInt32(p, header.storedSize);
  writeInt32(p + 4, header.originalSize);
  writeInt32(p + 8, header.signature);
  writeInt32(p + 12, header.reserved0);
  writeInt32(p + 16, header.reserved1);
  writeInt32(p + 20, header.reserved2);
  writeInt32(p + 24, header.dataBits);
  writeInt32(p + 28, header.originalSizeCopy);
}

}  // namespace ws::codec
