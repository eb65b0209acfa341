#pragma once

#include <filesystem>
#include <optional>
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

// The area map file of catalogue entry `areaNumber`, read whole. A missing or
// unreadable file gives an Error naming it.
Result<gamedata::AreaMapFile> readAreaMapFile(const std::filesystem::path& gameFolder,
                                              const gamedata::AreaCatalogue& catalogue,
                                              int areaNumber);

// Fills the slot the request names, else the first free one, from the
// request and `mapFile` (the area's map file as just read, or the Error of
// reading it) and applies the placement rules in order, each with its
// message; on failure the slot is free again.
// Refuses a missing or unreadable file (the read's Error), an invalid one
// ("not msg file"), a link gate area without a link gate object and a town
// without a church, so that no slot holds objects that were never read.
// Returns the index of the filled slot.
Result<int> PlaceArea(AreaSlotTable& slots, const PlacementRequest& request,
                      const Result<gamedata::AreaMapFile>& mapFile);

}  // namespace ws::world
