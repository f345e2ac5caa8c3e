#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace mareldon {

// What a written movie holds.
struct MovieSpec {
    int32_t width = 64;  // width and height 0: sound alone, as long as the pictures would last
    int32_t height = 48;
    int32_t frameCount = 30;
    int32_t framesPerSecond = 25;  // one of the MPEG-1 picture rates: 24, 25, 30, 50, 60
    int32_t soundRate = 0;         // 0: no sound; else 32000, 44100 or 48000 (or half of one)
    int32_t soundChannels = 1;     // 1 or 2
};

// Movies of our own for tests and the placeholder data set: an MPEG-1 system
// stream of mpeg1video pictures (with B pictures, so the decoder must reorder)
// and MP2 sound, encoded with libavcodec.
class MovieWriter {
  public:
    // Paints picture index as width x height words 0xFFRRGGBB, top row first.
    using PaintPicture = std::function<void(int32_t index, uint32_t* pixels)>;
    // Makes count 16-bit interleaved sound frames, the first being frame first.
    using MakeSound = std::function<void(int64_t first, int32_t count, int16_t* samples)>;

    explicit MovieWriter(const MovieSpec& spec) : spec_(spec) {}

    // The whole movie; empty when it cannot be written, and Error tells why.
    // The sound lasts as long as the pictures (its last block padded with silence).
    std::vector<uint8_t> Write(const PaintPicture& paint, const MakeSound& sound = nullptr);
    const std::string& Error() const { return error_; }

  private:
    MovieSpec spec_;
    std::string error_;
};

}  // namespace mareldon
