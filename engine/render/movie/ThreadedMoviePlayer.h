#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/platform/MovieSource.h"
#include "engine/platform/SoundBox.h"
#include "engine/render/movie/MoviePlayer.h"

namespace mareldon {

class SoundStream;

// The movie player: a decoding thread shows each picture when the movie's
// clock reaches its time (the newest due picture wins, late ones are dropped)
// and feeds the sound about half a second ahead of the mixer.
//
// The clock is the sound's played position while the movie's sound plays on a
// live device, else the given Clock, counted from Play; halting stops it.
//
// Frames pass from the thread to the owner through three buffers: the thread
// fills its own, swaps it with the newest under the lock and sets the ready
// flag; TakeFrame swaps the newest with the one the owner reads. So neither
// side ever reads a buffer the other writes.
//
// The thread touches only the decoder, its source and the sound stream: no
// counted handle, no file system, no sound device.
class ThreadedMoviePlayer final : public MoviePlayer {
  public:
    explicit ThreadedMoviePlayer(const MoviePlayerPorts& ports);
    ~ThreadedMoviePlayer() override;
    ThreadedMoviePlayer(const ThreadedMoviePlayer&) = delete;
    ThreadedMoviePlayer& operator=(const ThreadedMoviePlayer&) = delete;

    void SetEndHandler(MovieEndListener* handler) override { handler_ = handler; }
    bool Open(const RefPtr<FileSystem>& fileSystem, const String& name) override;
    bool Close() override;
    bool Play() override;
    bool Stop() override;
    bool Pause() override;
    bool Resume() override;
    int32_t GetWidth() override { return width_; }
    int32_t GetHeight() override { return height_; }
    const uint32_t* TakeFrame() override;
    bool IsFrameReady() override;
    void Update() override;

    // As Open, with the bytes from any source.
    bool OpenSource(std::unique_ptr<MovieSource> source, const char* name);

    // For tests, which never wait on the thread's speed: has the thread look at
    // the clock again and waits until it has done all it can at that time
    // (every due picture shown, the sound written as far as there is room, the
    // end reported). False when nothing is open, or when limit passes first.
    bool WaitUntilSettled(std::chrono::milliseconds limit = std::chrono::seconds(60));
    // Seconds into the movie.
    double MovieTime();
    // Pictures decoded but never shown because a later one was due as well.
    uint64_t DroppedPictures();

  private:
    void DecodeLoop();
    double TimeLocked() const;
    void HaltLocked();
    void RunLocked();
    // Back to the start: stale frames and ends go, clock and sound restart.
    void RestartLocked();
    void SettleLocked(uint64_t asked, uint32_t generation);

    // Main thread only.
    MovieDecoderFactory createDecoder_;
    RefPtr<SoundBox> soundBox_;
    Clock* clock_;
    MovieEndListener* handler_ = nullptr;
    bool opened_ = false;
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::unique_ptr<MovieSource> source_;
    std::unique_ptr<MovieDecoder> decoder_;  // the thread's while it runs
    std::shared_ptr<SoundStream> stream_;
    RefPtr<SoundBuffer> sound_;
    std::thread thread_;
    std::vector<uint32_t> front_;  // what TakeFrame gave out

    // The decoding thread only.
    std::vector<uint32_t> back_;

    // Shared, under lock_.
    mutable std::mutex lock_;
    std::condition_variable wake_;     // the thread waits here
    std::condition_variable settled_;  // WaitUntilSettled waits here
    bool quit_ = false;
    bool playing_ = false;
    uint32_t generation_ = 0;  // raised by every restart
    std::vector<uint32_t> ready_;
    bool frameReady_ = false;
    int32_t pendingEnds_ = 0;
    uint64_t dropped_ = 0;
    double haltedAt_ = 0.0;  // the movie's time while halted
    double wallBase_ = 0.0;  // the movie's time at wallStart_
    uint32_t wallStart_ = 0;
    bool soundClock_ = false;  // the clock follows the played sound
    uint64_t settleAsked_ = 0;
    uint64_t settleDone_ = 0;
    uint32_t settledGeneration_ = 0;
};

}  // namespace mareldon
