#include "editor/placement_cursor.h"

namespace ws::editor {

void PlacementCursor::storeCorners() {
  corners = {canvas::Point{x, y}, canvas::Point{x + width, y}, canvas::Point{x + width, y + height},
             canvas::Point{x, y + height}};
}

}  // namespace ws::editor
