#include "canvas/canvas.h"
