// Pixel coverage rules, shared by every drawing operation:
//
// - Pixel (x, y) stands for the grid point (x, y) and the unit square to its
//   right and below. Polygon points are grid points.
// - Rectangles cover [left, right) x [top, bottom): the right and bottom
//   edges are excluded.
// - A polygon's inside is every pixel whose grid point lies inside the
//   polygon by the even-odd rule. A point exactly on an edge belongs to the
//   polygon on a left or top edge and not on a right or bottom edge, so
//   polygons that share an edge never both cover its pixels, and the
//   rectangle (0,0) (128,0) (128,64) (0,64) fills exactly 128 x 64 pixels.
// - A polygon's outline is its closed polyline: each segment rasterised as a
//   line through its end points (one pixel per step of the longer axis, the
//   other coordinate rounded half up), each pixel of it widened to a w x w
//   square for a pen of width w (from w / 2 up and left of the pixel).
//   Outline and inside sample the same grid points, so a 1-pixel outline
//   closes the inside without a gap.
// - The outline is collected as a set before anything is drawn, so in XOR
//   mode each of its pixels is inverted exactly once, where segments meet
//   and where a wide pen overlaps itself too; the inside pixels that the
//   outline does not cover are combined with the brush. Drawing the same
//   polygon twice in XOR mode therefore restores the canvas exactly.
//
// Coordinates are exact up to 2^26 or so in magnitude; beyond that lines
// may round differently, but nothing is ever written outside the canvas.
#include "canvas/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace ws::canvas {
namespace {

// Wider pens are drawn at this width; the editor uses 1 and 2.
constexpr int kMaxPenWidth = 64;

// A rectangle of pixels [left, right) x [top, bottom) in 64-bit coordinates,
// so that clipping arithmetic on any int input cannot overflow.
struct Box {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;
  bool empty() const { return right <= left || bottom <= top; }
};

Box intersect(const Box& a, const Box& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

// The pixels that one operation touches, as a mask over a clipped box.
class PixelSet {
 public:
  explicit PixelSet(const Box& box)
      : box_(box),
        width_(box.empty() ? 0 : box.right - box.left),
        mask_(box.empty() ? 0 : static_cast<std::size_t>(width_ * (box.bottom - box.top)), 0) {}

  const Box& box() const { return box_; }

  void addSquare(std::int64_t left, std::int64_t top, std::int64_t size) {
    const Box square = intersect({left, top, left + size, top + size}, box_);
    if (square.empty()) return;
    for (std::int64_t y = square.top; y < square.bottom; ++y) {
      for (std::int64_t x = square.left; x < square.right; ++x)
        mask_[index(x, y)] = 1;
    }
  }

  bool contains(std::int64_t x, std::int64_t y) const { return mask_[index(x, y)] != 0; }

 private:
  std::size_t index(std::int64_t x, std::int64_t y) const {
    return static_cast<std::size_t>((y - box_.top) * width_ + (x - box_.left));
  }

  Box box_;
  std::int64_t width_;
  std::vector<std::uint8_t> mask_;
};

// Adds the pixels of the segment a-b, widened to squares of `penWidth`.
// Only the steps whose squares can reach the set's box are walked, so far
// away end points cost nothing.
void addSegment(PixelSet& set, Point a, Point b, int penWidth) {
  const std::int64_t offset = penWidth / 2;
  const Box& box = set.box();
  const std::int64_t dx = std::int64_t{b.x} - a.x;
  const std::int64_t dy = std::int64_t{b.y} - a.y;
  const bool alongX = std::llabs(dx) >= std::llabs(dy);
  // Walk the longer axis from the smaller end, so that a segment covers the
  // same pixels in either direction.
  if ((alongX && dx < 0) || (!alongX && dy < 0)) std::swap(a, b);
  const std::int64_t major0 = alongX ? a.x : a.y;
  const std::int64_t major1 = alongX ? b.x : b.y;
  const double minor0 = alongX ? a.y : a.x;
  const double minorDelta =
      static_cast<double>(alongX ? b.y - std::int64_t{a.y} : b.x - std::int64_t{a.x});
  const double majorDelta = static_cast<double>(major1 - major0);

  // Steps whose square can meet the box along the major axis.
  const std::int64_t boxMajorLow = (alongX ? box.left : box.top) + offset - penWidth + 1;
  const std::int64_t boxMajorHigh = (alongX ? box.right : box.bottom) + offset - 1;
  const std::int64_t first = std::max(major0, boxMajorLow);
  const std::int64_t last = std::min(major1, boxMajorHigh);
  for (std::int64_t major = first; major <= last; ++major) {
    std::int64_t minor = static_cast<std::int64_t>(minor0);
    if (majorDelta != 0) {
      const double exact = minor0 + static_cast<double>(major - major0) * minorDelta / majorDelta;
      minor = static_cast<std::int64_t>(std::floor(exact + 0.5));
    }
    const std::int64_t x = alongX ? major : minor;
    const std::int64_t y = alongX ? minor : major;
    set.addSquare(x - offset, y - offset, penWidth);
  }
}

// The first pixel column at or right of `crossing`.
std::int64_t firstColumnAtOrAfter(double crossing) {
  return static_cast<std::int64_t>(std::ceil(crossing));
}

// Calls `visit(x, y)` for every pixel of `box` whose grid point lies inside the
// polygon (even-odd rule, left and top edges inclusive).
template <typename Visit>
void forEachInsidePixel(std::span<const Point> points, const Box& box, Visit visit) {
  std::vector<double> crossings;
  for (std::int64_t y = box.top; y < box.bottom; ++y) {
    const auto rowY = static_cast<double>(y);
    crossings.clear();
    for (std::size_t i = 0; i < points.size(); ++i) {
      const Point& p = points[i];
      const Point& q = points[(i + 1) % points.size()];
      const double y0 = std::min(p.y, q.y);
      const double y1 = std::max(p.y, q.y);
      // Half-open in y: a point on the upper end counts, one on the lower
      // end does not; horizontal edges never cross.
      if (rowY < y0 || rowY >= y1) continue;
      // Multiply before dividing: with integer points the crossing is then
      // exact whenever it is a whole number, which the edge rules rely on.
      const double run = (rowY - p.y) * (static_cast<double>(q.x) - p.x);
      crossings.push_back(p.x + run / (static_cast<double>(q.y) - p.y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const std::int64_t from = std::max(firstColumnAtOrAfter(crossings[i]), box.left);
      const std::int64_t to = std::min(firstColumnAtOrAfter(crossings[i + 1]), box.right);
      for (std::int64_t x = from; x < to; ++x)
        visit(x, y);
    }
  }
}

Box polygonBounds(std::span<const Point> points, int penWidth) {
  Box bounds{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const Point& p : points) {
    bounds.left = std::min<std::int64_t>(bounds.left, p.x);
    bounds.top = std::min<std::int64_t>(bounds.top, p.y);
    bounds.right = std::max<std::int64_t>(bounds.right, p.x);
    bounds.bottom = std::max<std::int64_t>(bounds.bottom, p.y);
  }
  // Room for the pen's square on every side, and the right and bottom end
  // points' own pixels.
  bounds.left -= penWidth;
  bounds.top -= penWidth;
  bounds.right += penWidth + 1;
  bounds.bottom += penWidth + 1;
  return bounds;
}

}  // namespace

Canvas::Canvas(int width, int height, Colour fill) {
  reset(width, height, fill);
}

void Canvas::reset(int width, int height, Colour fill) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill);
}

Colour Canvas::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
}

void Canvas::setPixel(int x, int y, Colour colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
          static_cast<std::size_t>(x)] = colour;
}

void Canvas::fillRect(int left, int top, int right, int bottom) {
  const Box area = intersect({left, top, right, bottom}, {0, 0, width_, height_});
  if (area.empty()) return;
  for (std::int64_t y = area.top; y < area.bottom; ++y) {
    const auto row = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    std::fill(
        pixels_.begin() + static_cast<std::ptrdiff_t>(row + static_cast<std::size_t>(area.left)),
        pixels_.begin() + static_cast<std::ptrdiff_t>(row + static_cast<std::size_t>(area.right)),
        brush);
  }
}

void Canvas::polygon(std::span<const Point> points) {
  if (points.empty()) return;
  const int penWidth = std::clamp(pen.width, 1, kMaxPenWidth);
  const Box area = intersect(polygonBounds(points, penWidth), {0, 0, width_, height_});
  if (area.empty()) return;

  PixelSet outline(area);
  for (std::size_t i = 0; i < points.size(); ++i) {
    addSegment(outline, points[i], points[(i + 1) % points.size()], penWidth);
  }

  const bool xorMode = pen.mode == PenMode::Xor;
  auto at = [this](std::int64_t x, std::int64_t y) -> Colour& {
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
  };
  forEachInsidePixel(points, area, [&](std::int64_t x, std::int64_t y) {
    if (outline.contains(x, y)) return;
    at(x, y) = xorMode ? at(x, y) ^ brush : brush;
  });
  for (std::int64_t y = area.top; y < area.bottom; ++y) {
    for (std::int64_t x = area.left; x < area.right; ++x) {
      if (outline.contains(x, y)) at(x, y) = xorMode ? at(x, y) ^ pen.colour : pen.colour;
    }
  }
}

void Canvas::draw(int x, int y, const Canvas& source) {
  const Box area =
      intersect({x, y, std::int64_t{x} + source.width_, std::int64_t{y} + source.height_},
                {0, 0, width_, height_});
  if (area.empty()) return;
  // Drawing a canvas onto itself reads from a copy, so that no pixel is read
  // after it was written.
  const Canvas copy = (&source == this) ? source : Canvas();
  const Canvas& from = (&source == this) ? copy : source;
  for (std::int64_t ty = area.top; ty < area.bottom; ++ty) {
    for (std::int64_t tx = area.left; tx < area.right; ++tx) {
      const Colour value = from.pixel(static_cast<int>(tx - x), static_cast<int>(ty - y));
      Colour& target = pixels_[static_cast<std::size_t>(ty) * static_cast<std::size_t>(width_) +
                               static_cast<std::size_t>(tx)];
      target = copyMode == CopyMode::SourceInvert ? target ^ value : value;
    }
  }
}

}  // namespace ws::canvas
