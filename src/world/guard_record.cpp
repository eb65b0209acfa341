#include "world/guard_record.h"

#include <array>
#include <cstdio>
#include <string>

#include "platform/little_endian.h"
#include "world/record_template.h"
#include "world/record_texts.h"

namespace ws::world {
namespace {

using platform::storeU16;
using platform::storeU32;
using platform::storeU8;

// Fields that the arguments set.
constexpr std::size_t kSerialOffset = 4;  // the whole 32-bit serial
constexpr std::size_t kAreaOffset = 8;
constexpr std::size_t kXOffset = 10;
constexpr std::size_t kYOffset = 12;
constexpr std::size_t kSerialByteOffset = 20;
constexpr std::size_t kNameLengthOffset = 24;
constexpr std::size_t kNameOffset = 25;
constexpr std::size_t kNameFieldSize = 32;
constexpr std::size_t kTitleLengthOffset = 57;
constexpr std::size_t kTitleOffset = 58;
constexpr std::size_t kTitleFieldSize = 35;
constexpr std::size_t kPositionCopyOffset = 1040;  // area, x, y once more
constexpr std::size_t kGuardKindOffset = 1088;
constexpr std::uint32_t kTempleGuardValue = 0x4201;
constexpr std::uint32_t kTownGuardValue = 0x4200;

// The name length byte is always 5: the stem and one hexadecimal digit,
// which is what every guard of a saved world has (at most ten of them).
constexpr std::uint8_t kNameLength = 5;

// The fixed template: every byte not named here or above stays 0.

constexpr std::array<FixedField<std::uint8_t>, 2> kFixed8{{{93, 2}, {94, 1}}};

constexpr std::array<FixedField<std::uint16_t>, 22> kFixed16{{
    {0, static_cast<std::uint16_t>(kGuardRecordSize)},
    {2, 265},
    {14, 4},
    {21, 4095},  // odd offset: bytes FF 0F
    {104, 10004},
    {106, 280},
    {110, 65535},
    {114, 65535},
    {116, 8193},
    {118, 8192},
    {120, 999},
    {122, 999},
    {124, 999},
    {126, 999},
    {128, 99},
    {130, 99},
    {132, 99},
    {134, 99},
    {138, 5000},
    {140, 5000},
    {142, 5000},
    {144, 5000},
}};

constexpr std::array<FixedField<std::uint32_t>, 17> kFixed32{{
    {148, 10},
    {152, 4},
    {156, 100},
    {184, 100},
    {212, 0x01020600},  // bytes 00 06 02 01
    {216, 0x00FF00FF},  // two 16-bit 255s
    {288, 0x00FF00FF},
    {300, 0x00FF00FF},
    {352, 0x00FF00FF},
    {448, 0x00FF00FF},
    {460, 0x00FF00FF},
    {588, 0x00FF00FF},
    {1032, 1},
    {1048, 257},
    {1052, 0xFF00FF00},
    {1072, 49},
    {1076, 0xFF00FF00},
}};

// 26 consecutive 32-bit values from 602.
constexpr std::size_t kValueTableOffset = 602;
constexpr std::array<std::uint32_t, 26> kGuardValueTable{
    0x0C08FFFF, 0x02C00001, 0x0C08FFFF, 0x01C00006, 0x0608FFFF,  // 602 .. 618
    0x020C0001, 0x0C08FFFF, 0x020C0001, 0x0C08FFFF, 0x020C0001,  // 622 .. 638
    0x0C08FFFF, 0x020C0001, 0x0C08FFFF, 0x020C0001, 0x0C08FFFF,  // 642 .. 658
    0x020C0001, 0x0608FFFF, 0x020C0001, 0x0C08FFFF, 0x020C0001,  // 662 .. 678
    0x0C08FFFF, 0x020C0001, 0x0C08FFFF, 0x020C0001, 0x0C08FFFF,  // 682 .. 698
    0x020C0001,                                                  // 702
};

constexpr RecordTemplate kTemplate{kFixed8, kFixed16, kFixed32, kValueTableOffset,
                                   kGuardValueTable};

// "護衛" and serial + 1 in lower-case hexadecimal. The sum is taken in 32
// unsigned bits, so any serial gives at most eight digits and the name (at
// most 12 bytes) always fits its field with the NUL.
std::string guardName(std::int32_t serial) {
  std::array<char, 9> digits{};
  const auto number = static_cast<std::uint32_t>(serial) + 1u;
  std::snprintf(digits.data(), digits.size(), "%x", number);
  return std::string(kTextGuard) + digits.data();
}

}  // namespace

std::int32_t WriteGuardRecord(std::span<std::uint8_t> destination, std::int32_t serial,
                              std::uint32_t areaValue, std::uint16_t x, std::uint16_t y) {
  if (destination.size() < static_cast<std::size_t>(kGuardRecordSize)) return kGuardRecordSize;
  const auto record = destination.first(static_cast<std::size_t>(kGuardRecordSize));
  const bool temple = (areaValue & 7u) == kTempleAreaBits;
  const auto area = static_cast<std::uint16_t>(areaValue);

  storeRecordTemplate(record, kTemplate);

  storeU32(record, kSerialOffset, static_cast<std::uint32_t>(serial));
  storeU16(record, kAreaOffset, area);
  storeU16(record, kXOffset, x);
  storeU16(record, kYOffset, y);
  storeU8(record, kSerialByteOffset, static_cast<std::uint32_t>(serial));

  storeU8(record, kNameLengthOffset, kNameLength);
  storeRecordText(record, kNameOffset, kNameFieldSize, guardName(serial));
  const std::string_view title = temple ? kTextTempleGuard : kTextTownGuard;
  storeU8(record, kTitleLengthOffset, static_cast<std::uint32_t>(title.size()));
  storeRecordText(record, kTitleOffset, kTitleFieldSize, title);

  storeU16(record, kPositionCopyOffset, area);
  storeU16(record, kPositionCopyOffset + 2, x);
  storeU16(record, kPositionCopyOffset + 4, y);
  storeU32(record, kGuardKindOffset, temple ? kTempleGuardValue : kTownGuardValue);
  return kGuardRecordSize;
}

}  // namespace ws::world
