#include "editor/placed_area_item.h"

#include <string>

namespace ws::editor {

std::string placedAreaItem(std::string_view cp932Name, int areaNumber) {
  std::string item(cp932Name);
  item += '=';
  item += std::to_string(areaNumber);
  return item;
}

}  // namespace ws::editor
