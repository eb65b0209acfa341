#include "world/save_body.h"
