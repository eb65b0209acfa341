#include "gamedata/object_item.h"
