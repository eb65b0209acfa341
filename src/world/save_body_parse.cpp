#include "world/save_body_parse.h"
