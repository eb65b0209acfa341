#include "platform/game_paths.h"
