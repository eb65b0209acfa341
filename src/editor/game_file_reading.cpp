#include "editor/game_file_reading.h"

#include "editor/editor_messages.h"
#include "platform/file_io.h"
#include "platform/game_paths.h"
#include "world/placement.h"
#include "world/world_messages.h"

namespace ws::editor {

Result<std::optional<codec::Bytes>> readSaveFileForWindow(const std::filesystem::path& path) {
  const std::string fileName = platform::pathForMessage(path);
  const platform::FileRead file = platform::readRegularFile(path, codec::kMaxSaveFileSize);
  switch (file.failure) {
    case platform::ReadFailure::None:
      break;
    case platform::ReadFailure::NotFound:
      return std::optional<codec::Bytes>{};
    case platform::ReadFailure::TooLarge:  // no world needs such a file
      return Error{codec::notASaveFileMessage(fileName), file.message};
    default:
      return Error{world::fileUnreadableMessage(path), file.message};
  }
  Result<codec::Bytes> body = codec::decodeSaveFile(file.bytes, fileName);
  if (!body) return body.error();
  return std::optional<codec::Bytes>{std::move(*body)};
}

Result<gamedata::AreaMapFile> readCatalogueArea(const std::filesystem::path& gameFolder,
                                                const gamedata::AreaCatalogue& catalogue,
                                                int areaNumber) {
  if (areaNumber < 0 || static_cast<std::size_t>(areaNumber) >= catalogue.size() ||
      catalogue[static_cast<std::size_t>(areaNumber)].empty()) {
    return Error{areaNotInCatalogueMessage(areaNumber),
                 world::noAreaNameMessage(areaNumber, catalogue.size(),
                                          platform::cataloguePath(gameFolder))};
  }
  return world::readAreaMapFile(gameFolder, catalogue, areaNumber);
}

}  // namespace ws::editor
