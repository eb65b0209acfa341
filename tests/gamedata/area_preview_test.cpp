#include "gamedata/area_preview.h"

#include <gtest/gtest.h>

#include <vector>

#include "demo/area_map_builder.h"
#include "gamedata/object_item.h"

namespace ws::gamedata {
namespace {

using canvas::Canvas;
using canvas::Colour;

AreaMapFile areaOf(int width, int height, std::vector<std::uint8_t> attributes) {
  demo::AreaDescription area;
  area.gridWidth = width;
  area.gridHeight = height;
  area.attributes = std::move(attributes);
  return AreaMapFile{demo::buildAreaMapFile(area)};
}

// A canvas whose every pixel differs, so that any stray write shows.
Canvas patterned(int width = kPreviewWidth, int height = kPreviewHeight) {
  Canvas canvas(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      canvas.setPixel(x, y, static_cast<Colour>(0x00010203u * static_cast<Colour>(x + 7 * y)));
    }
  }
  return canvas;
}

std::vector<Colour> pixelsOf(const Canvas& canvas) {
  return {canvas.pixels().begin(), canvas.pixels().end()};
}

TEST(DrawAreaMap, AttributeColours) {
  struct Case {
    std::uint8_t attribute;
    Colour colour;
  };
  const std::vector<Case> cases{
      {0, canvas::kWhite},   {2, canvas::kWhite},   {128, canvas::kWhite}, {1, canvas::kBlack},
      {3, canvas::kBlack},   {131, canvas::kBlack}, {129, canvas::kBlack}, {130, kMapBlue},
      {255, canvas::kBlack}, {132, canvas::kWhite},
  };
  for (const auto& c : cases) {
    Canvas preview(kPreviewWidth, kPreviewHeight, canvas::kBlack);
    const auto size = DrawAreaMap(areaOf(1, 2, {c.attribute, c.attribute}), preview);
    ASSERT_TRUE(size.ok());
    EXPECT_EQ(preview.pixel(0, 0), c.colour) << int{c.attribute};
  }
}

TEST(DrawAreaMap, DrawsEvenRowsOnlyAndReportsHalfTheHeight) {
  struct Case {
    int gridHeight;
    int reportedHeight;
  };
  for (const auto& c : std::vector<Case>{{0, 0}, {1, 0}, {2, 1}, {5, 2}, {6, 3}}) {
    // Row r holds attribute r; even rows water, odd rows white would show.
    std::vector<std::uint8_t> attributes;
    for (int row = 0; row < c.gridHeight; ++row) {
      attributes.insert(attributes.end(), 2, row % 2 == 0 ? std::uint8_t{130} : std::uint8_t{0});
    }
    Canvas preview(kPreviewWidth, kPreviewHeight, canvas::kBlack);
    const auto size = DrawAreaMap(areaOf(2, c.gridHeight, attributes), preview);
    ASSERT_TRUE(size.ok());
    EXPECT_EQ(*size, (AreaSize{2, c.reportedHeight})) << c.gridHeight;
    for (int y = 0; y < 4; ++y) {
      const Colour expected = y < c.reportedHeight ? kMapBlue : canvas::kBlack;
      EXPECT_EQ(preview.pixel(0, y), expected) << c.gridHeight << " row " << y;
      EXPECT_EQ(preview.pixel(1, y), expected) << c.gridHeight << " row " << y;
      EXPECT_EQ(preview.pixel(2, y), canvas::kBlack);
    }
  }
}

TEST(DrawAreaMap, DrawingTwiceRestoresEveryPixel) {
  std::vector<std::uint8_t> attributes;
  for (int i = 0; i < 40 * 30; ++i)
    attributes.push_back(static_cast<std::uint8_t>(i * 37));
  const AreaMapFile file = areaOf(40, 30, attributes);
  Canvas preview = patterned();
  const auto before = pixelsOf(preview);
  ASSERT_TRUE(DrawAreaMap(file, preview, 3, 2).ok());
  EXPECT_NE(pixelsOf(preview), before);
  ASSERT_TRUE(DrawAreaMap(file, preview, 3, 2).ok());
  EXPECT_EQ(pixelsOf(preview), before);
}

TEST(DrawAreaMap, RefusedFilesDrawNothing) {
  demo::AreaDescription area;
  area.gridWidth = 4;
  area.gridHeight = 4;
  area.objects = {{KeyHouse, 1, 1}};
  for (auto defect : {demo::AreaFileDefect::BadMagic, demo::AreaFileDefect::NonZeroWordAt8,
                      demo::AreaFileDefect::Truncated, demo::AreaFileDefect::HeaderPromisesMore}) {
    Canvas preview = patterned();
    const auto before = pixelsOf(preview);
    const auto size = DrawAreaMap(AreaMapFile{demo::buildBrokenAreaMapFile(area, defect)}, preview);
    ASSERT_FALSE(size.ok());
    EXPECT_EQ(size.error().message, "not msg file");
    EXPECT_EQ(pixelsOf(preview), before);
  }
  Canvas preview = patterned();
  EXPECT_FALSE(DrawAreaMap(AreaMapFile{}, preview).ok());
}

TEST(DrawAreaMap, BigAreasAreClippedButReportedInFull) {
  const AreaMapFile file = areaOf(255, 255, std::vector<std::uint8_t>(255 * 255, 130));
  struct Case {
    int x0;
    int y0;
    int bluePixels;
  };
  for (const auto& c :
       std::vector<Case>{{0, 0, 128 * 64}, {100, 40, 28 * 24}, {-250, -120, 5 * 7}}) {
    Canvas preview(kPreviewWidth, kPreviewHeight, canvas::kBlack);
    const auto size = DrawAreaMap(file, preview, c.x0, c.y0);
    ASSERT_TRUE(size.ok());
    EXPECT_EQ(*size, (AreaSize{255, 127}));
    int blue = 0;
    for (Colour pixel : preview.pixels())
      blue += pixel == kMapBlue ? 1 : 0;
    EXPECT_EQ(blue, c.bluePixels) << c.x0 << "," << c.y0;
  }
}

TEST(DrawObjectMarker, CentreFallsFiveRowsBelowTheHalvedPosition) {
  // A dungeon at half-cell x 16, row 33: 0010 and 0021; centre (8, 21).
  Canvas preview(kPreviewWidth, kPreviewHeight, canvas::kBlack);
  DrawObjectMarker(preview, {0, 16, 33}, kMarkerCyan, canvas::kWhite);
  EXPECT_EQ(preview.pen.colour, kMarkerCyan);
  EXPECT_EQ(preview.brush, canvas::kWhite);
  EXPECT_EQ(preview.pixel(8, 21), canvas::kWhite);  // inside: the brush
  for (const auto& [x, y] : {std::pair{8, 18}, {5, 21}, {8, 24}, {11, 21}}) {
    EXPECT_EQ(preview.pixel(x, y), kMarkerCyan) << x << "," << y;  // the points: the pen
  }
  for (const auto& [x, y] : {std::pair{8, 17}, {4, 21}, {8, 25}, {12, 21}, {5, 18}}) {
    EXPECT_EQ(preview.pixel(x, y), canvas::kBlack) << x << "," << y;  // outside
  }
}

TEST(DrawObjectMarker, MarkersBeyondThePreviewAreClippedNotWrapped) {
  struct Case {
    std::int32_t x;  // half cells
    std::int32_t y;  // rows
    int drawnPixels;
  };
  const std::vector<Case> cases{
      {2 * 254, 0, 0},     // halved 254 would wrap to -2 and show at the left edge
      {0x10, 2 * 250, 0},  // halved 250 + 5 would wrap into the top rows
      {2 * 127, 20, -1},   // partly inside at the right edge: some pixels
  };
  for (const auto& c : cases) {
    Canvas preview(kPreviewWidth, kPreviewHeight, canvas::kBlack);
    DrawObjectMarker(preview, {0, c.x, c.y}, kMarkerCyan, kMarkerCyan);
    int drawn = 0;
    for (Colour pixel : preview.pixels())
      drawn += pixel == kMarkerCyan ? 1 : 0;
    if (c.drawnPixels < 0) {
      EXPECT_GT(drawn, 0) << c.x << "," << c.y;
      for (int y = 0; y < kPreviewHeight; ++y)
        EXPECT_EQ(preview.pixel(0, y), canvas::kBlack);
    } else {
      EXPECT_EQ(drawn, c.drawnPixels) << c.x << "," << c.y;
    }
  }
}

TEST(DrawDiamond, PointsSpanTheHalfSizes) {
  Canvas canvas(32, 32, canvas::kBlack);
  canvas.pen.colour = canvas::kWhite;
  canvas.brush = kMapBlue;
  DrawDiamond(canvas, 10, 12, 5, 2);
  for (const auto& [x, y] : {std::pair{10, 10}, {5, 12}, {10, 14}, {15, 12}}) {
    EXPECT_EQ(canvas.pixel(x, y), canvas::kWhite) << x << "," << y;
  }
  EXPECT_EQ(canvas.pixel(10, 12), kMapBlue);
  for (const auto& [x, y] : {std::pair{10, 9}, {4, 12}, {10, 15}, {16, 12}}) {
    EXPECT_EQ(canvas.pixel(x, y), canvas::kBlack) << x << "," << y;
  }
}

}  // namespace
}  // namespace ws::gamedata
