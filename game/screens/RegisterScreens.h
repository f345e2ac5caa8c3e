#pragma once

namespace mareldon {

class SceneRegistry;

// Puts every screen of the scene flow but the test mode (RegisterTestMode, a
// layer above), and the join-in and name-entry overlays, into the registry the
// game system builds them from.
void RegisterScreens(SceneRegistry& registry);

}  // namespace mareldon
