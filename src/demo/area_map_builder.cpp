#include "demo/area_map_builder.h"

#include <span>

#include "gamedata/area_map_file.h"
#include "platform/little_endian.h"

namespace ws::demo {

using gamedata::kCellAttributeOffset;
using gamedata::kGridHeightOffset;
using gamedata::kGridWidthOffset;
using gamedata::kHeaderSizeWordOffset;
using gamedata::kPlaceCountOffset;
using gamedata::kRecordCountOffset;
using gamedata::kRecordKeyOffset;
using gamedata::kRecordXOffset;
using gamedata::kRecordYOffset;
using gamedata::kSpotCapacityOffset;
using gamedata::kZeroWordOffset;

namespace {

constexpr std::uint32_t kBrokenHeaderSize = 0x48454C4Fu;
constexpr std::uint32_t kBrokenZeroWord = 1;

std::uint8_t filler(std::size_t offset) {
  return static_cast<std::uint8_t>(0x11u + (offset * 13u) % 0xE0u);
}

std::uint32_t byteField(int value) {
  return static_cast<std::uint32_t>(value) & 0xFFu;
}

}  // namespace

std::vector<std::uint8_t> buildAreaMapFile(const AreaDescription& area) {
  const std::size_t width = byteField(area.gridWidth);
  const std::size_t height = byteField(area.gridHeight);
  const std::size_t cellCount = width * height;
  const std::size_t table = gamedata::kAreaMapHeaderSize + gamedata::kMapCellSize * cellCount;
  const std::size_t recordCount = std::min<std::size_t>(area.objects.size(), 0xFF);

  std::vector<std::uint8_t> file(table + gamedata::kObjectRecordSize * recordCount);
  for (std::size_t offset = 0; offset < file.size(); ++offset)
    file[offset] = filler(offset);
  const std::span<std::uint8_t> bytes(file);

  platform::storeU32(bytes, kHeaderSizeWordOffset, gamedata::kAreaMapHeaderSize);
  platform::storeU32(bytes, kZeroWordOffset, 0);
  platform::storeU8(bytes, kGridWidthOffset, static_cast<std::uint32_t>(width));
  platform::storeU8(bytes, kGridHeightOffset, static_cast<std::uint32_t>(height));
  platform::storeU8(bytes, kRecordCountOffset, static_cast<std::uint32_t>(recordCount));
  platform::storeU8(bytes, kSpotCapacityOffset, byteField(area.spotCapacity));
  platform::storeU8(bytes, kPlaceCountOffset, byteField(area.placeCount));

  for (std::size_t cell = 0; cell < cellCount; ++cell) {
    const std::uint8_t attribute = cell < area.attributes.size() ? area.attributes[cell] : 0;
    platform::storeU8(
        bytes, gamedata::kAreaMapHeaderSize + gamedata::kMapCellSize * cell + kCellAttributeOffset,
        attribute);
  }
  for (std::size_t i = 0; i < recordCount; ++i) {
    const ObjectRecord& object = area.objects[i];
    const std::size_t record = table + gamedata::kObjectRecordSize * i;
    platform::storeU16(bytes, record + kRecordKeyOffset, object.key);
    platform::storeU16(bytes, record + kRecordXOffset, static_cast<std::uint16_t>(object.x));
    platform::storeU16(bytes, record + kRecordYOffset, static_cast<std::uint16_t>(object.y));
  }
  return file;
}

std::vector<std::uint8_t> buildBrokenAreaMapFile(const AreaDescription& area,
                                                 AreaFileDefect defect) {
  auto file = buildAreaMapFile(area);
  const std::span<std::uint8_t> bytes(file);
  switch (defect) {
    case AreaFileDefect::BadMagic:
      platform::storeU32(bytes, kHeaderSizeWordOffset, kBrokenHeaderSize);
      break;
    case AreaFileDefect::NonZeroWordAt8:
      platform::storeU32(bytes, kZeroWordOffset, kBrokenZeroWord);
      break;
    case AreaFileDefect::Truncated: {
      const std::size_t cellCount = byteField(area.gridWidth) * byteField(area.gridHeight);
      file.resize(gamedata::kAreaMapHeaderSize + gamedata::kMapCellSize * (cellCount / 2));
      break;
    }
    case AreaFileDefect::HeaderPromisesMore:
      // The record count is one byte: a full table loses its last record
      // instead, which leaves the header promising one more all the same.
      if (file[kRecordCountOffset] < 0xFF) {
        platform::storeU8(bytes, kRecordCountOffset, file[kRecordCountOffset] + 1u);
      } else {
        file.resize(file.size() - gamedata::kObjectRecordSize);
      }
      break;
  }
  return file;
}

}  // namespace ws::demo
