#pragma once

#include "gamedata/object_item.h"
#include "world/area_slot.h"

namespace ws::world {

// The objects behind a kind, which are also the markers it shows: its
// candidates (dungeons, or houses for a town; result k is item k of the
// check list) and its special object (the area's first link gate object,
// tower or church).
struct KindObjects {
  gamedata::ObjectItemKind candidates;
  gamedata::ObjectItemKind special;
};

constexpr KindObjects objectsOfKind(AreaKind kind) {
  switch (kind) {
    case AreaKind::LinkGate:
      return {gamedata::ObjectItemKind::Dungeon, gamedata::ObjectItemKind::LinkGate};
    case AreaKind::Field:
      return {gamedata::ObjectItemKind::Dungeon, gamedata::ObjectItemKind::Tower};
    case AreaKind::Town:
      break;
  }
  return {gamedata::ObjectItemKind::House, gamedata::ObjectItemKind::Church};
}

}  // namespace ws::world
