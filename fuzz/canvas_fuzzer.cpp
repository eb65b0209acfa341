// Arbitrary polygons, pens and stamps on a small canvas: XOR drawing twice
// must restore the canvas exactly, and nothing may be written outside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "canvas/canvas.h"

namespace {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint32_t take(std::size_t bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
      value = (value << 8) | (pos_ < size_ ? data_[pos_++] : 0u);
    }
    return value;
  }
  bool done() const { return pos_ >= size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

int coordinate(Input& input) {
  // Mostly near the canvas, sometimes anywhere in the int range.
  const std::uint32_t kind = input.take(1);
  if (kind < 0xF0) return static_cast<int>(input.take(1)) - 96;
  std::uint32_t raw = input.take(4);
  int value = 0;
  std::memcpy(&value, &raw, sizeof value);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ws::canvas;
  Input input(data, size);
  const int width = static_cast<int>(input.take(1) % 70);
  const int height = static_cast<int>(input.take(1) % 70);
  Canvas canvas(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      canvas.setPixel(
          x, y,
          (static_cast<Colour>(x) * 2654435761u ^ static_cast<Colour>(y) * 40503u) & 0x00FFFFFFu);
    }
  }
  const Canvas original = canvas;

  canvas.pen = Pen{input.take(3), static_cast<int>(input.take(1)) - 8, PenMode::Xor};
  canvas.brush = input.take(3);
  std::vector<Point> points(input.take(1) % 12);
  for (Point& point : points)
    point = {coordinate(input), coordinate(input)};
  canvas.polygon(points);
  canvas.polygon(points);

  Canvas stamp(static_cast<int>(input.take(1) % 40), static_cast<int>(input.take(1) % 40),
               input.take(3));
  canvas.copyMode = CopyMode::SourceInvert;
  const int stampX = coordinate(input);
  const int stampY = coordinate(input);
  canvas.draw(stampX, stampY, stamp);
  canvas.draw(stampX, stampY, stamp);

  for (std::size_t i = 0; i < original.pixels().size(); ++i) {
    if (canvas.pixels()[i] != original.pixels()[i]) std::abort();
  }

  // Copy mode and fills: only that they stay inside the canvas.
  canvas.pen.mode = PenMode::Copy;
  canvas.polygon(points);
  canvas.fillRect(coordinate(input), coordinate(input), coordinate(input), coordinate(input));
  canvas.copyMode = CopyMode::Copy;
  canvas.draw(stampX, stampY, stamp);
  return 0;
}
