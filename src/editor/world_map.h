#pragma once

#include "canvas/canvas.h"
#include "editor/placement_cursor.h"
#include "world/area_slot.h"

namespace ws::editor {

// The cursor outline is drawn by inverting: a white XOR pen two pixels wide
// over a black brush, so drawing the same outline again removes it.
inline constexpr canvas::Colour kCursorPenColour = canvas::kWhite;
inline constexpr int kCursorPenWidth = 2;

// The world map at start: 512 x 256 black, the inverting pen, a black brush,
// and previews stamped by source-invert (each pixel becomes map XOR preview,
// so a black preview pixel leaves the map as it is).
void setUpWorldMap(canvas::Canvas& map);

// The preview at start: 128 x 64 black, the standard pen, a black brush.
void setUpPreview(canvas::Canvas& preview);

// Inverts the outline through the cursor's stored corners.
void drawCursorOutline(canvas::Canvas& map, const PlacementCursor& cursor);

// Fills [x, x + width) x [y, y + height) with black.
void clearWorldRect(canvas::Canvas& map, int x, int y, int width, int height);

// XORs the whole preview into the map with its top-left corner at (x, y).
void stampPreview(canvas::Canvas& map, const canvas::Canvas& preview, int x, int y);

// Fills the whole preview black before an area is drawn into it.
void clearPreview(canvas::Canvas& preview);

}  // namespace ws::editor
