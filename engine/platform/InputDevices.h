#pragma once

namespace mareldon {

// Game controllers and mice attached to the PC. On the cabinet they only
// report that they are there: the I/O board is the one source of input.
class InputDevices {
  public:
    virtual ~InputDevices() = default;
    // Controllers taken at start, slot 0 first.
    virtual int PadCount() = 0;
    // Whether the controller in the slot still answers.
    virtual bool PadConnected(int slot) = 0;
    virtual bool MouseConnected() = 0;
};

}  // namespace mareldon
