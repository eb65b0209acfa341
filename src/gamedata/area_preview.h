#pragma once

#include <string_view>

#include "canvas/canvas.h"
#include "gamedata/area_map_file.h"
#include "platform/result.h"

namespace ws::gamedata {

inline constexpr int kPreviewWidth = 128;
inline constexpr int kPreviewHeight = 64;

// Map colours of the preview.
inline constexpr canvas::Colour kMapWhite = 0x00FFFFFF;
inline constexpr canvas::Colour kMapBlack = 0x00000000;
inline constexpr canvas::Colour kMapBlue = 0x00FF0000;

// Marker colours.
inline constexpr canvas::Colour kMarkerCyan = 0x00D0D000;    // houses, dungeons, tower
inline constexpr canvas::Colour kMarkerYellow = 0x0000D0D0;  // church, link gate

struct AreaSize {
  int width = 0;   // W
  int height = 0;  // gridHeight / 2
  friend bool operator==(const AreaSize&, const AreaSize&) = default;
};

// The area's size on the world map: its grid width across and half its rows
// down, the size the drawing reports, without drawing. An invalid file gives
// the Error "not msg file", as the drawing does.
Result<AreaSize> AreaSizeOf(const AreaMapFile& file);

// Draws the even rows of the area into `preview` with the top-left cell at
// (x0, y0), each cell XOR-ed in as white, black or blue by its attribute, and
// returns the area's size on the world map. An invalid file draws nothing and
// gives the Error "not msg file".
Result<AreaSize> DrawAreaMap(const AreaMapFile& file, canvas::Canvas& preview, int x0 = 0,
                             int y0 = 0);

// A filled four-point polygon through (cx, cy - hh), (cx - hw, cy),
// (cx, cy + hh), (cx + hw, cy), with the canvas's pen and brush.
void DrawDiamond(canvas::Canvas& canvas, int cx, int cy, int halfWidth, int halfHeight);

// The marker of one object item: a diamond centred 5 rows below the item's
// halved position. An empty or unreadable item draws nothing. Sets the
// canvas's pen and brush colours.
void DrawObjectMarker(canvas::Canvas& canvas, std::string_view item, canvas::Colour penColour,
                      canvas::Colour brushColour);

}  // namespace ws::gamedata
