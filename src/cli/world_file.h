#pragma once

#include <string_view>

#include "cli/world_description.h"
#include "gamedata/area_catalogue.h"
#include "platform/result.h"

namespace ws::cli {

// The world file of `build`, UTF-8 JSON, read strictly: a key it does not
// know, a key given twice, a syntax error, a NUL byte or anything after the
// JSON value is refused, never skipped. Its layout:
//   {"name": "...",                          optional, default "テストワールド"
//    "areas": [{"area": 12 or "name",         catalogue index or name
//               "kind": "link-gate" | "field" | "town",
//               "x": 0, "y": 0,               top-left world-map pixel
//               "objects": [0, 2],            optional: dungeons or houses to check
//               "slot": 1}, ...]}             optional: the slot to fill
// The Error's message starts with where the fault is: "line 3, column 7"
// for a fault of the JSON text, else the JSON path ("areas[1].objets").
Result<WorldDescription> readWorldFile(std::string_view utf8Json,
                                       const gamedata::AreaCatalogue& catalogue);

}  // namespace ws::cli
