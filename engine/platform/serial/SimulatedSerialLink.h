#pragma once

#include <atomic>
#include <memory>

#include "engine/platform/SerialLink.h"
#include "engine/platform/serial/JvsBoard.h"

namespace mareldon {

// The link to an in-process simulated board. The board answers as soon as the
// host's frame is written; a read with nothing waiting spends its timeout on
// the process clock.
class SimulatedSerialLink final : public SerialLink {
  public:
    explicit SimulatedSerialLink(std::shared_ptr<JvsBoard> board) : board_(std::move(board)) {}

    int Write(const uint8_t* data, int length) override;
    int Available() override;
    int Read(uint8_t* buffer, int max, uint32_t timeoutMs) override;
    int ReadSense() override;
    void SetRts(bool on) override { rts_.store(on, std::memory_order_relaxed); }

    bool Rts() const { return rts_.load(std::memory_order_relaxed); }
    JvsBoard& Board() { return *board_; }

  private:
    std::shared_ptr<JvsBoard> board_;
    std::atomic<bool> rts_{false};
};

}  // namespace mareldon
