#include "codec/stream_layout.h"

#include <algorithm>
#include <string>
#include <utility>

#include "codec/huffman_tables.h"

namespace ws::codec {

Error decodeError(std::string detail) {
  return Error{kDecodeErrorMessage, std::move(detail)};
}

Result<StreamLayout> parseStreamLayout(std::span<const std::uint8_t> stream) {
  if (stream.size() < kCodeSectionOffset) {
    return decodeError("the stream is " + std::to_string(stream.size()) +
                       " bytes, shorter than the " + std::to_string(kCodeSectionOffset) +
                       " bytes of its header and code length table");
  }

  StreamLayout layout;
  layout.header = readCodecHeader(stream.first<kCodecHeaderSize>());
  const CodecHeader& header = layout.header;
  if (header.originalSize < 0 || header.originalSize > header.dataBits) {
    return decodeError("the original size " + std::to_string(header.originalSize) +
                       " does not fit " + std::to_string(header.dataBits) + " data bits");
  }

  const std::int64_t dataSize = sectionSize(header.dataBits);
  const std::int64_t tablesEnd = static_cast<std::int64_t>(kCodeSectionOffset);
  const std::int64_t available = static_cast<std::int64_t>(stream.size());
  if (header.storedSize < tablesEnd + dataSize) {
    return decodeError("the stored size " + std::to_string(header.storedSize) +
                       " is less than the tables and the data section take (" +
                       std::to_string(tablesEnd + dataSize) + " bytes)");
  }
  if (header.storedSize > available) {
    return decodeError("the stored size " + std::to_string(header.storedSize) + " exceeds the " +
                       std::to_string(available) + " bytes at hand");
  }
  const std::int64_t codeSize = header.storedSize - tablesEnd - dataSize;

  std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(kCodeLengthTableOffset),
              kCodeLengthTableSize, layout.lengths.begin());
  if (const auto bits = codeBitSum(layout.lengths); codeSize * 8 < bits) {
    return decodeError("the code section holds " + std::to_string(codeSize * 8) +
                       " bits, the code lengths add up to " + std::to_string(bits));
  }

  layout.codeSection = stream.subspan(kCodeSectionOffset, static_cast<std::size_t>(codeSize));
  layout.dataSection = stream.subspan(kCodeSectionOffset + static_cast<std::size_t>(codeSize),
                                      static_cast<std::size_t>(dataSize));
  return layout;
}

}  // namespace ws::codec
