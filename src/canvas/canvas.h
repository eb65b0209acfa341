#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ws::canvas {

// A colour as 0x00BBGGRR.
using Colour = std::uint32_t;

inline constexpr Colour kBlack = 0x00000000;
inline constexpr Colour kWhite = 0x00FFFFFF;

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// How the pen (and a polygon's fill) combines with what is already there.
enum class PenMode { Copy, Xor };

// How draw() combines a source canvas with this one.
enum class CopyMode { Copy, SourceInvert };

struct Pen {
  Colour colour = kBlack;
  int width = 1;
  PenMode mode = PenMode::Copy;
};

// A pixel canvas with the drawing operations the editor needs. Every
// operation clips at the edges; nothing is drawn outside.
class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height, Colour fill = kBlack);

  int width() const { return width_; }
  int height() const { return height_; }
  std::span<const Colour> pixels() const { return pixels_; }
  // Row by row from the top left, for bulk copies of whole canvases.
  std::span<Colour> mutablePixels() { return pixels_; }

  // Resizes to width x height; every pixel becomes `fill`.
  void reset(int width, int height, Colour fill = kBlack);

  // Outside the canvas: pixel() gives 0 and setPixel() does nothing.
  Colour pixel(int x, int y) const;
  void setPixel(int x, int y, Colour colour);

  // Fills [left, right) x [top, bottom) with the brush, always as a plain copy.
  void fillRect(int left, int top, int right, int bottom);

  // A closed polygon through `points`: the inside filled with the brush, the
  // outline drawn with the pen. In XOR mode every pixel of the outline is
  // inverted exactly once (corners and wide pens included) and the fill is
  // XOR-ed with the brush, so drawing the same polygon twice restores the
  // canvas exactly.
  void polygon(std::span<const Point> points);

  // Draws `source` with its top-left corner at (x, y), combined by copyMode.
  void draw(int x, int y, const Canvas& source);

  Pen pen;
  Colour brush = kBlack;
  CopyMode copyMode = CopyMode::Copy;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Colour> pixels_;
};

}  // namespace ws::canvas
