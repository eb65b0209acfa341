#pragma once

#include <cstdint>
#include <vector>

namespace ws::platform {

// A whole file, stream or body held in memory.
using Bytes = std::vector<std::uint8_t>;

}  // namespace ws::platform
