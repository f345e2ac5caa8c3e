#include "engine/render/movie/ThreadedMoviePlayer.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Clock.h"
#include "engine/core/Log.h"
#include "engine/platform/File.h"
#include "engine/platform/FileSystem.h"
#include "engine/platform/SoundStream.h"

namespace mareldon {

namespace {

constexpr const char* kLog = "movie";
// How long the thread waits before it looks at a running clock again.
constexpr double kPollSeconds = 0.01;
// Times that differ by less than this are the same time.
constexpr double kSlack = 1e-6;

}  // namespace

RefPtr<MoviePlayer> CreateMoviePlayer(const MoviePlayerPorts& ports) {
    return RefPtr<MoviePlayer>(new ThreadedMoviePlayer(ports));
}

ThreadedMoviePlayer::ThreadedMoviePlayer(const MoviePlayerPorts& ports)
    : createDecoder_(ports.createDecoder),
      soundBox_(ports.soundBox),
      clock_(ports.clock != nullptr ? ports.clock : &GetClock()) {}

ThreadedMoviePlayer::~ThreadedMoviePlayer() {
    Close();
}

bool ThreadedMoviePlayer::Open(const RefPtr<FileSystem>& fileSystem, const String& name) {
    Close();
    if (!fileSystem) {
        LOG_WARN(kLog, "movie \"%s\": no file system", name.Text());
        return false;
    }
    File* file = fileSystem->Open(name, kFileRead);
    if (file == nullptr) {
        LOG_WARN(kLog, "movie \"%s\" cannot be opened", name.Text());
        return false;
    }
    if (file->GetStatus() < 0 || file->GetSize() == 0) {
        LOG_WARN(kLog, "movie \"%s\" is missing or empty", name.Text());
        fileSystem->Close(file);
        return false;
    }
    return OpenSource(std::make_unique<FileMovieSource>(fileSystem, file), name.Text());
}

bool ThreadedMoviePlayer::OpenSource(std::unique_ptr<MovieSource> source, const char* name) {
    Close();
    if (createDecoder_ == nullptr || source == nullptr) {
        LOG_WARN(kLog, "movie \"%s\": nothing to decode it with", name);
        return false;
    }
    std::unique_ptr<MovieDecoder> decoder = createDecoder_();
    if (decoder == nullptr || !decoder->Open(source.get(), name)) {
        return false;  // the decoder said why
    }
    const MovieFormat& format = decoder->Format();
    if (format.width > kMaxWidth || format.height > kMaxHeight) {
        LOG_WARN(kLog, "movie \"%s\" refused: its %dx%d pictures are larger than the %dx%d movie texture",
                 name, format.width, format.height, kMaxWidth, kMaxHeight);
        return false;
    }
    width_ = format.width;
    height_ = format.height;
    const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    front_.assign(count, 0);
    back_.assign(count, 0);
    if (format.soundRate > 0 && soundBox_) {
        // About half a second ahead of the mixer.
        stream_ = std::make_shared<SoundStream>(format.soundRate, format.soundChannels,
                                                static_cast<uint32_t>(format.soundRate / 2));
        sound_ = soundBox_->CreateStreamedSound(stream_);
        if (!sound_) {
            stream_.reset();  // a silent device: the pictures alone
        }
    }
    if (stream_ == nullptr) {
        decoder->IgnoreSound();
    }
    source_ = std::move(source);
    decoder_ = std::move(decoder);
    {
        std::lock_guard<std::mutex> guard(lock_);
        ready_.assign(count, 0);
        quit_ = false;
        playing_ = false;
        generation_ = 0;
        frameReady_ = false;
        pendingEnds_ = 0;
        dropped_ = 0;
        haltedAt_ = 0.0;
        wallBase_ = 0.0;
        soundClock_ = false;
    }
    opened_ = true;
    thread_ = std::thread(&ThreadedMoviePlayer::DecodeLoop, this);
    return true;
}

bool ThreadedMoviePlayer::Close() {
    if (!opened_) {
        return false;
    }
    {
        std::lock_guard<std::mutex> guard(lock_);
        HaltLocked();
        quit_ = true;
    }
    wake_.notify_all();
    settled_.notify_all();
    thread_.join();
    if (sound_) {
        soundBox_->Stop(sound_);
    }
    sound_.Reset();
    stream_.reset();
    decoder_.reset();
    source_.reset();  // closes the file
    std::vector<uint32_t>().swap(front_);
    std::vector<uint32_t>().swap(back_);
    {
        std::lock_guard<std::mutex> guard(lock_);
        std::vector<uint32_t>().swap(ready_);
        frameReady_ = false;
        pendingEnds_ = 0;
    }
    width_ = 0;
    height_ = 0;
    opened_ = false;
    return true;
}

double ThreadedMoviePlayer::TimeLocked() const {
    if (!playing_) {
        return haltedAt_;
    }
    if (soundClock_) {
        return static_cast<double>(stream_->Played()) / stream_->Rate();
    }
    const uint32_t elapsed = clock_->Milliseconds() - wallStart_;
    return wallBase_ + elapsed / 1000.0;
}

void ThreadedMoviePlayer::HaltLocked() {
    if (!playing_) {
        return;
    }
    if (sound_) {
        soundBox_->Pause(sound_);  // first, so the played position holds still
    }
    haltedAt_ = TimeLocked();
    playing_ = false;
}

void ThreadedMoviePlayer::RunLocked() {
    if (playing_) {
        return;
    }
    playing_ = true;
    wallBase_ = haltedAt_;
    wallStart_ = clock_->Milliseconds();
    if (sound_) {
        soundBox_->Resume(sound_);
    }
    wake_.notify_all();
}

void ThreadedMoviePlayer::RestartLocked() {
    ++generation_;
    frameReady_ = false;
    pendingEnds_ = 0;
    haltedAt_ = 0.0;
    wallBase_ = 0.0;
    wallStart_ = clock_->Milliseconds();
    soundClock_ = static_cast<bool>(sound_);
    if (sound_) {
        soundBox_->Stop(sound_);  // drops what waits and counts from 0
        if (playing_) {
            soundBox_->Resume(sound_);
        }
    }
    wake_.notify_all();
}

bool ThreadedMoviePlayer::Play() {
    if (!opened_) {
        return false;
    }
    std::lock_guard<std::mutex> guard(lock_);
    HaltLocked();
    RestartLocked();
    RunLocked();
    return true;
}

bool ThreadedMoviePlayer::Stop() {
    if (!opened_) {
        return false;
    }
    std::lock_guard<std::mutex> guard(lock_);
    HaltLocked();
    return true;
}

bool ThreadedMoviePlayer::Pause() {
    if (!opened_) {
        return false;
    }
    std::lock_guard<std::mutex> guard(lock_);
    if (!playing_) {
        return false;
    }
    HaltLocked();
    return true;
}

bool ThreadedMoviePlayer::Resume() {
    if (!opened_) {
        return false;
    }
    std::lock_guard<std::mutex> guard(lock_);
    if (playing_) {
        return false;
    }
    RunLocked();
    return true;
}

const uint32_t* ThreadedMoviePlayer::TakeFrame() {
    if (!opened_) {
        return nullptr;
    }
    std::lock_guard<std::mutex> guard(lock_);
    if (frameReady_) {
        std::swap(ready_, front_);
        frameReady_ = false;
    }
    return front_.data();
}

bool ThreadedMoviePlayer::IsFrameReady() {
    if (!opened_) {
        return false;
    }
    std::lock_guard<std::mutex> guard(lock_);
    return frameReady_;
}

void ThreadedMoviePlayer::Update() {
    if (!opened_) {
        return;
    }
    uint32_t generation;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (pendingEnds_ == 0) {
            return;
        }
        --pendingEnds_;
        generation = generation_;
    }
    // Outside the lock: the handler may use the player.
    if (handler_ != nullptr && !handler_->OnMovieEnd()) {
        return;  // stays at its end with the last frame
    }
    if (!opened_) {
        return;
    }
    std::lock_guard<std::mutex> guard(lock_);
    if (generation_ == generation) {
        RestartLocked();
    }
}

bool ThreadedMoviePlayer::WaitUntilSettled(std::chrono::milliseconds limit) {
    if (!opened_) {
        return false;
    }
    std::unique_lock<std::mutex> lock(lock_);
    const uint64_t ticket = ++settleAsked_;
    wake_.notify_all();
    return settled_.wait_for(lock, limit, [&] {
        return quit_ || (settleDone_ >= ticket && settledGeneration_ == generation_);
    }) && !quit_;
}

double ThreadedMoviePlayer::MovieTime() {
    std::lock_guard<std::mutex> guard(lock_);
    return TimeLocked();
}

uint64_t ThreadedMoviePlayer::DroppedPictures() {
    std::lock_guard<std::mutex> guard(lock_);
    return dropped_;
}

void ThreadedMoviePlayer::SettleLocked(uint64_t asked, uint32_t generation) {
    if (settleDone_ < asked || settledGeneration_ != generation) {
        settleDone_ = asked;
        settledGeneration_ = generation;
        settled_.notify_all();
    }
}

void ThreadedMoviePlayer::DecodeLoop() {
    MovieDecoder& decoder = *decoder_;
    SoundStream* stream = stream_.get();
    const int32_t channels = stream != nullptr ? stream->Channels() : 0;

    std::unique_lock<std::mutex> lock(lock_);
    uint32_t seen = generation_;  // an opened decoder stands at the start
    bool picture = false;         // decoded, waiting for its time
    double pictureTime = 0.0;
    double pictureDuration = 0.0;
    bool picturesDone = false;
    double lastEnd = 0.0;  // when the last picture shown stops showing
    const int16_t* chunk = nullptr;
    int32_t chunkFrames = 0;
    int32_t chunkDone = 0;
    bool soundDone = stream == nullptr;
    bool endSent = false;

    // Runs the decoder without the lock; false when a restart or Close came
    // meanwhile, which makes what it gave stale.
    auto unlocked = [&](auto&& work) {
        lock.unlock();
        work();
        lock.lock();
        return !quit_ && seen == generation_;
    };

    while (!quit_) {
        const uint64_t asked = settleAsked_;
        if (seen != generation_) {
            seen = generation_;
            bool rewound = false;
            lock.unlock();
            rewound = decoder.Rewind();
            lock.lock();
            picture = false;
            picturesDone = !rewound;
            lastEnd = 0.0;
            chunk = nullptr;
            soundDone = stream == nullptr || !rewound;
            endSent = false;
            continue;
        }
        if (!playing_) {
            SettleLocked(asked, seen);
            wake_.wait(lock);
            continue;
        }
        const double now = TimeLocked();
        bool progress = false;

        // The sound first: while it plays, the clock runs on it.
        if (!soundDone && chunk == nullptr) {
            bool got = false;
            if (!unlocked([&] { got = decoder.DecodeSound(chunk, chunkFrames); })) {
                chunk = nullptr;
                continue;
            }
            if (got && chunkFrames > 0) {
                chunkDone = 0;
            } else {
                chunk = nullptr;
                soundDone = true;
                stream->Finish();
            }
            progress = true;
        }
        if (chunk != nullptr) {
            const uint32_t taken = stream->Write(chunk + static_cast<size_t>(chunkDone) * channels,
                                                 static_cast<uint32_t>(chunkFrames - chunkDone));
            chunkDone += static_cast<int32_t>(taken);
            progress = progress || taken > 0;
            if (chunkDone == chunkFrames) {
                chunk = nullptr;
            }
        }
        if (soundClock_ && soundDone && stream->Queued() == 0) {
            // Played out: the clock goes on without it.
            wallBase_ = TimeLocked();
            wallStart_ = clock_->Milliseconds();
            soundClock_ = false;
            progress = true;
        }

        if (!picture && !picturesDone) {
            bool got = false;
            if (!unlocked([&] { got = decoder.DecodePicture(pictureTime, pictureDuration); })) {
                continue;
            }
            picture = got;
            picturesDone = !got;
            progress = true;
        } else if (picture && pictureTime <= now + kSlack) {
            if (now + kSlack >= pictureTime + pictureDuration) {
                // Late: when the next picture is due as well, this one is dropped.
                double nextTime = 0.0;
                double nextDuration = 0.0;
                bool got = false;
                if (!unlocked([&] { got = decoder.DecodePicture(nextTime, nextDuration); })) {
                    continue;
                }
                if (got) {
                    pictureTime = nextTime;
                    pictureDuration = nextDuration;
                    ++dropped_;
                    continue;
                }
                picturesDone = true;  // it was the last one, which the decoder keeps
            }
            if (!unlocked([&] { decoder.ConvertPicture(back_.data()); })) {
                continue;
            }
            std::swap(back_, ready_);
            frameReady_ = true;
            picture = false;
            lastEnd = pictureTime + pictureDuration;
            progress = true;
        }

        if (!endSent && picturesDone && !picture && now + kSlack >= lastEnd && soundDone &&
            (stream == nullptr || stream->Queued() == 0)) {
            ++pendingEnds_;  // every stream has ended
            endSent = true;
            progress = true;
        }
        if (progress) {
            continue;
        }
        SettleLocked(asked, seen);
        if (endSent) {
            wake_.wait(lock);
        } else {
            double wait = kPollSeconds;
            if (picture && !soundClock_) {
                wait = std::clamp(pictureTime - now, 0.001, kPollSeconds);
            }
            wake_.wait_for(lock, std::chrono::microseconds(static_cast<int64_t>(wait * 1e6)));
        }
    }
}

}  // namespace mareldon
