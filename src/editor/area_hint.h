#pragma once

#include <string>

#include "gamedata/area_facts.h"

namespace ws::editor {

// The tooltip of a catalogue item (CP932, lines separated by LF): the
// area's size on the world map, its objects, and the kinds it can take with
// the reason for each one it cannot. An entry without a name, a missing and
// a refused map file say just that.
std::string areaHintText(const gamedata::AreaFacts& facts);

}  // namespace ws::editor
