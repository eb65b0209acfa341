#pragma once

#include "canvas/png_image.h"

namespace ws::cli {

// The PNG encoder lives with the canvas, where the editor's windows reach it too.
using canvas::encodePng;

}  // namespace ws::cli
