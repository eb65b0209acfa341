#include "gamedata/area_preview.h"
