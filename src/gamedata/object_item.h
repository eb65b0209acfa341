#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gamedata/area_map_file.h"

namespace ws::gamedata {

// The text of an object check-list item, CP932 bytes, made from the object
// for the list to show (nothing reads it back):
//   dungeons and houses  "洞窟(" / "民家(" xxxx "," yyyy ")" nn
//   special objects      "chur(" / "towe(" / "link(" xxxx "," yyyy
// Upper-case hexadecimal padded to 4 (x, y) and 2 (object number) digits; a
// negative value is written as the 8 digits of its 32-bit two's complement.
enum class ObjectItemKind { Dungeon, House, Church, Tower, LinkGate };

std::string formatObjectItem(ObjectItemKind kind, const AreaObjectRef& object);

// Upper-case hexadecimal of `value` with at least `digits` digits.
std::string formatHex(std::int32_t value, int digits);

}  // namespace ws::gamedata
