#pragma once

#include <cstdint>

namespace mareldon {

// Cabinet controls as the simulated I/O board samples them. Player switches are
// in board order: bit i is switch i (0 Start, 1 Service, 2 Up, 3 Down, 4 Left,
// 5 Right, 6 Push 1, 7 Push 2, 8 Push 3).
struct JvsSwitchSample {
    bool test = false;
    uint16_t players[2] = {};
    // Coins inserted since the previous sample, per slot.
    uint16_t coins[2] = {};
};

enum JvsSwitch : uint16_t {
    kJvsStart = 1 << 0,
    kJvsService = 1 << 1,
    kJvsUp = 1 << 2,
    kJvsDown = 1 << 3,
    kJvsLeft = 1 << 4,
    kJvsRight = 1 << 5,
    kJvsPush1 = 1 << 6,
    kJvsPush2 = 1 << 7,
    kJvsPush3 = 1 << 8,
};

// Something that holds the controls (keyboard, game controllers). Sample is
// called from the bus thread.
class JvsSwitchSource {
  public:
    virtual ~JvsSwitchSource() = default;
    virtual void Sample(JvsSwitchSample& sample) = 0;
};

// The source the default simulated board reads; nullptr leaves its switches alone.
void SetJvsSwitchSource(JvsSwitchSource* source);
JvsSwitchSource* GetJvsSwitchSource();

}  // namespace mareldon
