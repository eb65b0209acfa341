#include "world/townsfolk_record.h"

#include <array>
#include <string>
#include <string_view>

#include "platform/little_endian.h"
#include "world/record_template.h"
#include "world/record_texts.h"

namespace ws::world {
namespace {

using platform::storeU16;
using platform::storeU32;
using platform::storeU8;

// Fields that the arguments set.
constexpr std::size_t kSerialOffset = 4;  // low 16 bits
constexpr std::size_t kAreaOffset = 8;
constexpr std::size_t kXOffset = 10;
constexpr std::size_t kYOffset = 12;
constexpr std::size_t kSerialByteOffset = 20;
constexpr std::size_t kTitleLengthOffset = 24;
constexpr std::size_t kTitleOffset = 25;
constexpr std::size_t kTitleFieldSize = 32;
constexpr std::size_t kLongTitleLengthOffset = 57;
constexpr std::size_t kLongTitleOffset = 58;
constexpr std::size_t kLongTitleFieldSize = 35;
constexpr std::size_t kDValueOffset = 102;     // d, roles 5 and 8 only
constexpr std::size_t kRoleValueOffset = 106;  // 266 for the shops, 301 for the others
constexpr std::uint16_t kShopRoleValue = 266;
constexpr std::uint16_t kOtherRoleValue = 301;
constexpr std::size_t kSlotValuesOffset = 138;  // four 16-bit values
constexpr std::size_t kSlotValueCount = 4;
constexpr std::uint16_t kCommonSlotValue = 5000;
constexpr std::uint16_t kChosenSlotValue = 20000;
constexpr std::array<std::size_t, 2> kPositionCopyOffsets{728, 734};  // area, x, y each
constexpr std::size_t kRoleOffset = 1040;

// Role-5 entries, then the fill byte up to the entry count.
constexpr std::size_t kEntriesOffset = 1072;
constexpr std::size_t kEntrySize = 24;
constexpr std::uint32_t kClericEntryCount = 16;
constexpr std::uint32_t kClericEntryTag = 0x00E36200;
constexpr std::uint32_t kClericEntryFirstNumber = 149;
constexpr std::size_t kClericEntryNumberOffset = 4;
constexpr std::size_t kClericEntryLastOffset = 20;
constexpr std::uint8_t kFillByte = 100;
constexpr std::size_t kEntryCountOffset = 3376;
constexpr std::size_t kHighRoleFlagOffset = 3380;
constexpr std::int32_t kHighRoleThreshold = 0x1000000;

// The fixed template: every byte not named here or above stays 0.

constexpr std::array<FixedField<std::uint8_t>, 4> kFixed8{{{93, 2}, {94, 2}, {119, 32}, {727, 4}}};

constexpr std::array<FixedField<std::uint16_t>, 16> kFixed16{{
    {0, static_cast<std::uint16_t>(kTownsfolkRecordSize)},
    {2, 264},
    {6, 256},
    {21, 4095},  // odd offset: bytes FF 0F
    {104, 10004},
    {110, 65535},
    {114, 65535},
    {116, 8193},
    {120, 100},
    {122, 100},
    {124, 100},
    {126, 100},
    {128, 1},
    {130, 1},
    {132, 1},
    {134, 1},
}};

constexpr std::array<FixedField<std::uint32_t>, 17> kFixed32{{
    {148, 6},
    {152, 2},
    {156, 100},
    {184, 100},
    {212, 0x600},
    {216, 0x00FF00FF},  // two 16-bit 255s
    {288, 0x00FF00FF},
    {300, 0x00FF00FF},
    {352, 0x00FF00FF},
    {448, 0x00FF00FF},
    {460, 0x00FF00FF},
    {588, 0x00FF00FF},
    {1032, 1},
    {1044, 0x00FF00FF},
    {1060, 255},
    {1068, 120},
    {3384, 66},
}};

// 26 consecutive 32-bit values from 602.
constexpr std::size_t kValueTableOffset = 602;
constexpr std::array<std::uint32_t, 26> kTownsfolkValueTable{
    0x0C08FFFF, 0x02C00001, 0x1808FFFF, 0x01C00006, 0x1208FFFF,  // 602 .. 618
    0x01C00006, 0x0C08FFFF, 0x01C00006, 0x0C08FFFF, 0x01C00006,  // 622 .. 638
    0x0C08FFFF, 0x01C00006, 0x0C08FFFF, 0x01C00006, 0x0C08FFFF,  // 642 .. 658
    0x01C00006, 0x0C08FFFF, 0x01C00006, 0x0C08FFFF, 0x01C00006,  // 662 .. 678
    0x0C08FFFF, 0x01C00006, 0x0C08FFFF, 0x01C00006, 0x0C08FFFF,  // 682 .. 698
    0x01C00006,                                                  // 702
};

constexpr RecordTemplate kTemplate{kFixed8, kFixed16, kFixed32, kValueTableOffset,
                                   kTownsfolkValueTable};

constexpr std::array<std::string_view, 16> kRoleTitles{
    kTextPriest,        kTextWeaponShop, kTextTavern, kTextInformationBroker,
    kTextSynthesisShop, kTextCleric,     kTextFairy,  kTextBlacksmith,
    kTextPriest,        kTextPriest,     kTextPriest, kTextPriest,
    kTextPriest,        kTextPriest,     kTextPriest, kTextPriest,
};

}  // namespace

namespace {

// The serial, the area and the position, stored once and again in each copy.
void storePosition(std::span<std::uint8_t> record, std::int32_t serial, std::uint16_t area,
                   std::uint16_t x, std::uint16_t y) {
  storeU16(record, kSerialOffset, static_cast<std::uint32_t>(serial));
  storeU16(record, kAreaOffset, area);
  storeU16(record, kXOffset, x);
  storeU16(record, kYOffset, y);
  storeU8(record, kSerialByteOffset, static_cast<std::uint32_t>(serial));
  for (const std::size_t copy : kPositionCopyOffsets) {
    storeU16(record, copy, area);
    storeU16(record, copy + 2, x);
    storeU16(record, copy + 4, y);
  }
}

// The title, and the title with "の" for the longer form.
void storeTitles(std::span<std::uint8_t> record, std::int32_t kind) {
  const std::string_view title = kRoleTitles[static_cast<std::size_t>(kind)];
  const std::string longTitle = std::string(title) + std::string(kTextPossessive);
  storeU8(record, kTitleLengthOffset, static_cast<std::uint32_t>(title.size()));
  storeRecordText(record, kTitleOffset, kTitleFieldSize, title);
  storeU8(record, kLongTitleLengthOffset, static_cast<std::uint32_t>(longTitle.size()));
  storeRecordText(record, kLongTitleOffset, kLongTitleFieldSize, longTitle);
}

// Priests and clerics hold 20000 in the one of the four values that bits 8
// to 11 of the role pick (b is its byte offset); the others stay 0. A b past
// the four values would land on the fields after them, so then none of the
// four gets it. Everyone else holds the common value in all four. Returns
// the d value stored for a priest or cleric (0 for the others).
std::uint16_t storeSlotValues(std::span<std::uint8_t> record, std::int32_t role,
                              bool hasChosenSlot) {
  if (!hasChosenSlot) {
    for (std::size_t i = 0; i < kSlotValueCount; ++i) {
      storeU16(record, kSlotValuesOffset + 2 * i, kCommonSlotValue);
    }
    return 0;
  }
  const std::int32_t b = ((role / 256) & 15) * 2;
  const auto d = static_cast<std::uint16_t>(b < 4 ? b + 4 : b - 4);
  storeU16(record, kDValueOffset, d);
  const auto slotOffset = static_cast<std::size_t>(b);
  if (slotOffset < 2 * kSlotValueCount) {
    storeU16(record, kSlotValuesOffset + slotOffset, kChosenSlotValue);
  }
  return d;
}

// A cleric's entries, then the fill byte up to the entry count.
void storeEntries(std::span<std::uint8_t> record, bool isCleric, std::uint16_t d) {
  std::size_t fillFrom = kEntriesOffset;
  if (isCleric) {
    for (std::uint32_t i = 0; i < kClericEntryCount; ++i) {
      const auto entry = record.subspan(kEntriesOffset + kEntrySize * i, kEntrySize);
      storeU32(entry, 0, kClericEntryTag);
      storeU32(entry, kClericEntryNumberOffset, kClericEntryFirstNumber + i);
      storeU32(entry, kClericEntryLastOffset, d / 2u + 9u);
    }
    fillFrom += kEntrySize * kClericEntryCount;
    storeU32(record, kEntryCountOffset, kClericEntryCount);
  }
  for (std::size_t i = fillFrom; i < kEntryCountOffset; ++i)
    record[i] = kFillByte;
}

}  // namespace

std::int32_t WriteTownsfolkRecord(std::span<std::uint8_t> destination, std::int32_t serial,
                                  std::uint32_t areaValue, std::uint16_t x, std::uint16_t y,
                                  std::int32_t role) {
  if (destination.size() < static_cast<std::size_t>(kTownsfolkRecordSize)) {
    return kTownsfolkRecordSize;
  }
  const auto record = destination.first(static_cast<std::size_t>(kTownsfolkRecordSize));
  const auto kind = static_cast<std::int32_t>(static_cast<std::uint32_t>(role) & 15u);
  const bool isCleric = kind == kRoleCleric;
  const bool isShop = kind >= kRoleWeaponShop && kind <= kRoleSynthesisShop;

  storeRecordTemplate(record, kTemplate);
  storePosition(record, serial, static_cast<std::uint16_t>(areaValue), x, y);
  storeU32(record, kRoleOffset, static_cast<std::uint32_t>(role));
  storeTitles(record, kind);
  storeU16(record, kRoleValueOffset, isShop ? kShopRoleValue : kOtherRoleValue);
  const std::uint16_t d = storeSlotValues(record, role, isCleric || kind == kRoleFixedPriest);
  storeEntries(record, isCleric, d);
  storeU32(record, kHighRoleFlagOffset, isCleric && role > kHighRoleThreshold ? 1u : 0u);
  return kTownsfolkRecordSize;
}

}  // namespace ws::world
