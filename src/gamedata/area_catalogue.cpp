#include "gamedata/area_catalogue.h"
