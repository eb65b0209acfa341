#pragma once

#include <filesystem>

#include "canvas/canvas.h"
#include "platform/result.h"

namespace ws::editor {

// The world map of a save file as LOAD shows it in an editor just started
// on `gameFolder`: the previews stamped with the markers of the saved
// choices, without the cursor outline; 512 x 256. The Error carries the
// message LOAD would show (CP932), or names the file or catalogue that
// could not be read.
Result<canvas::Canvas> RenderSaveFile(const std::filesystem::path& gameFolder,
                                      const std::filesystem::path& savePath);

}  // namespace ws::editor
