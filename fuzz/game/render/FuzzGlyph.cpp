// Any bytes as a font: byte 0 the glyph width, byte 1 the height, bytes 2-3 the
// offset table's word count (little-endian, cut to what follows), the table's words,
// then the bit stream. Every code of the table goes through a small glyph cache.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/render/TextDrawing.h"

namespace {

// A 64x64 texture that takes the uploads and checks their rectangles.
class CellTexture : public mareldon::TextureBase {
  public:
    int32_t Width() override { return 64; }
    int32_t Height() override { return 64; }
    const float* ScreenTransform() override { return nullptr; }
    void DrawGeometry(const mareldon::RefPtr<mareldon::GeometryBuffer>&) override {}
    void Upload(const mareldon::TextureRect& rect, mareldon::PixelKind, const void*) override {
        if (rect.left < 0 || rect.top < 0 || rect.right > 64 || rect.bottom > 64)
            __builtin_trap();
    }
    void SetViewport(const mareldon::TextureViewport&) override {}
    const mareldon::TextureViewport* GetViewport() override { return nullptr; }
    void Clear(const mareldon::ClearRecord&) override {}
    void ClearAll(const mareldon::ClearRecord&) override {}
    void SetAttachment(const mareldon::RefPtr<mareldon::TextureAttachment>& a) override { attachment = a; }
    mareldon::RefPtr<mareldon::TextureAttachment>& Attachment() override { return attachment; }
    mareldon::Texture* DeviceTexture() override { return nullptr; }
    mareldon::RefPtr<mareldon::TextureAttachment> attachment;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace mareldon;
    if (size < 4)
        return 0;
    RefPtr<FontData> font(new FontData());
    font->glyphWidth = data[0];
    font->glyphHeight = data[1];
    size_t words = size_t(data[2]) | size_t(data[3]) << 8;
    size_t at = 4;
    if (words > (size - at) / 4)
        words = (size - at) / 4;
    std::vector<uint32_t> table(words);
    for (size_t i = 0; i < words; ++i, at += 4)
        table[i] = uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 |
                   uint32_t(data[at + 3]) << 24;
    font->offsetTable.Reset(new WordArray());
    font->offsetTable->words = SharedWords::Copy(table.data(), table.size());
    font->glyphs.Reset(new ByteBlob());
    font->glyphs->bytes.assign(data + at, data + size);

    GlyphCache cache(font, 64, 64);
    CellTexture texture;
    float uv[8];
    // Every code of the table, then one past it; twice, so hits and evictions both run.
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t code = 0; code <= words && code < size_t(GlyphCache::kCodeCount); ++code)
            cache.GetGlyph(uint16_t(code), uv, texture);
    }
    return 0;
}
