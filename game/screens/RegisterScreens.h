#pragma once

namespace mareldon {

class SceneRegistry;

// Puts every screen of the scene flow, and the join-in and name-entry overlays,
// into the registry the game system builds them from.
void RegisterScreens(SceneRegistry& registry);

}  // namespace mareldon
