#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ws::editor {

// An item of the placed-areas list: the catalogue name, "=", and the area
// number in decimal, e.g. "港町=14".
std::string placedAreaItem(std::string_view cp932Name, int areaNumber);

// The area number of a placed-areas item: the decimal number after its last
// "=" (a catalogue name may hold "=" itself, the number never does). Nothing
// when the item has no such number.
std::optional<int> placedAreaNumber(std::string_view item);

}  // namespace ws::editor
