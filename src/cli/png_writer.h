#pragma once

#include <filesystem>
#include <string_view>

#include "canvas/canvas.h"
#include "platform/result.h"

namespace ws::cli {

// `picture` as PNG, enlarged `scale` times without smoothing, to a file
// (atomically) or to "-". `what` names the picture in the error when it
// cannot be encoded ("the preview").
Status writePngOutput(const std::filesystem::path& path, const canvas::Canvas& picture, int scale,
                      std::string_view what);

}  // namespace ws::cli
