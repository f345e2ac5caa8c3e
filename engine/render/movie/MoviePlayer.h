#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/platform/MovieDecoder.h"

namespace mareldon {

class Clock;
class FileSystem;
class SoundBox;

// Told when a movie has played to its end.
class MovieEndListener {
  public:
    virtual ~MovieEndListener() = default;
    // True: back to the start, and play on.
    virtual bool OnMovieEnd() = 0;
};

// Plays a movie file into a frame buffer that its owner polls every frame and
// uploads into a texture; its sound plays through the sound device. Pictures
// are decoded on a thread of the player's own; every operation here belongs to
// the main thread.
class MoviePlayer {
  public:
    // Pictures larger than the movie texture are refused at Open.
    static constexpr int32_t kMaxWidth = 512;
    static constexpr int32_t kMaxHeight = 1024;

    virtual ~MoviePlayer() = default;
    // Null: the movie loops. Not owned.
    virtual void SetEndHandler(MovieEndListener* handler) = 0;
    // Opens a file of the file system, ready to play from its start. False
    // (logged) for a missing file, one that is no movie or holds no video, or
    // one whose pictures are larger than kMaxWidth x kMaxHeight.
    virtual bool Open(const RefPtr<FileSystem>& fileSystem, const String& name) = 0;
    // Every control answers false when nothing is open.
    virtual bool Close() = 0;
    // From the start.
    virtual bool Play() = 0;
    // Halts where it is. True also when it was halted already.
    virtual bool Stop() = 0;
    // Halts where it is; false when not playing.
    virtual bool Pause() = 0;
    // Goes on from where it halted; false when playing.
    virtual bool Resume() = 0;
    virtual int32_t GetWidth() = 0;
    virtual int32_t GetHeight() = 0;
    // The newest frame, width x height words 0xFFRRGGBB, top row first; it
    // stays valid and unchanged until the next call. Clears the ready flag.
    // Null when nothing is open.
    virtual const uint32_t* TakeFrame() = 0;
    // A frame newer than the last one taken is waiting.
    virtual bool IsFrameReady() = 0;
    // Handles at most one event of the player: at the movie's end, the end
    // handler decides whether it starts again.
    virtual void Update() = 0;
};

// What a player plays with.
struct MoviePlayerPorts {
    MovieDecoderFactory createDecoder = nullptr;
    // The movie's sound goes here; pictures alone when empty or silent.
    RefPtr<SoundBox> soundBox;
    // Times the pictures of a movie without sound (or on a silent device);
    // null: the process-wide clock.
    Clock* clock = nullptr;
};

RefPtr<MoviePlayer> CreateMoviePlayer(const MoviePlayerPorts& ports);

}  // namespace mareldon
