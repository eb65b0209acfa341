#include "cli/png_writer.h"

#include <string>

#include "canvas/png_image.h"
#include "cli/commands.h"

namespace ws::cli {

Status writePngOutput(const std::filesystem::path& path, const canvas::Canvas& picture, int scale,
                      std::string_view what) {
  const auto png = canvas::encodePng(picture, scale);
  if (png.empty()) return Error{"cannot encode " + std::string(what) + " as PNG"};
  return writeOutput(path, png);
}

}  // namespace ws::cli
