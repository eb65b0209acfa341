#include "world/area_header_record.h"

#include "platform/little_endian.h"

namespace ws::world {
namespace {

using platform::storeU16;
using platform::storeU32;

// Doubling is done in 64 bits so that no int32 edge overflows; the field
// keeps the low 32 bits, as the game's own 32-bit arithmetic would.
std::uint32_t doubled(std::int64_t value) {
  return static_cast<std::uint32_t>(value * 2);
}

}  // namespace

std::int32_t WriteAreaHeader(std::span<std::uint8_t> destination, std::uint16_t areaNumber,
                             std::uint16_t thirdValue, AreaKind kind, std::int32_t x,
                             std::int32_t y, std::int32_t width, std::int32_t height) {
  if (destination.size() < static_cast<std::size_t>(kAreaHeaderRecordSize)) {
    return kAreaHeaderRecordSize;
  }
  std::uint16_t kindCode = 0;
  std::uint32_t kindFlag = 0;
  switch (kind) {
    case AreaKind::LinkGate:
      kindCode = kKindCodeLinkGate;
      kindFlag = kKindFlagLinkGate;
      break;
    case AreaKind::Field:
      kindCode = kKindCodeField;
      kindFlag = kKindFlagField;
      break;
    case AreaKind::Town:
      kindCode = kKindCodeTown;
      kindFlag = kKindFlagTown;
      break;
  }
  storeU16(destination, kAreaHeaderTagOffset, kAreaHeaderTag);
  storeU16(destination, kAreaHeaderNumberOffset, areaNumber);
  storeU16(destination, kAreaHeaderKindCodeOffset, kindCode);
  storeU16(destination, kAreaHeaderThirdValueOffset, thirdValue);
  storeU32(destination, kAreaHeaderLeftOffset, doubled(x));
  storeU32(destination, kAreaHeaderTopOffset, doubled(y));
  storeU32(destination, kAreaHeaderRightOffset, doubled(std::int64_t{x} + width));
  storeU32(destination, kAreaHeaderBottomOffset, doubled(std::int64_t{y} + height));
  storeU32(destination, kAreaHeaderKindFlagOffset, kindFlag);
  return kAreaHeaderRecordSize;
}

}  // namespace ws::world
