#pragma once

#include <string>
#include <string_view>

namespace ws::editor {

// An item of the placed-areas list: the catalogue name, "=", and the area
// number in decimal, e.g. "港町=14".
std::string placedAreaItem(std::string_view cp932Name, int areaNumber);

}  // namespace ws::editor
