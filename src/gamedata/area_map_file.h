#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace ws::gamedata {

// The message for an area map file that is not valid (see isValid).
inline constexpr std::string_view kNotMsgFile = "not msg file";

// Object keys of the area map file's object table.
inline constexpr std::uint16_t KeyHouse = 0x0109;
inline constexpr std::uint16_t KeyChurch = 0x0209;
inline constexpr std::uint16_t KeyDungeon = 0x0309;
inline constexpr std::uint16_t KeyTower = 0x0409;
inline constexpr std::uint16_t KeyTownsfolkSpot = 0x0505;
inline constexpr std::uint16_t KeyLinkGate = 0x0509;

inline constexpr std::size_t kAreaMapHeaderSize = 72;
inline constexpr std::size_t kMapCellSize = 30;
inline constexpr std::size_t kObjectRecordSize = 52;

// Header fields: two 32-bit words that mark the file (72 and 0), then bytes.
inline constexpr std::size_t kHeaderSizeWordOffset = 0;
inline constexpr std::size_t kZeroWordOffset = 8;
inline constexpr std::size_t kGridWidthOffset = 22;
inline constexpr std::size_t kGridHeightOffset = 23;
inline constexpr std::size_t kRecordCountOffset = 40;
inline constexpr std::size_t kSpotCapacityOffset = 52;
inline constexpr std::size_t kPlaceCountOffset = 60;

// The longest file the header can describe: 255 x 255 cells and 255
// records. Nothing past that is ever read, and no larger file is read.
inline constexpr std::size_t kMaxAreaMapFileSize =
    kAreaMapHeaderSize + kMapCellSize * 255 * 255 + kObjectRecordSize * 255;

// Within a 30-byte cell and within a 52-byte object record.
inline constexpr std::size_t kCellAttributeOffset = 28;
inline constexpr std::size_t kRecordKeyOffset = 6;  // 16 bits
inline constexpr std::size_t kRecordXOffset = 8;    // signed 16 bits, cells
inline constexpr std::size_t kRecordYOffset = 10;   // signed 16 bits, rows

// One result of the object query.
struct AreaObjectRef {
  std::int32_t index = 0;  // object number: record i gives i + P - N
  std::int32_t x = 0;      // half cells: 2 x + (y rem 2), the remainder taking y's sign
  std::int32_t y = 0;      // rows
  friend bool operator==(const AreaObjectRef&, const AreaObjectRef&) = default;
};

// An area map file held whole in memory. Accessors read only inside the
// buffer; a header field the file does not hold reads as 0.
struct AreaMapFile {
  std::vector<std::uint8_t> bytes;

  int gridWidth() const;                  // W, byte 22
  int gridHeight() const;                 // H, byte 23
  int recordCount() const;                // N, byte 40
  int spotCapacity() const;               // byte 52
  int placeCount() const;                 // P, byte 60
  std::size_t objectTableOffset() const;  // 72 + 30 W H

  // The file holds everything its header promises: at least
  // 72 + 30 W H + 52 N bytes.
  bool isComplete() const;
  // Header words 72 and 0 at offsets 0 and 8, and complete.
  bool isValid() const;
  // Why the file is not valid, for logs and the command line (which word,
  // how many bytes); empty for a valid file.
  std::string invalidReason() const;

  // The attribute byte of the cell in `row`, `column`; the file must be complete.
  std::uint8_t attribute(int row, int column) const;
};

// The file at `path` whole, or "cannot read PATH: REASON" when it cannot be
// read, is no regular file or is larger than kMaxAreaMapFileSize. Its content
// is not checked: see isValid and invalidReason.
Result<AreaMapFile> LoadAreaMapFile(const std::filesystem::path& path);

// "not msg file", with the invalid reason as its detail.
Error notMsgFileError(const AreaMapFile& file);

// The records carrying `key`, in table order, at most `room` of them. An
// incomplete file gives no results; the header words are not checked.
std::vector<AreaObjectRef> QueryAreaObjects(const AreaMapFile& file, std::uint16_t key,
                                            std::size_t room);

}  // namespace ws::gamedata
