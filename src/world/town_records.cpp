#include "world/town_records.h"

#include <array>

#include "platform/little_endian.h"
#include "world/save_body_layout.h"

namespace ws::world {

namespace {

constexpr std::size_t kBuildingValueOffset = 2;  // 16 bits
constexpr std::size_t kBuildingShopOffset = 4;   // 8 bits
constexpr std::size_t kChurchPlacesOffset = 2;   // 16 bits
constexpr std::size_t kTownAreaOffset = 0;
constexpr std::size_t kTownCentreXOffset = 2;
constexpr std::size_t kTownCentreYOffset = 4;

struct BuildingValues {
  std::uint16_t value;
  std::uint8_t shop;
};

// The first three houses hold the shops whose keepers the body places at them.
constexpr std::array<BuildingValues, 3> kShopHouses{{{110, 5}, {163, 4}, {73, 3}}};
constexpr BuildingValues kPlainHouse{0, 18};

}  // namespace

std::int32_t WriteBuildingRecord(std::span<std::uint8_t> destination, int position,
                                 std::uint8_t objectId) {
  if (destination.size() < kBuildingRecordSize)
    return static_cast<std::int32_t>(kBuildingRecordSize);
  const BuildingValues values = position >= 0 && position < static_cast<int>(kShopHouses.size())
                                    ? kShopHouses[static_cast<std::size_t>(position)]
                                    : kPlainHouse;
  platform::storeU16(destination, 0, kBuildingTag);
  platform::storeU16(destination, kBuildingValueOffset, values.value);
  platform::storeU8(destination, kBuildingShopOffset, values.shop);
  platform::storeU8(destination, kBuildingObjectIdOffset, objectId);
  return static_cast<std::int32_t>(kBuildingRecordSize);
}

std::int32_t WriteChurchRecord(std::span<std::uint8_t> destination, int spotCount,
                               std::uint8_t churchId) {
  if (destination.size() < kChurchRecordSize) return static_cast<std::int32_t>(kChurchRecordSize);
  platform::storeU16(destination, 0, kChurchTag);
  platform::storeU16(destination, kChurchPlacesOffset,
                     static_cast<std::uint32_t>((spotCount & 3) * 3));
  platform::storeU8(destination, kChurchObjectIdOffset, churchId);
  return static_cast<std::int32_t>(kChurchRecordSize);
}

std::int32_t WriteTownRecord(std::span<std::uint8_t> destination, std::uint32_t areaRef,
                             std::int32_t x, std::int32_t y, std::int32_t width,
                             std::int32_t height) {
  if (destination.size() < kTownRecordSize) return static_cast<std::int32_t>(kTownRecordSize);
  platform::storeU16(destination, kTownAreaOffset, areaRef);
  // Taken in 16 bits; unsigned arithmetic wraps where a loaded rectangle is
  // out of all proportion instead of overflowing.
  const auto centre = [](std::int32_t start, std::int32_t size) {
    return (static_cast<std::uint32_t>(start) + static_cast<std::uint32_t>(size / 2)) * 2u;
  };
  platform::storeU16(destination, kTownCentreXOffset, centre(x, width));
  platform::storeU16(destination, kTownCentreYOffset, centre(y, height));
  return static_cast<std::int32_t>(kTownRecordSize);
}

}  // namespace ws::world
