#include "codec/save_container.h"
