#pragma once

#include <cstdint>

#include "engine/platform/FrameCapture.h"

namespace mareldon {

// Turns a capture named by step, log line or signal (MARELDON_CAPTURE) into "draw
// the picture of this step now and save it": the main loop asks after every step.
// One at a time; a log capture watches the log through a sink that passes every
// line on.
class CaptureTrigger {
  public:
    explicit CaptureTrigger(const CaptureRequest& request);
    ~CaptureTrigger();
    CaptureTrigger(const CaptureTrigger&) = delete;
    CaptureTrigger& operator=(const CaptureTrigger&) = delete;

    // Before each step: its number, the first being 1.
    void StepStarts(uint32_t step);
    // After the step: true when its picture is to be saved (the capture is armed).
    bool StepEnds();

  private:
    CaptureRequest request_;
    uint32_t step_ = 0;
    bool done_ = false;
};

// From the SIGUSR1 handler: async-signal-safe.
void NoteCaptureSignal();

}  // namespace mareldon
