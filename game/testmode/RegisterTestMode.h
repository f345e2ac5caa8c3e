#pragma once

namespace mareldon {

class SceneRegistry;

// Puts the test mode's screen into the registry under "testmode". The screens
// below this layer cannot name it, so the composition roots call this after
// RegisterScreens.
void RegisterTestMode(SceneRegistry& registry);

}  // namespace mareldon
