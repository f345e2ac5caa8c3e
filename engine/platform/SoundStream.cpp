#include "engine/platform/SoundStream.h"

#include <algorithm>
#include <cstring>

namespace mareldon {

SoundStream::SoundStream(int32_t rate, int32_t channels, uint32_t capacity)
    : rate_(rate), channels_(channels), capacity_(std::max<uint32_t>(capacity, 1)) {
    ring_.resize(static_cast<size_t>(capacity_) * static_cast<size_t>(channels_ > 0 ? channels_ : 1));
}

uint32_t SoundStream::Write(const int16_t* frames, uint32_t count) {
    std::lock_guard<std::mutex> guard(lock_);
    const uint32_t taken = std::min(count, capacity_ - count_);
    const size_t channels = static_cast<size_t>(channels_);
    uint32_t tail = (head_ + count_) % capacity_;
    uint32_t done = 0;
    while (done < taken) {
        const uint32_t run = std::min(taken - done, capacity_ - tail);
        std::memcpy(&ring_[tail * channels], frames + done * channels, run * channels * sizeof(int16_t));
        done += run;
        tail = (tail + run) % capacity_;
    }
    count_ += taken;
    return taken;
}

void SoundStream::Finish() {
    std::lock_guard<std::mutex> guard(lock_);
    finished_ = true;
}

bool SoundStream::Finished() const {
    std::lock_guard<std::mutex> guard(lock_);
    return finished_;
}

uint32_t SoundStream::Queued() const {
    std::lock_guard<std::mutex> guard(lock_);
    return count_;
}

uint32_t SoundStream::Room() const {
    std::lock_guard<std::mutex> guard(lock_);
    return capacity_ - count_;
}

void SoundStream::Clear() {
    std::lock_guard<std::mutex> guard(lock_);
    head_ = 0;
    count_ = 0;
    finished_ = false;
    played_.store(0, std::memory_order_release);
}

uint32_t SoundStream::Peek(int16_t* out, uint32_t count) const {
    std::lock_guard<std::mutex> guard(lock_);
    const uint32_t copied = std::min(count, count_);
    const size_t channels = static_cast<size_t>(channels_);
    uint32_t at = head_;
    uint32_t done = 0;
    while (done < copied) {
        const uint32_t run = std::min(copied - done, capacity_ - at);
        std::memcpy(out + done * channels, &ring_[at * channels], run * channels * sizeof(int16_t));
        done += run;
        at = (at + run) % capacity_;
    }
    return copied;
}

void SoundStream::Consume(uint32_t count) {
    std::lock_guard<std::mutex> guard(lock_);
    const uint32_t taken = std::min(count, count_);
    head_ = (head_ + taken) % capacity_;
    count_ -= taken;
    played_.fetch_add(taken, std::memory_order_acq_rel);
}

}  // namespace mareldon
