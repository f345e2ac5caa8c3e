#pragma once

// The attract tutorial shares its replay and overlay with the game's tutorial.
#include "game/screens/TutorialScreen.h"
