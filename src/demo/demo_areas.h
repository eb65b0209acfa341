#pragma once

// The demo catalogue's areas that tests, the screenshot tool and examples
// pick by number, named for what they hold (see demo_game.h for the whole
// catalogue). demoAreas() describes every one of them in full.
namespace ws::demo::areas {

inline constexpr int kGateOfBeginnings = 0;  // link gate 128x64, 3 dungeons
inline constexpr int kStarGate = 1;          // link gate 96x48, 1 dungeon
inline constexpr int kEmptyName = 4;         // an empty catalogue entry
inline constexpr int kBlueForest = 5;        // field 128x64, tower, 3 dungeons
inline constexpr int kMeadow = 6;            // field 96x48, no tower, 4 dungeons
inline constexpr int kNorthTower = 7;        // field 64x32, tower, no dungeons
inline constexpr int kWindHill = 8;          // field 32x16, no objects
inline constexpr int kMistMarsh = 9;         // field 128x64, tower, 5 dungeons
inline constexpr int kHarbourTown = 14;      // town 128x64, church, 6 houses, 8 spots
inline constexpr int kForestVillage = 16;    // town 64x32, church, 3 houses
inline constexpr int kCastleTown = 17;       // town 128x64, church, 5 houses, 5 spots
inline constexpr int kHamlet = 19;           // 3 houses, no church: not a town
inline constexpr int kChurchHill = 20;       // church, 2 houses: not a town
inline constexpr int kLakeIsland = 24;       // field 64x31, tower, 2 dungeons
inline constexpr int kMoonTemple = 26;       // link gate 32x32, 2 dungeons
inline constexpr int kBrokenMap = 29;        // bad header: refused by the drawing
inline constexpr int kMissingMap = 31;       // named, no area map file

}  // namespace ws::demo::areas
