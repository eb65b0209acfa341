#include "world/placement.h"
