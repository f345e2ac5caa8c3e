#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace mareldon {

// Sound that one thread writes while the mixer plays it (a movie's sound
// track): a bounded ring of 16-bit interleaved frames. Every operation is safe
// from any thread; none blocks for longer than a copy.
class SoundStream {
  public:
    // capacity: the most frames that may wait, which bounds how far ahead the
    // writer runs.
    SoundStream(int32_t rate, int32_t channels, uint32_t capacity);
    SoundStream(const SoundStream&) = delete;
    SoundStream& operator=(const SoundStream&) = delete;

    int32_t Rate() const { return rate_; }
    int32_t Channels() const { return channels_; }

    // Writer: takes as many of count frames as there is room for; the count taken.
    uint32_t Write(const int16_t* frames, uint32_t count);
    // Writer: nothing follows what was written (until Clear), so the last
    // frame may be played out without a successor.
    void Finish();
    uint32_t Queued() const;
    uint32_t Room() const;
    // Frames the mixer has taken since the last Clear.
    uint64_t Played() const { return played_.load(std::memory_order_acquire); }
    // Drops what waits and counts from 0 again.
    void Clear();

    // Mixer: copies up to count frames from the front without taking them;
    // the count copied.
    uint32_t Peek(int16_t* out, uint32_t count) const;
    // Mixer: takes count frames (at most what waits) from the front.
    void Consume(uint32_t count);
    bool Finished() const;

  private:
    const int32_t rate_;
    const int32_t channels_;
    mutable std::mutex lock_;
    std::vector<int16_t> ring_;  // capacity frames
    uint32_t capacity_;
    uint32_t head_ = 0;  // first waiting frame
    uint32_t count_ = 0;
    bool finished_ = false;
    std::atomic<uint64_t> played_{0};
};

}  // namespace mareldon
