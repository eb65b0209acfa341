#pragma once

#include <filesystem>
#include <string>

#include "gamedata/area_contents.h"
#include "gamedata/area_map_file.h"
#include "gamedata/area_map_lookup.h"

namespace ws::gamedata {

// What the catalogue tells a user choosing an area: its size on the world
// map and its objects, counted as the editor's lists and placement count
// them. Only meaningful fields for a Readable file; the others are zero.
struct AreaFacts {
  AreaFileStatus status = AreaFileStatus::Missing;
  int width = 0;   // world-map pixels, as the preview drawing reports them
  int height = 0;  // grid rows halved
  int dungeons = 0;
  int houses = 0;
  bool church = false;
  bool tower = false;
  bool linkGate = false;
  int townsfolkSpots = 0;
  KindRefusal linkGateRefusal = KindRefusal::Unreadable;
  KindRefusal fieldRefusal = KindRefusal::Unreadable;
  KindRefusal townRefusal = KindRefusal::Unreadable;
};

// The facts of an area map file already read; a file the drawing refuses
// gives Refused with nothing counted.
AreaFacts AreaFactsOf(const AreaMapFile& file);

// The facts of catalogue entry `cp932Name` in `gameFolder`: reads the file.
AreaFacts ReadAreaFacts(const std::filesystem::path& gameFolder, const std::string& cp932Name);

}  // namespace ws::gamedata
