#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "gamedata/area_catalogue.h"
#include "gamedata/area_map_file.h"
#include "platform/result.h"
#include "world/area_slot.h"

namespace ws::world {

// What one placement asks for: the chosen area, the kind, the cursor
// rectangle, and the check marks of the candidate list (dungeons for a link
// gate or field, houses for a town), item k standing for the k-th result of
// the candidate query.
struct PlacementRequest {
  int areaNumber = 0;
  AreaKind kind = AreaKind::LinkGate;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::vector<bool> checked;
  // The free slot to fill; by default the free slot with the lowest index
  // (the command line builds worlds with gaps through this).
  std::optional<int> slot;
};

// Why a request's rectangle and kind may not go on the world map as the
// slots stand. The window never meets these as refusals: a click over placed
// areas removes them, the cursor leaves the map only while dragged past its
// edge, and the link gate kind is taken away once a link gate area stands.
struct SiteConflict {
  enum class Reason {
    OutsideMap,      // part of the rectangle lies off the 512 x 256 map
    Overlap,         // it overlaps the area in `slot` (touching edges do not count)
    SecondLinkGate,  // the link gate area in `slot` is the world's one
  };
  Reason reason = Reason::OutsideMap;
  int slot = -1;
  std::string message;  // what the command line says, in English
};

// Whether the rectangle at (x, y) of that size overlaps the placed area's;
// rectangles that only touch do not.
bool AreasOverlap(const AreaSlot& placed, int x, int y, int width, int height);

// Whether the request may take its place on the world map as the slots
// stand: the first rule its site breaks (inside the map, then, slot by slot,
// no overlap and one link gate per world), or nothing. The rules on what the
// area holds are PlaceArea's.
std::optional<SiteConflict> FindSiteConflict(const AreaSlotTable& slots,
                                             const PlacementRequest& request);

// The area map file of catalogue entry `areaNumber`, read whole. A missing or
// unreadable file gives an Error naming it.
Result<gamedata::AreaMapFile> readAreaMapFile(const std::filesystem::path& gameFolder,
                                              const gamedata::AreaCatalogue& catalogue,
                                              int areaNumber);

// Fills the slot the request names, else the first free one, from the
// request and `mapFile` (the area's map file as just read, or the Error of
// reading it) and applies the placement rules in order, each with its
// message; on failure the slot is free again. The site is the caller's to
// check first (FindSiteConflict): the world is built slot by slot, and tests
// fill slots with areas stacked on one another.
// Refuses a missing or unreadable file (the read's Error), an invalid one
// ("not msg file"), a link gate area without a link gate object and a town
// without a church, so that no slot holds objects that were never read.
// Returns the index of the filled slot.
Result<int> PlaceArea(AreaSlotTable& slots, const PlacementRequest& request,
                      const Result<gamedata::AreaMapFile>& mapFile);

}  // namespace ws::world
