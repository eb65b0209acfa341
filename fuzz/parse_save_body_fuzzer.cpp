// Arbitrary bytes as a save body: parsing must refuse or accept without
// reading outside the body, and an accepted body must survive loading and
// saving again with its areas and their chosen objects unchanged.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "world/save_body.h"
#include "world/save_body_parse.h"

namespace {

// Loading asks each area's map file for positions; an empty file answers
// nothing, which leaves the positions at 0 and the special objects unknown.
ws::Result<ws::gamedata::AreaMapFile> emptyMapFile(int) {
  return ws::gamedata::AreaMapFile{};
}

ws::Result<std::vector<ws::gamedata::AreaObjectRef>> noSpots(const ws::world::AreaSlot&) {
  return std::vector<ws::gamedata::AreaObjectRef>{};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> body(data, size);
  auto parsed = ws::world::ParseSaveBody(body);
  if (!parsed) return 0;
  if (parsed->areas.empty() || parsed->areas.size() > 4) std::abort();

  auto slots = ws::world::RestoreAreaSlots(*parsed, emptyMapFile);
  if (!slots) std::abort();
  auto saved = ws::world::BuildSaveBody(*slots, parsed->worldName, noSpots);
  if (!saved) return 0;  // no link gate among the areas

  // Saving reorders the areas (link gate first); each keeps its objects.
  auto again = ws::world::ParseSaveBody(*saved);
  if (!again || again->areas.size() != parsed->areas.size()) std::abort();
  for (std::size_t k = 0; k < again->areas.size(); ++k) {
    const ws::world::AreaSlot& slot = (*slots)[static_cast<int>(k)];
    const ws::world::LoadedArea& area = again->areas[k];
    if (area.kind != slot.kind || area.areaNumber != (slot.areaNumber & 0xFF) ||
        area.objectIds.size() != slot.objectCount ||
        !std::equal(area.objectIds.begin(), area.objectIds.end(), slot.objectIds.begin())) {
      std::abort();
    }
  }
  return 0;
}
