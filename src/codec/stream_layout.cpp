#include "codec/stream_layout.h"

#include <algorithm>

#include "codec/huffman_tables.h"

namespace ws::codec {

Error decodeError() {
  return Error{kDecodeErrorMessage};
}

Result<StreamLayout> parseStreamLayout(std::span<const std::uint8_t> stream) {
  if (stream.size() < kCodeSectionOffset) return decodeError();

  StreamLayout layout;
  layout.header = readCodecHeader(stream.first<kCodecHeaderSize>());
  const CodecHeader& header = layout.header;
  if (header.originalSize < 0 || header.originalSize > header.dataBits) return decodeError();

  const std::int64_t dataSize = sectionSize(header.dataBits);
  const std::int64_t tablesEnd = static_cast<std::int64_t>(kCodeSectionOffset);
  const std::int64_t available = static_cast<std::int64_t>(stream.size());
  if (header.storedSize < tablesEnd + dataSize || header.storedSize > available) {
    return decodeError();
  }
  const std::int64_t codeSize = header.storedSize - tablesEnd - dataSize;

  std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(kCodeLengthTableOffset),
              kCodeLengthTableSize, layout.lengths.begin());
  if (codeSize * 8 < codeBitSum(layout.lengths)) return decodeError();

  layout.codeSection = stream.subspan(kCodeSectionOffset, static_cast<std::size_t>(codeSize));
  layout.dataSection = stream.subspan(kCodeSectionOffset + static_cast<std::size_t>(codeSize),
                                      static_cast<std::size_t>(dataSize));
  return layout;
}

}  // namespace ws::codec
