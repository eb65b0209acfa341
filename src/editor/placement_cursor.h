#pragma once

#include <array>
#include <cstdint>

#include "canvas/canvas.h"

namespace ws::editor {

// Where the area last chosen would go, and whether the world map reacts to
// the mouse at all. `corners` always hold the outline currently drawn, so
// whoever moves or resizes the cursor erases with the old corners first.
struct PlacementCursor {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 128;
  std::int32_t height = 64;
  bool armed = false;
  std::array<canvas::Point, 4> corners{};

  // (x, y), (x + width, y), (x + width, y + height), (x, y + height).
  void storeCorners();
};

}  // namespace ws::editor
