#pragma once

#include <optional>
#include <span>
#include <vector>

#include "gamedata/area_map_file.h"
#include "gamedata/object_item.h"

namespace ws::gamedata {

// What an area holds, read once from its map file by the object query. The
// lists hold as many results as the file's place count leaves room for, in
// table order, so that result k is item k of the editor's check list; of the
// special objects the first of each counts; the townsfolk spots fill the
// file's spot capacity at most.
struct AreaContents {
  std::vector<AreaObjectRef> dungeons;
  std::vector<AreaObjectRef> houses;
  std::optional<AreaObjectRef> church;
  std::optional<AreaObjectRef> tower;
  std::optional<AreaObjectRef> linkGate;
  std::vector<AreaObjectRef> townsfolkSpots;
};

// The contents of a file as read; an incomplete file holds nothing.
AreaContents ReadAreaContents(const AreaMapFile& file);

// The objects of one kind: a list, or the special object when there is one.
std::span<const AreaObjectRef> objectsOf(const AreaContents& contents, ObjectItemKind kind);

// A town is offered for an area with a church and this many houses.
inline constexpr int kTownMinimumHouses = 3;

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

// Which kinds an area can take, and why not. A link gate area names its link
// gate object and needs a dungeon to choose; a field takes any area; a town
// needs its church and three houses to choose.
struct KindRefusals {
  KindRefusal linkGate = KindRefusal::Unreadable;
  KindRefusal field = KindRefusal::Unreadable;
  KindRefusal town = KindRefusal::Unreadable;
};

KindRefusals RefusedKinds(const AreaContents& contents);

}  // namespace ws::gamedata
