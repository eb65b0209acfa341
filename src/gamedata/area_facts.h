#pragma once

#include <filesystem>
#include <string>

#include "gamedata/area_map_file.h"

namespace ws::gamedata {

// Whether a catalogue entry leads to an area the editor can show.
enum class AreaFileStatus {
  Readable,   // the map file was read and passes the drawing's check
  EmptyName,  // the catalogue entry has no name, so there is no file
  Missing,    // named, but the file cannot be read
  Refused,    // read, but the drawing refuses it ("not msg file")
};

// Why an area cannot take a kind; None when it can.
enum class KindRefusal {
  None,
  NoLinkGate,        // a link gate area needs its link gate object
  NoDungeon,         // a link gate area needs at least one dungeon to choose
  NoChurch,          // a town needs a church
  TooFewHouses,      // a town needs at least three houses
  NoChurchOrHouses,  // a town needs a church and at least three houses, and has neither
  Unreadable,        // no readable map file: no kind at all
};

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

// A town is offered for an area with a church and this many houses.
inline constexpr int kTownMinimumHouses = 3;

// The facts of an area map file already read; a file the drawing refuses
// gives Refused with nothing counted.
AreaFacts AreaFactsOf(const AreaMapFile& file);

// The facts of catalogue entry `cp932Name` in `gameFolder`: reads the file.
AreaFacts ReadAreaFacts(const std::filesystem::path& gameFolder, const std::string& cp932Name);

}  // namespace ws::gamedata
