#pragma once

#include <filesystem>
#include <optional>

#include "codec/save_container.h"
#include "gamedata/area_catalogue.h"
#include "gamedata/area_map_file.h"
#include "platform/result.h"

namespace ws::editor {

// The files the window reads, with the editor's own messages where the game
// has none: Japanese for the window, the system's English reason as the
// detail for the log.

// The body of the save file at `path`: nothing when no file of that name
// exists; "<path>\nを読み込めません" when it exists but cannot be read; the
// game's own messages when it is not a save file or its stream is damaged.
Result<std::optional<codec::Bytes>> readSaveFileForWindow(const std::filesystem::path& path);

// The area map file of catalogue entry `areaNumber`; an entry the catalogue
// lacks or leaves empty is named in the editor's message, a missing or
// unreadable file in the game folder's.
Result<gamedata::AreaMapFile> readCatalogueArea(const std::filesystem::path& gameFolder,
                                                const gamedata::AreaCatalogue& catalogue,
                                                int areaNumber);

}  // namespace ws::editor
