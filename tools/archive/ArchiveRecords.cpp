#include "tools/archive/ArchiveRecords.h"

#include <png.h>

#include "engine/core/ByteWriter.h"

namespace mareldon {

std::vector<uint8_t> EncodeSoundRecord(const std::vector<uint8_t>& pcm, int32_t bitsPerSample,
                                       int32_t samplesPerSecond, int32_t channels) {
    ByteWriter out;
    out.Count(pcm.size());
    out.Bytes(pcm);
    out.Pad4(0);
    out.I32(bitsPerSample);
    out.I32(samplesPerSecond);
    out.I32(channels);
    out.I32(0);
    out.I32(0);
    out.I32(0);  // flag
    return out.bytes;
}

std::vector<uint8_t> EncodeIimg(int32_t kind, int32_t width, int32_t height, int32_t levels,
                                const std::vector<uint16_t>& pixels) {
    ByteWriter out;
    out.Text("IIMG");
    out.I32(kind);
    out.I32(width);
    out.I32(height);
    out.I32(levels);
    for (int i = 0; i < 3; ++i) {
        out.U32(0);
    }
    int32_t w = width, h = height;
    for (int32_t level = 0; level < levels; ++level) {
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                size_t i = size_t(y) * size_t(width) + size_t(x);
                out.U16(i < pixels.size() ? pixels[i] : 0);
            }
        }
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
    }
    return out.bytes;
}

std::vector<uint8_t> EncodePng(int32_t width, int32_t height, const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &file,
        [](png_structp p, png_bytep data, png_size_t length) {
            auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
            out->insert(out->end(), data, data + length);
        },
        nullptr);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> row(size_t(width) * 4);
    for (int32_t y = 0; y < height; ++y) {
        for (size_t i = 0; i < row.size(); ++i) {
            size_t at = size_t(y) * row.size() + i;
            row[i] = at < rgba.size() ? rgba[at] : 0;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return file;
}

namespace {

class BitWriter {
  public:
    void Bit(bool one) {
        if (used_ % 8 == 0) {
            bytes.push_back(0);
        }
        if (one) {
            bytes.back() |= uint8_t(0x80 >> (used_ % 8));
        }
        ++used_;
    }
    // L >= 1 as interleaved Elias gamma: for each bit of L below its top bit,
    // from the lowest up, a 0 and that bit; then a 1.
    void RunLength(uint32_t length) {
        int top = 31 - std::countl_zero(length);
        for (int bit = 0; bit < top; ++bit) {
            Bit(false);
            Bit((length >> bit) & 1);
        }
        Bit(true);
    }
    std::vector<uint8_t> bytes;

  private:
    size_t used_ = 0;
};

}  // namespace

std::vector<uint8_t> EncodeGlyph(int32_t width, int32_t height, const std::vector<bool>& ink) {
    const size_t pixels = size_t(width) * size_t(height);
    auto at = [&](size_t i) { return i < ink.size() && ink[i]; };
    BitWriter out;
    out.Bit(pixels > 0 && at(0));
    for (size_t i = 0; i < pixels;) {
        size_t run = 1;
        while (i + run < pixels && at(i + run) == at(i)) {
            ++run;
        }
        out.RunLength(uint32_t(run));
        i += run;
    }
    return out.bytes;
}

EncodedFont EncodeFont(int32_t glyphWidth, int32_t glyphHeight, const std::vector<FontGlyph>& glyphs) {
    EncodedFont font;
    font.offsetTable.assign(65536, 0);
    for (const FontGlyph& glyph : glyphs) {
        font.offsetTable[glyph.code] = uint32_t(glyph.advance) << 24 | uint32_t(font.bitStream.size());
        std::vector<uint8_t> coded = EncodeGlyph(glyphWidth, glyphHeight, glyph.ink);
        font.bitStream.insert(font.bitStream.end(), coded.begin(), coded.end());
    }
    return font;
}

}  // namespace mareldon
