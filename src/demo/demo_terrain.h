#pragma once

#include <cstdint>
#include <vector>

namespace ws::demo {

// A small deterministic random source (SplitMix64): the same seed gives the
// same sequence on every platform and compiler.
class DemoRandom {
 public:
  explicit DemoRandom(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next();
  // Uniform in [0, bound); 0 when bound is 0.
  std::uint32_t below(std::uint32_t bound);

 private:
  std::uint64_t state_;
};

// What the terrain of an area should look like.
enum class TerrainStyle { Gate, Field, Town };

// Cell attributes of the demo's area maps.
inline constexpr std::uint8_t kLandAttribute = 0;     // even: white
inline constexpr std::uint8_t kGrassAttribute = 2;    // even: white
inline constexpr std::uint8_t kRoadAttribute = 1;     // odd: black
inline constexpr std::uint8_t kRockAttribute = 131;   // odd and not water: black
inline constexpr std::uint8_t kWaterAttribute = 130;  // blue

// W x H attributes, row by row: land and water from value noise, rocks
// scattered on land, and roads across. Both rows of each pair are the same,
// so the half of them that the preview draws shows the whole picture.
std::vector<std::uint8_t> makeTerrain(int gridWidth, int gridHeight, TerrainStyle style,
                                      DemoRandom& random);

}  // namespace ws::demo
