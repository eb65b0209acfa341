#pragma once

#include <cstdint>
#include <span>

namespace ws::world {

// TownsfolkRecord: one shop keeper, priest, cleric or other townsperson. The
// role's low four bits choose the title; bits 8 to 11 pick which of the four
// values at 138 holds 20000 for priests (role 8) and clerics (role 5), and
// clerics also carry sixteen role-5 entries.
inline constexpr std::int32_t kTownsfolkRecordSize = 3388;

// Role codes (low four bits) that the save body uses.
inline constexpr std::int32_t kRolePriest = 0;
inline constexpr std::int32_t kRoleWeaponShop = 1;
inline constexpr std::int32_t kRoleTavern = 2;
inline constexpr std::int32_t kRoleInformationBroker = 3;
inline constexpr std::int32_t kRoleSynthesisShop = 4;
inline constexpr std::int32_t kRoleCleric = 5;
inline constexpr std::int32_t kRoleFairy = 6;
inline constexpr std::int32_t kRoleBlacksmith = 7;
inline constexpr std::int32_t kRoleFixedPriest = 8;

// Fills the record at the start of `destination` (zero-filled by the caller)
// and returns kTownsfolkRecordSize. Only the low 16 bits of the serial and of
// the area value are stored. Writes nothing when `destination` is shorter
// than the record.
std::int32_t WriteTownsfolkRecord(std::span<std::uint8_t> destination, std::int32_t serial,
                                  std::uint32_t areaValue, std::uint16_t x, std::uint16_t y,
                                  std::int32_t role);

}  // namespace ws::world
