#pragma once

#include <cstdint>
#include <memory>

namespace mareldon {

class MovieSource;

// What a movie holds, known once it is open.
struct MovieFormat {
    int32_t width = 0;
    int32_t height = 0;
    int32_t soundRate = 0;      // 0: no sound track
    int32_t soundChannels = 0;  // 1 or 2
};

// Decodes one movie: its first video stream in display order and, when there
// is one, its first sound stream. Used by one thread at a time. Times are
// seconds from the start of the movie.
class MovieDecoder {
  public:
    virtual ~MovieDecoder() = default;
    // Reads the container's header from the source, which outlives the
    // decoder. False, with the reason logged, when the bytes are no movie or
    // hold no video stream that can be decoded.
    virtual bool Open(MovieSource* source, const char* name) = 0;
    virtual const MovieFormat& Format() const = 0;
    // Decodes the next picture. False at the end of the pictures, or when
    // nothing further decodes; the last picture decoded stays.
    virtual bool DecodePicture(double& time, double& duration) = 0;
    // Writes the last decoded picture as Format's width x height words
    // 0xFFRRGGBB, top row first.
    virtual void ConvertPicture(uint32_t* pixels) = 0;
    // Decodes the next block of sound as 16-bit interleaved frames, valid
    // until the next call. False at the end of the sound.
    virtual bool DecodeSound(const int16_t*& samples, int32_t& frames) = 0;
    // The sound is not wanted (a silent device): it is skipped, not decoded.
    virtual void IgnoreSound() = 0;
    // Back to the start with the decoders flushed: what follows is decoded
    // from a key picture on. False when the source cannot go back.
    virtual bool Rewind() = 0;
};

// Makes a decoder of the backend the program was put together with.
using MovieDecoderFactory = std::unique_ptr<MovieDecoder> (*)();

}  // namespace mareldon
