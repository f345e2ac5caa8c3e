#pragma once

#include <cstdint>

#include "engine/platform/JvsProtocol.h"

namespace mareldon {

// Cabinet controls as the simulated I/O board samples them. Player switches are
// in board order: bit i is switch i (JvsPlayerSwitch).
struct JvsSwitchSample {
    bool test = false;
    uint16_t players[2] = {};
    // Coins inserted since the previous sample, per slot.
    uint16_t coins[2] = {};
};

enum JvsSwitch : uint16_t {
    kJvsStart = 1 << kJvsSwitchStart,
    kJvsService = 1 << kJvsSwitchService,
    kJvsUp = 1 << kJvsSwitchUp,
    kJvsDown = 1 << kJvsSwitchDown,
    kJvsLeft = 1 << kJvsSwitchLeft,
    kJvsRight = 1 << kJvsSwitchRight,
    kJvsPush1 = 1 << kJvsSwitchPush1,
    kJvsPush2 = 1 << kJvsSwitchPush2,
    kJvsPush3 = 1 << kJvsSwitchPush3,
};

// Something that holds the controls (keyboard, game controllers). Sample is
// called from the bus thread.
class JvsSwitchSource {
  public:
    virtual ~JvsSwitchSource() = default;
    virtual void Sample(JvsSwitchSample& sample) = 0;
};

}  // namespace mareldon
