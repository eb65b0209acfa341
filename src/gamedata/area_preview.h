#pragma once

#include <string_view>

#include "canvas/canvas.h"
#include "gamedata/area_map_file.h"
#include "gamedata/object_item.h"
#include "platform/result.h"

namespace ws::gamedata {

inline constexpr int kPreviewWidth = 128;
inline constexpr int kPreviewHeight = 64;

// Map colours of the preview besides canvas::kWhite and canvas::kBlack.
inline constexpr canvas::Colour kMapBlue = 0x00FF0000;

// Marker colours.
inline constexpr canvas::Colour kMarkerCyan = 0x00D0D000;    // houses, dungeons, tower
inline constexpr canvas::Colour kMarkerYellow = 0x0000D0D0;  // church, link gate

// How the preview marks each kind of object: the outline, the fill of a
// chosen and of an unchosen object (the special objects are never chosen by
// a check mark and always filled), and the colour that paints the marker
// over again (the tower's black, every other white).
struct MarkerColours {
  canvas::Colour pen;
  canvas::Colour chosen;
  canvas::Colour unchosen;
  canvas::Colour cleared;
};

constexpr MarkerColours markerColoursOf(ObjectItemKind kind) {
  switch (kind) {
    case ObjectItemKind::Dungeon:
    case ObjectItemKind::House:
      return {kMarkerCyan, kMarkerCyan, canvas::kWhite, canvas::kWhite};
    case ObjectItemKind::Church:
    case ObjectItemKind::LinkGate:
      return {kMarkerYellow, kMarkerYellow, kMarkerYellow, canvas::kWhite};
    case ObjectItemKind::Tower:
      break;
  }
  return {kMarkerCyan, kMarkerCyan, kMarkerCyan, canvas::kBlack};
}

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

// The marker of one object: a diamond centred 5 rows below the object's
// halved position. Sets the canvas's pen and brush colours.
void DrawObjectMarker(canvas::Canvas& canvas, const AreaObjectRef& object, canvas::Colour penColour,
                      canvas::Colour brushColour);

}  // namespace ws::gamedata
