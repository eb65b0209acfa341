#include "demo/demo_terrain.h"

#include <cstddef>

namespace ws::demo {

namespace {

constexpr int kNoiseSpacing = 8;  // cells between lattice points of the noise
constexpr int kNoiseMax = 255;

// Share of the noise range below which a cell is water, by style (out of 256).
int waterLevel(TerrainStyle style) {
  switch (style) {
    case TerrainStyle::Gate:
      return 70;
    case TerrainStyle::Field:
      return 100;
    case TerrainStyle::Town:
      return 55;
  }
  return 0;
}

// Value noise: random lattice values, interpolated bilinearly in integers.
class ValueNoise {
 public:
  ValueNoise(int width, int height, DemoRandom& random)
      : columns_(width / kNoiseSpacing + 2), rows_(height / kNoiseSpacing + 2) {
    lattice_.resize(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_));
    for (auto& value : lattice_)
      value = static_cast<int>(random.below(kNoiseMax + 1));
  }

  int at(int x, int y) const {
    const int cx = x / kNoiseSpacing;
    const int cy = y / kNoiseSpacing;
    const int fx = x % kNoiseSpacing;
    const int fy = y % kNoiseSpacing;
    const int top = lerp(lattice(cx, cy), lattice(cx + 1, cy), fx);
    const int bottom = lerp(lattice(cx, cy + 1), lattice(cx + 1, cy + 1), fx);
    return lerp(top, bottom, fy);
  }

 private:
  static int lerp(int a, int b, int fraction) { return a + (b - a) * fraction / kNoiseSpacing; }
  int lattice(int cx, int cy) const {
    return lattice_[static_cast<std::size_t>(cy) * static_cast<std::size_t>(columns_) +
                    static_cast<std::size_t>(cx)];
  }

  int columns_;
  int rows_;
  std::vector<int> lattice_;
};

}  // namespace

std::uint64_t DemoRandom::next() {
  state_ += 0x9E3779B97F4A7C15ull;
  std::uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::uint32_t DemoRandom::below(std::uint32_t bound) {
  if (bound == 0) return 0;
  return static_cast<std::uint32_t>(next() % bound);
}

namespace {

// The terrain at half the grid's rows: each pixel row stands for two rows.
struct TerrainPicture {
  int width;
  int rows;
  std::vector<std::uint8_t> pixels;

  TerrainPicture(int w, int r)
      : width(w), rows(r), pixels(static_cast<std::size_t>(w * r), kLandAttribute) {}

  std::uint8_t& at(int x, int y) {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

// Water below the style's level, a few rocks, land and grass in bands.
void paintGround(TerrainPicture& picture, TerrainStyle style, DemoRandom& random) {
  const ValueNoise noise(picture.width, picture.rows, random);
  const int water = waterLevel(style);
  for (int y = 0; y < picture.rows; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const int value = noise.at(x, y);
      if (value < water) {
        picture.at(x, y) = kWaterAttribute;
      } else if (random.below(100) < 3) {
        picture.at(x, y) = kRockAttribute;
      } else {
        picture.at(x, y) = (value / 16) % 2 == 0 ? kLandAttribute : kGrassAttribute;
      }
    }
  }
}

// Roads: a few straight streets across the land, bridging the water. A town
// gets a grid of them, a gate a cross through its middle, a field one
// winding track.
void layRoads(TerrainPicture& picture, TerrainStyle style, DemoRandom& random) {
  const int width = picture.width;
  const int rows = picture.rows;
  auto horizontalRoad = [&](int y) {
    for (int x = 0; x < width && y >= 0 && y < rows; ++x)
      picture.at(x, y) = kRoadAttribute;
  };
  auto verticalRoad = [&](int x) {
    for (int y = 0; y < rows && x >= 0 && x < width; ++y)
      picture.at(x, y) = kRoadAttribute;
  };
  switch (style) {
    case TerrainStyle::Town:
      for (int y = 6 + static_cast<int>(random.below(4)); y < rows; y += 12)
        horizontalRoad(y);
      for (int x = 10 + static_cast<int>(random.below(6)); x < width; x += 24)
        verticalRoad(x);
      break;
    case TerrainStyle::Gate:
      horizontalRoad(rows / 2);
      verticalRoad(width / 2);
      break;
    case TerrainStyle::Field: {
      int y = rows > 0 ? static_cast<int>(random.below(static_cast<std::uint32_t>(rows))) : 0;
      for (int x = 0; x < width && rows > 0; ++x) {
        picture.at(x, y) = kRoadAttribute;
        const auto step = random.below(5);
        if (step == 0 && y > 0) --y;
        if (step == 1 && y + 1 < rows) ++y;
      }
      break;
    }
  }
}

}  // namespace

std::vector<std::uint8_t> makeTerrain(int gridWidth, int gridHeight, TerrainStyle style,
                                      DemoRandom& random) {
  TerrainPicture picture(gridWidth, (gridHeight + 1) / 2);
  paintGround(picture, style, random);
  layRoads(picture, style, random);

  std::vector<std::uint8_t> attributes(static_cast<std::size_t>(gridWidth * gridHeight));
  for (int row = 0; row < gridHeight; ++row) {
    for (int x = 0; x < gridWidth; ++x) {
      attributes[static_cast<std::size_t>(row) * static_cast<std::size_t>(gridWidth) +
                 static_cast<std::size_t>(x)] = picture.at(x, row / 2);
    }
  }
  return attributes;
}

}  // namespace ws::demo
