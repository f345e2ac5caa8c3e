#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform/MovieDecoder.h"

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVIOContext;
struct AVPacket;
struct SwrContext;
struct SwsContext;

namespace mareldon {

// A movie decoded with libavformat and libavcodec: any container and codecs
// they know. Pictures become 0xFFRRGGBB words through libswscale, sound 16-bit
// interleaved frames at the track's own rate through libswresample. The
// container's bytes come from a MovieSource through a custom I/O context.
class AvMovieDecoder final : public MovieDecoder {
  public:
    AvMovieDecoder();
    ~AvMovieDecoder() override;
    AvMovieDecoder(const AvMovieDecoder&) = delete;
    AvMovieDecoder& operator=(const AvMovieDecoder&) = delete;

    bool Open(MovieSource* source, const char* name) override;
    const MovieFormat& Format() const override { return format_; }
    bool DecodePicture(double& time, double& duration) override;
    void ConvertPicture(uint32_t* pixels) override;
    bool DecodeSound(const int16_t*& samples, int32_t& frames) override;
    void IgnoreSound() override;
    bool Rewind() override;

  private:
    struct PacketQueue {
        std::deque<AVPacket*> packets;
        size_t bytes = 0;
    };

    bool OpenSound();
    // One packet from the container into the queue of its stream; false at the end.
    bool ReadPacket();
    // The next packet of a stream, reading the container as far as needed.
    AVPacket* NextPacket(int stream);
    void ClearQueue(PacketQueue& queue);
    // The next frame of a stream's decoder into frame_, fed packets as it
    // asks; false at the stream's end.
    bool NextFrame(AVCodecContext* codec, int stream, bool& flushed, bool& ended);
    // Gives up the sound track (until the next Rewind); the pictures go on.
    void DropSound(const char* why);
    // Converts a decoded block into sound_; false when nothing came of it.
    bool ConvertSound(AVFrame* frame);
    double TimeOf(int64_t timestamp, int stream) const;

    static int ReadBytes(void* opaque, uint8_t* buffer, int size);
    static int64_t SeekBytes(void* opaque, int64_t offset, int whence);

    MovieSource* source_ = nullptr;
    std::string name_;
    MovieFormat format_;
    AVIOContext* io_ = nullptr;
    AVFormatContext* container_ = nullptr;
    AVCodecContext* video_ = nullptr;
    AVCodecContext* audio_ = nullptr;
    int videoStream_ = -1;
    int audioStream_ = -1;
    SwsContext* scaler_ = nullptr;
    SwrContext* resampler_ = nullptr;
    int resamplerFormat_ = -1;
    int resamplerRate_ = 0;
    int resamplerChannels_ = 0;
    AVFrame* picture_ = nullptr;  // the last decoded picture
    AVFrame* frame_ = nullptr;    // receives what the decoders give
    AVPacket* packet_ = nullptr;
    PacketQueue videoPackets_;
    PacketQueue audioPackets_;
    bool containerEnded_ = false;
    bool videoFlushed_ = false;
    bool videoEnded_ = false;
    bool audioFlushed_ = false;
    bool audioEnded_ = false;
    bool soundDropped_ = false;
    bool ignoreSound_ = false;
    bool needKey_ = false;
    bool soundStarted_ = false;
    double startTime_ = 0.0;
    double frameDuration_ = 0.04;
    double lastTime_ = 0.0;
    std::vector<int16_t> sound_;
    int64_t dropFrames_ = 0;  // sound before the movie's start, still to drop
    int readErrors_ = 0;
    int decodeErrors_ = 0;
    int rewindErrors_ = 0;
};

std::unique_ptr<MovieDecoder> CreateAvMovieDecoder();

}  // namespace mareldon
