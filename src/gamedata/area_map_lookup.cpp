#include "gamedata/area_map_lookup.h"

#include <utility>

#include "platform/file_io.h"
#include "platform/game_paths.h"

namespace ws::gamedata {

AreaMapLookup LookUpAreaMapFile(const std::filesystem::path& gameFolder,
                                std::string_view cp932Name) {
  AreaMapLookup lookup;
  if (cp932Name.empty()) return lookup;
  lookup.status = AreaFileStatus::Missing;
  lookup.path = platform::areaMapFilePath(gameFolder, cp932Name);
  // A name such as "..\x" or "C:x" names no area map file: nothing there is
  // opened.
  if (!platform::isAreaMapFileName(cp932Name)) {
    lookup.missing = MissingFile::OutsideAreaFolder;
    return lookup;
  }
  platform::FileRead read = platform::readRegularFile(lookup.path, kMaxAreaMapFileSize);
  if (!read.ok()) {
    lookup.missing = read.failure == platform::ReadFailure::NotFound ? MissingFile::NotFound
                                                                     : MissingFile::Unreadable;
    lookup.readFailure = std::move(read.message);
    return lookup;
  }
  lookup.file.bytes = std::move(read.bytes);
  lookup.status = lookup.file.isValid() ? AreaFileStatus::Readable : AreaFileStatus::Refused;
  return lookup;
}

}  // namespace ws::gamedata
