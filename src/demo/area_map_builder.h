#pragma once

#include <cstdint>
#include <vector>

namespace ws::demo {

// One record of an area map file's object table, in the file's own units:
// x in cells, y in rows.
struct ObjectRecord {
  std::uint16_t key = 0;
  std::int16_t x = 0;
  std::int16_t y = 0;
};

// A plain description of an area map file.
struct AreaDescription {
  int gridWidth = 0;   // W, cells in a row (0..255)
  int gridHeight = 0;  // H, rows (0..255); the world map shows H / 2 of them
  // W x H attributes, row by row; cells the vector does not reach get 0.
  std::vector<std::uint8_t> attributes;
  std::vector<ObjectRecord> objects;  // the object table, in table order
  int spotCapacity = 0;               // header byte 52
  int placeCount = 0;                 // P, header byte 60: the last P records carry numbers
};

// The bytes of a valid, complete area map file. Bytes that the editor does
// not read hold filler, never zero, so that a reader straying from its
// fields sees garbage.
std::vector<std::uint8_t> buildAreaMapFile(const AreaDescription& area);

// Deliberately broken files for tests.
enum class AreaFileDefect {
  BadMagic,            // the value at offset 0 is not 72
  NonZeroWordAt8,      // the value at offset 8 is not 0
  Truncated,           // cut in the middle of the cell grid
  HeaderPromisesMore,  // the header counts one record more than the table holds
};

std::vector<std::uint8_t> buildBrokenAreaMapFile(const AreaDescription& area,
                                                 AreaFileDefect defect);

}  // namespace ws::demo
