#include "canvas/png_image.h"

#include <cstddef>
#include <limits>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace ws::canvas {

namespace {

constexpr int kChannels = 3;

void appendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(context);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::vector<std::uint8_t> encodePng(const Canvas& canvas, int scale) {
  if (canvas.width() <= 0 || canvas.height() <= 0 || scale < 1) return {};
  const long long width = static_cast<long long>(canvas.width()) * scale;
  const long long height = static_cast<long long>(canvas.height()) * scale;
  if (width * kChannels > std::numeric_limits<int>::max() ||
      width * height * kChannels > std::numeric_limits<int>::max()) {
    return {};
  }
  const auto stride = static_cast<std::size_t>(width) * kChannels;
  std::vector<std::uint8_t> rgb(stride * static_cast<std::size_t>(height));
  for (long long y = 0; y < height; ++y) {
    for (long long x = 0; x < width; ++x) {
      // Colours are 0x00BBGGRR.
      const Colour colour = canvas.pixel(static_cast<int>(x / scale), static_cast<int>(y / scale));
      const std::size_t at =
          static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * kChannels;
      rgb[at] = static_cast<std::uint8_t>(colour & 0xFFu);
      rgb[at + 1] = static_cast<std::uint8_t>((colour >> 8) & 0xFFu);
      rgb[at + 2] = static_cast<std::uint8_t>((colour >> 16) & 0xFFu);
    }
  }
  std::vector<std::uint8_t> png;
  const int written =
      stbi_write_png_to_func(appendBytes, &png, static_cast<int>(width), static_cast<int>(height),
                             kChannels, rgb.data(), static_cast<int>(stride));
  if (written == 0) return {};
  return png;
}

}  // namespace ws::canvas
