#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

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

// The same for a save body already read and decoded (from a file or a
// pipe); `fileName` (CP932) goes into the not-a-save-file message. The
// Error keeps the detail of LOAD's message.
Result<canvas::Canvas> RenderSaveBody(const std::filesystem::path& gameFolder,
                                      std::span<const std::uint8_t> body,
                                      std::string_view fileName);

}  // namespace ws::editor
