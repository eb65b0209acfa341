#include "gamedata/area_map_file.h"
