#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "gamedata/area_map_file.h"

namespace ws::gamedata {

// The text of an object check-list item, CP932 bytes:
//   dungeons and houses  "洞窟(" / "民家(" xxxx "," yyyy ")" nn
//   special objects      "chur(" / "towe(" / "link(" xxxx "," yyyy
// Upper-case hexadecimal padded to 4 (x, y) and 2 (object number) digits; a
// negative value is written as the 8 digits of its 32-bit two's complement.
enum class ObjectItemKind { Dungeon, House, Church, Tower, LinkGate };

std::string formatObjectItem(ObjectItemKind kind, const AreaObjectRef& object);

// Upper-case hexadecimal of `value` with at least `digits` digits.
std::string formatHex(std::int32_t value, int digits);

// The hexadecimal number in bytes first..last (1-based, inclusive) of an item
// text; nothing when the bytes are missing or not hexadecimal digits.
std::optional<std::int32_t> readItemHex(std::string_view item, std::size_t first, std::size_t last);

// The readers of the fixed positions: x in bytes 6 to 9, y in 11 to 14, the
// object number in 16 to 17.
std::optional<std::int32_t> itemX(std::string_view item);
std::optional<std::int32_t> itemY(std::string_view item);
std::optional<std::int32_t> itemObjectNumber(std::string_view item);

}  // namespace ws::gamedata
