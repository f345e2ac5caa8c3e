#pragma once

// Moved to the stage layer, which builds the world from them.
#include "game/stage/StaticModelPart.h"
