#include "editor/placed_area_item.h"

#include <charconv>

namespace ws::editor {

std::string placedAreaItem(std::string_view cp932Name, int areaNumber) {
  std::string item(cp932Name);
  item += '=';
  item += std::to_string(areaNumber);
  return item;
}

std::optional<int> placedAreaNumber(std::string_view item) {
  const std::size_t separator = item.rfind('=');
  if (separator == std::string_view::npos) return std::nullopt;
  const std::string_view digits = item.substr(separator + 1);
  int number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
    return std::nullopt;
  }
  return number;
}

}  // namespace ws::editor
