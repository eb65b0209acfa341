#pragma once

#include <cstdint>

#include "gamedata/area_map_file.h"
#include "world/area_slot.h"

namespace ws::world {

// The object-query keys behind a kind: its special object (the first link
// gate object, tower or church of the area) and its candidates (dungeons, or
// houses for a town).
struct KindKeys {
  std::uint16_t special;
  std::uint16_t candidates;
};

inline KindKeys keysOf(AreaKind kind) {
  switch (kind) {
    case AreaKind::LinkGate:
      return {gamedata::KeyLinkGate, gamedata::KeyDungeon};
    case AreaKind::Field:
      return {gamedata::KeyTower, gamedata::KeyDungeon};
    case AreaKind::Town:
      break;
  }
  return {gamedata::KeyChurch, gamedata::KeyHouse};
}

}  // namespace ws::world
