#pragma once

#include <cstdint>
#include <vector>

#include "canvas/canvas.h"

namespace ws::canvas {

// The canvas as an 8-bit RGB PNG, every pixel enlarged to a `scale` x
// `scale` block without smoothing. Empty when the image cannot be encoded
// (an empty canvas, a scale below 1 or an image too large).
std::vector<std::uint8_t> encodePng(const Canvas& canvas, int scale = 1);

}  // namespace ws::canvas
