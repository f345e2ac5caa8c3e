#pragma once

namespace mareldon {

// What the main loop needs of the platform once per pass or step. The window system,
// the graphics device and the input manager plug in through these; a loop without
// them runs headless.
class MessagePump {
  public:
    virtual ~MessagePump() = default;
    // Handles the pending window messages; never blocks.
    virtual void PumpMessages() = 0;
};

class FramePresenter {
  public:
    virtual ~FramePresenter() = default;
    // Shows the frame the drawing pass just built.
    virtual void PresentFrame() = 0;
};

class InputPoller {
  public:
    virtual ~InputPoller() = default;
    // Refreshes the input state once before each update pass.
    virtual void PollInput() = 0;
};

}  // namespace mareldon
