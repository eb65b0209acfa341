#include "world/area_slot.h"
