#pragma once

namespace mareldon {

class AttackTarget;
class GameWorldScreen;

// Picks a target for a homing shot at random among this step's registered enemies,
// drawing from the world screen's generator.
class TargetPicker {
  public:
    explicit TargetPicker(GameWorldScreen* screen) : screen(screen) {}

    // Up to one try per registered target; a try takes the drawn entry when it is a
    // live target. Null when the list is empty or every try failed.
    AttackTarget* PickRandomTarget();

  private:
    GameWorldScreen* screen;
};

}  // namespace mareldon
