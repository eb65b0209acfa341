#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "gamedata/area_map_file.h"

namespace ws::gamedata {

// Whether a catalogue entry leads to an area the editor can show.
enum class AreaFileStatus {
  Readable,   // the map file was read and passes the drawing's check
  EmptyName,  // the catalogue entry has no name, so there is no file
  Missing,    // named, but the file cannot be read
  Refused,    // read, but the drawing refuses it ("not msg file")
};

// Why a named area has no file to read.
enum class MissingFile {
  None,
  OutsideAreaFolder,  // the name would lead out of the area folder: nothing was opened
  NotFound,           // no such file
  Unreadable,         // there, but it cannot be read (no regular file, too large, ...)
};

// A catalogue entry's area map file, as far as it could be read. Each
// program words the outcome its own way; the checks are made here alone.
struct AreaMapLookup {
  AreaFileStatus status = AreaFileStatus::EmptyName;
  MissingFile missing = MissingFile::None;
  std::filesystem::path path;  // where the name leads; empty without a name
  std::string readFailure;     // NotFound, Unreadable: "cannot read PATH: REASON" (CP932)
  AreaMapFile file;            // Readable and Refused: the whole file as read
};

// Looks up the area map file of the catalogue name `cp932Name` below
// `gameFolder`: an empty name names none, a name that would leave the area
// folder opens nothing, the file is read whole (up to kMaxAreaMapFileSize)
// and checked as the drawing checks it.
AreaMapLookup LookUpAreaMapFile(const std::filesystem::path& gameFolder,
                                std::string_view cp932Name);

}  // namespace ws::gamedata
