#include "codec/save_container.h"

#include <algorithm>

#include "codec/codec_header.h"
#include "codec/huffman_decoder.h"
#include "codec/huffman_encoder.h"
#include "platform/file_io.h"

namespace ws::codec {
namespace {

// The four words at the start of the header; bytes 16..19 stay zero.
constexpr std::uint8_t kSaveMagic[4] = {'R', 'V', '7', '-'};
constexpr std::int32_t kHeaderWord4 = 0x01020005;
constexpr std::int32_t kHeaderWord8 = 0;
constexpr std::int32_t kHeaderWord12 = 0x00000FFF;
constexpr std::size_t kStreamSignatureOffset = kSaveHeaderSize + kSignatureOffset;  // 128

}  // namespace

std::string notASaveFileMessage(std::string_view fileName) {
  std::string message(fileName);
  message += '\n';
  message += kNotASaveFileText;
  return message;
}

bool hasSaveSignature(std::span<const std::uint8_t> file) {
  return file.size() >= kMinimumSaveFileSize &&
         std::equal(std::begin(kSaveMagic), std::end(kSaveMagic), file.begin()) &&
         readInt32(file.data() + kStreamSignatureOffset) == kCodecSignature;
}

Bytes encodeSaveFile(std::span<const std::uint8_t> body) {
  Bytes file(kSaveHeaderSize, 0);
  std::copy(std::begin(kSaveMagic), std::end(kSaveMagic), file.begin());
  writeInt32(file.data() + 4, kHeaderWord4);
  writeInt32(file.data() + 8, kHeaderWord8);
  writeInt32(file.data() + 12, kHeaderWord12);
  // The name copy is the body's 32-byte field as it stands; a body too short
  // to hold it all leaves the rest zero.
  if (body.size() > kBodyWorldNameOffset) {
    const std::size_t count = std::min(kWorldNameSize, body.size() - kBodyWorldNameOffset);
    std::copy_n(body.begin() + static_cast<std::ptrdiff_t>(kBodyWorldNameOffset), count,
                file.begin() + static_cast<std::ptrdiff_t>(kSaveWorldNameOffset));
  }
  const Bytes stream = encodeStream(body);
  file.insert(file.end(), stream.begin(), stream.end());
  return file;
}

Result<Bytes> decodeSaveFile(std::span<const std::uint8_t> file, std::string_view fileName) {
  // Only the magic and the stream's signature tell a save file; the other
  // header words and the name copy are not looked at.
  if (file.size() < kMinimumSaveFileSize) {
    return Error{notASaveFileMessage(fileName), "the file is " + std::to_string(file.size()) +
                                                    " bytes; a save file has at least " +
                                                    std::to_string(kMinimumSaveFileSize)};
  }
  if (!std::equal(std::begin(kSaveMagic), std::end(kSaveMagic), file.begin())) {
    return Error{notASaveFileMessage(fileName), "the file does not begin with \"RV7-\""};
  }
  if (readInt32(file.data() + kStreamSignatureOffset) != kCodecSignature) {
    return Error{notASaveFileMessage(fileName),
                 "no stream signature at offset " + std::to_string(kStreamSignatureOffset)};
  }
  return decodeStreamUpTo(file.subspan(kSaveHeaderSize), kMaxSaveBodySize);
}

Status checkSaveBodySize(std::span<const std::uint8_t> body) {
  if (body.size() > kMaxSaveBodySize) {
    return Error{"save body too large: " + std::to_string(body.size()) + " bytes"};
  }
  return {};
}

Status writeSaveFile(const std::filesystem::path& path, std::span<const std::uint8_t> body) {
  if (auto size = checkSaveBodySize(body); !size) return size;
  return platform::writeFileAtomic(path, encodeSaveFile(body));
}

Result<std::optional<Bytes>> readSaveFile(const std::filesystem::path& path) {
  const std::string fileName = platform::pathForMessage(path);
  const platform::FileRead file = platform::readRegularFile(path, kMaxSaveFileSize);
  switch (file.failure) {
    case platform::ReadFailure::None:
      break;
    case platform::ReadFailure::NotFound:
      return std::optional<Bytes>{};
    case platform::ReadFailure::TooLarge:  // no world needs such a file
      return Error{notASaveFileMessage(fileName), file.message};
    default:
      return Error{file.message};
  }
  auto body = decodeSaveFile(file.bytes, fileName);
  if (!body) return body.error();
  return std::optional<Bytes>{std::move(*body)};
}

}  // namespace ws::codec
