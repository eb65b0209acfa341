#include "canvas/canvas.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace ws::canvas {
namespace {

constexpr int kWorldWidth = 512;
constexpr int kWorldHeight = 256;

Canvas randomCanvas(int width, int height, std::uint32_t seed) {
  Canvas canvas(width, height);
  std::mt19937 random(seed);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      canvas.setPixel(x, y, random() & 0x00FFFFFFu);
  }
  return canvas;
}

std::vector<Colour> pixelsOf(const Canvas& canvas) {
  return {canvas.pixels().begin(), canvas.pixels().end()};
}

std::set<std::pair<int, int>> changedPixels(const Canvas& before, const Canvas& after) {
  std::set<std::pair<int, int>> changed;
  for (int y = 0; y < before.height(); ++y) {
    for (int x = 0; x < before.width(); ++x) {
      if (before.pixel(x, y) != after.pixel(x, y)) changed.insert({x, y});
    }
  }
  return changed;
}

std::array<Point, 4> rectangleCorners(int x, int y, int width, int height) {
  return {Point{x, y}, Point{x + width, y}, Point{x + width, y + height}, Point{x, y + height}};
}

// The world map's cursor pen: white, 2 pixels wide, XOR, over a black brush.
void useCursorPen(Canvas& canvas) {
  canvas.pen = Pen{kWhite, 2, PenMode::Xor};
  canvas.brush = kBlack;
}

TEST(CanvasTest, PixelsOutsideReadZeroAndIgnoreWrites) {
  Canvas canvas(4, 3, kWhite);
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{
           {-1, 0}, {0, -1}, {4, 0}, {0, 3}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}}) {
    canvas.setPixel(x, y, 0x123456);
    EXPECT_EQ(canvas.pixel(x, y), 0u) << x << "," << y;
  }
  EXPECT_EQ(pixelsOf(canvas), std::vector<Colour>(12, kWhite));
  canvas.setPixel(3, 2, 0x123456);
  EXPECT_EQ(canvas.pixel(3, 2), 0x123456u);
}

TEST(CanvasTest, NegativeSizeGivesEmptyCanvas) {
  Canvas canvas(-5, 10);
  EXPECT_EQ(canvas.width(), 0);
  canvas.fillRect(0, 0, 10, 10);
  canvas.setPixel(0, 0, kWhite);
  EXPECT_TRUE(canvas.pixels().empty());
}

struct FillCase {
  int left, top, right, bottom;
  int expectedLeft, expectedTop, expectedRight, expectedBottom;  // clipped, edges excluded
};

TEST(CanvasTest, FillRectExcludesRightAndBottomEdgesAndClips) {
  const FillCase cases[] = {
      {1, 1, 3, 2, 1, 1, 3, 2},
      {0, 0, 8, 6, 0, 0, 8, 6},
      {-3, -3, 2, 2, 0, 0, 2, 2},
      {6, 4, 100, 100, 6, 4, 8, 6},
      {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, 8, 6},
      {2, 2, 2, 5, 0, 0, 0, 0},      // zero width
      {5, 5, 1, 1, 0, 0, 0, 0},      // reversed
      {8, 0, 20, 6, 0, 0, 0, 0},     // right of the canvas
      {-10, -10, 0, 0, 0, 0, 0, 0},  // above and left
  };
  for (const FillCase& c : cases) {
    Canvas canvas(8, 6, kWhite);
    canvas.brush = 0x00ABCDEF;
    canvas.fillRect(c.left, c.top, c.right, c.bottom);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 8; ++x) {
        const bool inside = x >= c.expectedLeft && x < c.expectedRight && y >= c.expectedTop &&
                            y < c.expectedBottom;
        EXPECT_EQ(canvas.pixel(x, y), inside ? 0x00ABCDEFu : kWhite)
            << "rect " << c.left << "," << c.top << "," << c.right << "," << c.bottom << " at " << x
            << "," << y;
      }
    }
  }
}

TEST(CanvasTest, CursorOutlineDrawnTwiceRestoresCanvas) {
  // Positions the world map's cursor takes: the start, snapped steps, the
  // right and bottom edges, dragged beyond the left edge, and a 0 x 0 cursor.
  const std::array<int, 4> cursors[] = {
      {0, 0, 128, 64},  {32, 64, 128, 64}, {384, 192, 128, 64}, {-32, -64, 128, 64},
      {412, 0, 100, 8}, {0, 0, 0, 0},      {96, 32, 1, 1},      {500, 250, 128, 64},
  };
  for (const auto& [x, y, width, height] : cursors) {
    const Canvas original = randomCanvas(kWorldWidth, kWorldHeight, 7);
    Canvas canvas = original;
    useCursorPen(canvas);
    const auto corners = rectangleCorners(x, y, width, height);
    canvas.polygon(corners);
    EXPECT_FALSE(changedPixels(original, canvas).empty()) << x << "," << y;
    canvas.polygon(corners);
    EXPECT_EQ(pixelsOf(canvas), pixelsOf(original)) << x << "," << y;
  }
}

TEST(CanvasTest, CursorOutlineInvertsEachPixelOnceAndKeepsInside) {
  Canvas canvas(kWorldWidth, kWorldHeight, kBlack);
  useCursorPen(canvas);
  canvas.polygon(rectangleCorners(0, 0, 128, 64));
  // The 2-pixel pen covers one pixel up and left of each line point: the
  // edges at x 0 and 128 become columns -1..0 and 127..128, those at y 0 and
  // 64 rows -1..0 and 63..64, clipped at the top left. Inside, the black
  // brush changes nothing.
  for (int y = 0; y < kWorldHeight; ++y) {
    for (int x = 0; x < kWorldWidth; ++x) {
      const bool column = x == 0 || x == 127 || x == 128;
      const bool row = y == 0 || y == 63 || y == 64;
      const bool onOutline = (column && y <= 64) || (row && x <= 128);
      EXPECT_EQ(canvas.pixel(x, y), onOutline ? kWhite : kBlack) << x << "," << y;
    }
  }
}

TEST(CanvasTest, XorPolygonWithColouredBrushTogglesInside) {
  const Canvas original = randomCanvas(64, 48, 11);
  Canvas canvas = original;
  canvas.pen = Pen{0x00FF00FF, 3, PenMode::Xor};
  canvas.brush = 0x0000FF00;
  const std::array<Point, 5> star = {Point{32, 2}, Point{50, 45}, Point{4, 16}, Point{60, 16},
                                     Point{14, 45}};
  canvas.polygon(star);
  EXPECT_EQ(canvas.pixel(32, 10), original.pixel(32, 10) ^ 0x0000FF00u);  // a tip
  EXPECT_EQ(canvas.pixel(32, 24), original.pixel(32, 24));                // the even-odd hole
  EXPECT_EQ(canvas.pixel(2, 2), original.pixel(2, 2));                    // outside
  EXPECT_EQ(canvas.pixel(32, 2), original.pixel(32, 2) ^ 0x00FF00FFu);
  canvas.polygon(star);
  EXPECT_EQ(pixelsOf(canvas), pixelsOf(original));
}

TEST(CanvasTest, MarkerDiamondCoversSymmetricClosedShape) {
  // A marker at (20, 10): points (x, y + 2), (x - 3, y + 5), (x, y + 8),
  // (x + 3, y + 5) with the preview's 1-pixel copy pen.
  constexpr Colour kPen = 0x00D0D000;
  constexpr Colour kBrush = 0x0000D0D0;
  Canvas canvas(40, 30, kWhite);
  canvas.pen = Pen{kPen, 1, PenMode::Copy};
  canvas.brush = kBrush;
  const std::array<Point, 4> diamond = {Point{20, 12}, Point{17, 15}, Point{20, 18}, Point{23, 15}};
  canvas.polygon(diamond);

  std::set<std::pair<int, int>> outline;
  std::set<std::pair<int, int>> fill;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      if (canvas.pixel(x, y) == kPen) outline.insert({x, y});
      if (canvas.pixel(x, y) == kBrush) fill.insert({x, y});
    }
  }
  // The outline is the ring of pixels at distance 3 from (20, 15), the fill
  // everything closer: no gap between them, nothing outside.
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      const int distance = std::abs(x - 20) + std::abs(y - 15);
      const bool onOutline = outline.count({x, y}) != 0;
      const bool inFill = fill.count({x, y}) != 0;
      EXPECT_EQ(onOutline, distance == 3) << x << "," << y;
      EXPECT_EQ(inFill, distance < 3) << x << "," << y;
    }
  }
  EXPECT_EQ(outline.size(), 12u);
  EXPECT_EQ(fill.size(), 13u);
}

TEST(CanvasTest, CopyPolygonFillsExactlyTheRectangleInside) {
  Canvas canvas(20, 20, kWhite);
  canvas.pen = Pen{kBlack, 1, PenMode::Copy};
  canvas.brush = 0x00FF0000;
  canvas.polygon(rectangleCorners(2, 3, 10, 5));
  // Fill [2, 12) x [3, 8), outline on the lines x 2 and 12, y 3 and 8.
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      const bool onOutline =
          ((x == 2 || x == 12) && y >= 3 && y <= 8) || ((y == 3 || y == 8) && x >= 2 && x <= 12);
      const bool inside = x > 2 && x < 12 && y > 3 && y < 8;
      const Colour expected = onOutline ? kBlack : inside ? 0x00FF0000 : kWhite;
      EXPECT_EQ(canvas.pixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST(CanvasTest, PolygonsFarOutsideNeverWriteOutsideCanvas) {
  const std::vector<std::vector<Point>> polygons = {
      {{-1000, -1000}, {-10, -1000}, {-10, -10}},
      {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}},
      {{INT_MIN, 5}, {INT_MAX, 6}},
      {{5, INT_MIN}, {6, INT_MAX}, {-7, 3}},
      {{1 << 30, 1 << 30}, {(1 << 30) + 5, 1 << 30}},
      {{3, 3}},
  };
  for (const auto& points : polygons) {
    for (const int width : {-3, 0, 1, 2, 1000}) {
      Canvas canvas(24, 16, kBlack);
      canvas.pen = Pen{kWhite, width, PenMode::Xor};
      canvas.brush = 0x00000F00;
      canvas.polygon(points);
      canvas.polygon(points);
      // XOR twice restores even when clipped; the sanitizers watch the writes.
      EXPECT_EQ(pixelsOf(canvas), std::vector<Colour>(24 * 16, kBlack));
    }
  }
}

TEST(CanvasTest, HugePolygonCoversWholeCanvas) {
  Canvas canvas(24, 16, kBlack);
  canvas.pen = Pen{kWhite, 1, PenMode::Copy};
  canvas.brush = 0x00000F00;
  const std::array<Point, 4> huge = rectangleCorners(-100000, -100000, 200000, 200000);
  canvas.polygon(huge);
  EXPECT_EQ(pixelsOf(canvas), std::vector<Colour>(24 * 16, 0x00000F00));
}

TEST(CanvasTest, SourceInvertXorsAndBlackChangesNothing) {
  const Canvas original = randomCanvas(32, 16, 3);
  Canvas black(8, 8, kBlack);
  Canvas canvas = original;
  canvas.copyMode = CopyMode::SourceInvert;
  canvas.draw(4, 4, black);
  EXPECT_EQ(pixelsOf(canvas), pixelsOf(original));

  const Canvas stamp = randomCanvas(8, 8, 5);
  canvas.draw(10, 3, stamp);
  EXPECT_EQ(canvas.pixel(10, 3), original.pixel(10, 3) ^ stamp.pixel(0, 0));
  EXPECT_EQ(canvas.pixel(17, 10), original.pixel(17, 10) ^ stamp.pixel(7, 7));
  EXPECT_EQ(canvas.pixel(18, 10), original.pixel(18, 10));
  canvas.draw(10, 3, stamp);
  EXPECT_EQ(pixelsOf(canvas), pixelsOf(original));
}

TEST(CanvasTest, DrawCopiesAndClipsAtEveryEdge) {
  const Canvas stamp = randomCanvas(6, 5, 9);
  const std::pair<int, int> positions[] = {
      {0, 0},          {-3, -2}, {7, 4}, {-6, -5}, {10, 8}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX},
      {INT_MAX - 2, 0}};
  for (const auto& [px, py] : positions) {
    Canvas canvas(10, 8, kWhite);
    canvas.draw(px, py, stamp);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 10; ++x) {
        const std::int64_t sx = std::int64_t{x} - px;
        const std::int64_t sy = std::int64_t{y} - py;
        const bool covered = sx >= 0 && sx < 6 && sy >= 0 && sy < 5;
        const Colour expected =
            covered ? stamp.pixel(static_cast<int>(sx), static_cast<int>(sy)) : kWhite;
        EXPECT_EQ(canvas.pixel(x, y), expected) << px << "," << py << " at " << x << "," << y;
      }
    }
  }
}

TEST(CanvasTest, DrawOntoItselfReadsTheOriginal) {
  Canvas canvas = randomCanvas(8, 8, 13);
  const Canvas original = canvas;
  canvas.draw(1, 1, canvas);
  for (int y = 1; y < 8; ++y) {
    for (int x = 1; x < 8; ++x)
      EXPECT_EQ(canvas.pixel(x, y), original.pixel(x - 1, y - 1));
  }
}

}  // namespace
}  // namespace ws::canvas
