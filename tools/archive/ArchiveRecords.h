#pragma once

#include <cstdint>
#include <vector>

namespace mareldon {

// Encoders of the records that live inside an archive's slots and blobs.

// A sound slot's record: PCM bytes, padding, bits, rate, channels, two zero
// parameters and a zero flag.
std::vector<uint8_t> EncodeSoundRecord(const std::vector<uint8_t>& pcm, int32_t bitsPerSample,
                                       int32_t samplesPerSecond, int32_t channels);

// An IIMG image: levels of A4R4G4B4 pixels, each level halving down to 1x1. The
// first level is `pixels` (w*h words); smaller levels repeat its top-left corner.
std::vector<uint8_t> EncodeIimg(int32_t kind, int32_t width, int32_t height, int32_t levels,
                                const std::vector<uint16_t>& pixels);

// A PNG file of 8-bit RGBA pixels (w*h*4 bytes), written by libpng.
std::vector<uint8_t> EncodePng(int32_t width, int32_t height, const std::vector<uint8_t>& rgba);

// One coded glyph: w*h pixels row by row (true = ink) as runs of alternating
// colours, the first bit giving the first colour, each length in interleaved
// Elias gamma code.
std::vector<uint8_t> EncodeGlyph(int32_t width, int32_t height, const std::vector<bool>& ink);

// A bitmap font: the 65536-word offset table and the glyph bit stream.
struct FontGlyph {
    uint16_t code = 0;
    uint8_t advance = 0;
    std::vector<bool> ink;  // glyph w*h
};
struct EncodedFont {
    std::vector<uint32_t> offsetTable;
    std::vector<uint8_t> bitStream;
};
// Codes without a glyph point at offset 0, the first glyph.
EncodedFont EncodeFont(int32_t glyphWidth, int32_t glyphHeight, const std::vector<FontGlyph>& glyphs);

}  // namespace mareldon
