#include "editor/world_map.h"

#include "gamedata/area_preview.h"

namespace ws::editor {

void setUpWorldMap(canvas::Canvas& map) {
  map.reset(world::kWorldMapWidth, world::kWorldMapHeight, canvas::kBlack);
  map.pen = canvas::Pen{kCursorPenColour, kCursorPenWidth, canvas::PenMode::Xor};
  map.copyMode = canvas::CopyMode::SourceInvert;
  map.brush = canvas::kBlack;
  map.fillRect(0, 0, map.width(), map.height());
}

void setUpPreview(canvas::Canvas& preview) {
  preview.reset(gamedata::kPreviewWidth, gamedata::kPreviewHeight, canvas::kBlack);
  preview.pen = canvas::Pen{};
  preview.copyMode = canvas::CopyMode::Copy;
  preview.brush = canvas::kBlack;
}

void drawCursorOutline(canvas::Canvas& map, const PlacementCursor& cursor) {
  map.polygon(cursor.corners);
}

void clearWorldRect(canvas::Canvas& map, int x, int y, int width, int height) {
  const canvas::Colour brush = map.brush;
  map.brush = canvas::kBlack;
  map.fillRect(x, y, x + width, y + height);
  map.brush = brush;
}

void stampPreview(canvas::Canvas& map, const canvas::Canvas& preview, int x, int y) {
  map.draw(x, y, preview);
}

void clearPreview(canvas::Canvas& preview) {
  preview.brush = canvas::kBlack;
  preview.fillRect(0, 0, preview.width(), preview.height());
}

}  // namespace ws::editor
