#include "gamedata/area_preview.h"

#include <array>
#include <string>

namespace ws::gamedata {

namespace {

// Attribute bit 0 marks cells drawn black (roads, walls); the one value 130
// marks water, drawn blue. Everything else is white.
constexpr std::uint8_t kBlackAttributeBit = 0x01;
constexpr std::uint8_t kWaterAttribute = 130;

// The marker diamond sits 5 rows below the object's halved position.
constexpr int kMarkerDrop = 5;
constexpr int kMarkerHalfWidth = 3;
constexpr int kMarkerHalfHeight = 3;

canvas::Colour cellColour(std::uint8_t attribute) {
  canvas::Colour colour = canvas::kWhite;
  if ((attribute & kBlackAttributeBit) != 0) colour = canvas::kBlack;
  if (attribute == kWaterAttribute) colour = kMapBlue;
  return colour;
}

}  // namespace

Result<AreaSize> AreaSizeOf(const AreaMapFile& file) {
  if (!file.isValid()) return notMsgFileError(file);
  return AreaSize{file.gridWidth(), file.gridHeight() / 2};
}

Result<AreaSize> DrawAreaMap(const AreaMapFile& file, canvas::Canvas& preview, int x0, int y0) {
  Result<AreaSize> size = AreaSizeOf(file);
  if (!size) return size;
  const int width = size->width;
  const int height = size->height;
  // One preview pixel is one cell across and two rows down: only the even
  // rows are drawn. XOR over a black preview leaves exactly the cell colour.
  for (int row = 0; row < 2 * height; row += 2) {
    const int y = y0 + row / 2;
    if (y < 0 || y >= preview.height()) continue;
    for (int column = 0; column < width; ++column) {
      const int x = x0 + column;
      if (x < 0 || x >= preview.width()) continue;
      preview.setPixel(x, y, preview.pixel(x, y) ^ cellColour(file.attribute(row, column)));
    }
  }
  return size;
}

void DrawDiamond(canvas::Canvas& canvas, int cx, int cy, int halfWidth, int halfHeight) {
  const std::array<canvas::Point, 4> points{
      {{cx, cy - halfHeight}, {cx - halfWidth, cy}, {cx, cy + halfHeight}, {cx + halfWidth, cy}}};
  canvas.polygon(points);
}

void DrawObjectMarker(canvas::Canvas& canvas, const AreaObjectRef& object, canvas::Colour penColour,
                      canvas::Colour brushColour) {
  canvas.pen.colour = penColour;
  canvas.brush = brushColour;
  // Halving truncates toward zero. The position is kept at full width: a
  // marker beyond the preview is clipped there, never wrapped back into it.
  DrawDiamond(canvas, object.x / 2, object.y / 2 + kMarkerDrop, kMarkerHalfWidth,
              kMarkerHalfHeight);
}

}  // namespace ws::gamedata
