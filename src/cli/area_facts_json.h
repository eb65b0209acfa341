#pragma once

#include <nlohmann/json.hpp>

#include "gamedata/area_facts.h"

namespace ws::cli {

// The facts of one catalogue entry as the keys of its `catalogue --json`
// object (README.md lists them): "status", "width", "height", "dungeons",
// "houses", "church", "tower", "linkGate", "townsfolkSpots", "kinds" and
// "whyNot". Counts and sizes are null for an entry without a readable file.
nlohmann::ordered_json areaFactsJson(const gamedata::AreaFacts& facts);

}  // namespace ws::cli
