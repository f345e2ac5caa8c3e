#include "engine/platform/serial/SimulatedSerialLink.h"

#include "engine/core/Clock.h"

namespace mareldon {

int SimulatedSerialLink::Write(const uint8_t* data, int length) {
    board_->HostWrite(data, length);
    return length;
}

int SimulatedSerialLink::Available() {
    return board_->ReadyReplyBytes();
}

int SimulatedSerialLink::Read(uint8_t* buffer, int max, uint32_t timeoutMs) {
    const int size = board_->TakeReply(buffer, max);
    if (size == 0 && timeoutMs > 0) {
        GetClock().Sleep(timeoutMs);
        return board_->TakeReply(buffer, max);
    }
    return size;
}

int SimulatedSerialLink::ReadSense() {
    return board_->Sense();
}

}  // namespace mareldon
