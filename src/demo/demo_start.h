#pragma once

#include <filesystem>

#include "platform/result.h"

namespace ws::demo {

// The demo game a window starts on (--demo), below the user's own folder
// for it: used as it is when complete, written anew otherwise. A failure
// comes back as the window shows it: the Japanese message naming the folder
// and the reason, the English detail for the log.
Result<std::filesystem::path> prepareDemoGame(const std::filesystem::path& folder);

}  // namespace ws::demo
