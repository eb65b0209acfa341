#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bytes.h"
#include "platform/result.h"

namespace ws::codec {

using platform::Bytes;

// A save file is a 120-byte header and one codec stream holding the body:
//   0  "RV7-"   4  0x01020005   8  0   12  0x00000FFF   16  0
//   20 the 32 bytes of the body's world-name field (body offsets 16..47)
//   52..119 zero   120 the stream (its signature lands at 128)
inline constexpr std::size_t kSaveHeaderSize = 120;
inline constexpr std::size_t kSaveWorldNameOffset = 20;
inline constexpr std::size_t kBodyWorldNameOffset = 16;
inline constexpr std::size_t kWorldNameSize = 32;
inline constexpr std::size_t kMinimumSaveFileSize = 132;  // up to the signature

// "はセーブファイルではありません" (is not a save file), CP932.
inline constexpr std::string_view kNotASaveFileText =
    "\x82\xcd\x83\x5a\x81\x5b\x83\x75\x83\x74\x83\x40\x83\x43\x83\x8b"
    "\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";

// The largest save body read or written. The world writer's largest body,
// worked out from its layout, stays far below (it checks so at compile
// time); a stream that claims more is damaged, and is refused before the
// body is allocated.
inline constexpr std::size_t kMaxSaveBodySize = std::size_t{32} << 20;
// The largest save file read: the header and the stream of the largest body
// (a Huffman code spends at most 8 bits a byte on average), with as much
// again to spare for anything that follows the stream.
inline constexpr std::size_t kMaxSaveFileSize = 2 * kMaxSaveBodySize;

// The message for a file that is not a save file: the file name as given, a
// line break, and kNotASaveFileText.
std::string notASaveFileMessage(std::string_view fileName);

// Whether `file` begins as a save file: the magic "RV7-" and the stream's
// signature at offset 128, the only two things that tell a save file.
bool hasSaveSignature(std::span<const std::uint8_t> file);

// The complete file for `body`: the header and the compressed body.
Bytes encodeSaveFile(std::span<const std::uint8_t> body);

// The body of a save file held in memory. `fileName` (CP932, as the user gave
// it) goes into the not-a-save-file message; a damaged stream gives
// "error in decord".
Result<Bytes> decodeSaveFile(std::span<const std::uint8_t> file, std::string_view fileName);

// Refuses a body larger than kMaxSaveBodySize, which no save file may hold.
Status checkSaveBodySize(std::span<const std::uint8_t> body);

// Writes the save file for `body` atomically: an existing file is replaced
// only by a complete new one, and stays untouched on failure. A body larger
// than kMaxSaveBodySize is refused, as reading would refuse it.
Status writeSaveFile(const std::filesystem::path& path, std::span<const std::uint8_t> body);

// The body of the save file at `path`. An empty optional when no file of that
// name exists (no message). An Error when it is not a save file (larger than
// kMaxSaveFileSize included), when it cannot be read (a folder, device, FIFO,
// link loop, or no permission: "cannot read PATH: REASON"), or when its
// stream is damaged or claims a body above kMaxSaveBodySize ("error in
// decord"); no partial body is handed on. Never waits on the file.
Result<std::optional<Bytes>> readSaveFile(const std::filesystem::path& path);

}  // namespace ws::codec
