#include "game/render/TextDrawing.h"

#include <cmath>

#include <gtest/gtest.h>

#include "tests/engine/render/device/DeviceFixture.h"
#include "tests/game/render/ScreenDrawFixture.h"

namespace mareldon {
namespace {

constexpr ScreenColor kWhite{1, 1, 1, 1};
constexpr uint32_t kInk = 0xFFFFFFFFu;
constexpr uint32_t kSentinel = 0x12345678u;

// A texture that keeps its uploads.
class UploadLog : public TextureBase {
  public:
    struct Record {
        TextureRect rect;
        PixelKind kind;
        std::vector<uint32_t> pixels;
    };
    UploadLog(int32_t w, int32_t h, int32_t glyphPixels) : w_(w), h_(h), glyphPixels_(glyphPixels) {}
    int32_t Width() override { return w_; }
    int32_t Height() override { return h_; }
    const float* ScreenTransform() override { return nullptr; }
    void DrawGeometry(const RefPtr<GeometryBuffer>&) override {}
    void Upload(const TextureRect& rect, PixelKind kind, const void* pixels) override {
        const auto* words = static_cast<const uint32_t*>(pixels);
        uploads.push_back({rect, kind, std::vector<uint32_t>(words, words + glyphPixels_)});
    }
    void SetViewport(const TextureViewport&) override {}
    const TextureViewport* GetViewport() override { return nullptr; }
    void Clear(const ClearRecord&) override {}
    void ClearAll(const ClearRecord&) override {}
    void SetAttachment(const RefPtr<TextureAttachment>& a) override { attachment_ = a; }
    RefPtr<TextureAttachment>& Attachment() override { return attachment_; }
    Texture* DeviceTexture() override { return nullptr; }

    std::vector<Record> uploads;

  private:
    int32_t w_, h_, glyphPixels_;
    RefPtr<TextureAttachment> attachment_;
};

std::vector<uint32_t> Decode(const std::vector<uint8_t>& stream, size_t offset, int32_t w, int32_t h) {
    std::vector<uint32_t> pixels(size_t(w * h) + 1, kSentinel);
    DecodeGlyph(stream.data(), stream.size(), offset, w, h, pixels.data());
    EXPECT_EQ(pixels.back(), kSentinel) << "written past the glyph";
    pixels.pop_back();
    return pixels;
}

std::vector<uint32_t> Pixels(const std::vector<bool>& ink) {
    std::vector<uint32_t> out;
    for (bool on : ink)
        out.push_back(on ? kInk : 0u);
    return out;
}

// A glyph with a diagonal and a bar, enough runs of several lengths.
std::vector<bool> TestGlyph(int32_t w, int32_t h, int seed) {
    std::vector<bool> ink(size_t(w * h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            ink[size_t(y * w + x)] = x == (y + seed) % w || (y == seed % h && x < w / 2);
    }
    return ink;
}

TEST(GlyphDecodeTest, CodedGlyphs) {
    // 0xFF: ink first, then seven runs of one pixel.
    EXPECT_EQ(Decode({0xFF}, 0, 7, 1), (std::vector<uint32_t>{kInk, 0, kInk, 0, kInk, 0, kInk}));
    // Ink, run 8 (0 0 0 0 0 0 1) on a 2x2 glyph: cut at 4 pixels.
    EXPECT_EQ(Decode({0x81}, 0, 2, 2), (std::vector<uint32_t>(4, kInk)));
    // Coded by the tools' encoder, at an offset.
    const std::vector<bool> ink = TestGlyph(24, 24, 5);
    std::vector<uint8_t> stream = {0xAA, 0x55};
    std::vector<uint8_t> coded = EncodeGlyph(24, 24, ink);
    stream.insert(stream.end(), coded.begin(), coded.end());
    EXPECT_EQ(Decode(stream, 2, 24, 24), Pixels(ink));
    // A stream cut short: what was decoded stays, the rest is background.
    std::vector<uint8_t> cut(coded.begin(), coded.begin() + 2);
    std::vector<uint32_t> partial = Decode(cut, 0, 24, 24);
    EXPECT_EQ(partial[5], kInk);  // row 0's diagonal pixel lies within the first bits
    for (size_t i = 24; i < partial.size(); ++i)
        ASSERT_EQ(partial[i], 0u) << i;
    // An offset past the stream, or no stream: all background.
    EXPECT_EQ(Decode(coded, coded.size(), 4, 4), std::vector<uint32_t>(16, 0u));
    EXPECT_EQ(Decode(coded, 1u << 23, 4, 4), std::vector<uint32_t>(16, 0u));
    EXPECT_EQ(Decode({}, 0, 4, 4), std::vector<uint32_t>(16, 0u));
    // A run of endless zero bits ends with the stream, not with an overflow.
    EXPECT_EQ(Decode(std::vector<uint8_t>(64, 0x00), 0, 8, 8), std::vector<uint32_t>(64, 0u));
}

class TextDrawingTest : public ::testing::Test {
  protected:
    // A font of glyphWidth x glyphHeight; 'A' (advance 24), 'B' (12) and U+3042 (24) coded.
    void LoadFont(int32_t glyphWidth, int32_t glyphHeight) {
        MbdWriter writer;
        EncodedFont font = EncodeFont(glyphWidth, glyphHeight,
                                      {{'A', 24, TestGlyph(glyphWidth, glyphHeight, 1)},
                                       {'B', 12, TestGlyph(glyphWidth, glyphHeight, 2)},
                                       {0x3042, 24, TestGlyph(glyphWidth, glyphHeight, 3)}});
        writer.AddFont("F24", glyphWidth, glyphHeight, writer.AddWordArray(font.offsetTable),
                       writer.AddBlob(font.bitStream));
        gpu.Make();
        draw.Load(RefPtr<GraphicsDevice>(gpu.device.get(), [](GraphicsDevice*) {}), writer.Build());
    }

    DeviceFixture gpu;
    ScreenDrawFixture draw;
};

TEST_F(TextDrawingTest, CacheFillsCellsColumnByColumnAndRecyclesTheLeastRecentlyUsed) {
    LoadFont(24, 24);
    GlyphCache cache(draw.renderer, "F24", 512, 512);
    UploadLog texture(512, 512, 24 * 24);
    EXPECT_EQ(cache.CellCount(), 441);
    float uv[8];
    ASSERT_TRUE(cache.GetGlyph('A', uv, texture));
    ASSERT_EQ(texture.uploads.size(), 1u);
    const UploadLog::Record& first = texture.uploads[0];
    EXPECT_EQ(first.rect.left, 0);
    EXPECT_EQ(first.rect.top, 0);
    EXPECT_EQ(first.rect.right, 24);
    EXPECT_EQ(first.rect.bottom, 24);
    EXPECT_EQ(first.kind, PixelKind::ARGB8888);
    EXPECT_EQ(first.pixels, Pixels(TestGlyph(24, 24, 1)));
    const float expected[8] = {0, 0, 24.0f / 512, 0, 0, 24.0f / 512, 24.0f / 512, 24.0f / 512};
    for (int i = 0; i < 8; ++i)
        EXPECT_FLOAT_EQ(uv[i], expected[i]) << i;

    // A hit uploads nothing; the second cell sits below the first.
    ASSERT_TRUE(cache.GetGlyph('A', uv, texture));
    ASSERT_TRUE(cache.GetGlyph('B', uv, texture));
    ASSERT_EQ(texture.uploads.size(), 2u);
    EXPECT_EQ(texture.uploads[1].rect.left, 0);
    EXPECT_EQ(texture.uploads[1].rect.top, 24);
    EXPECT_FLOAT_EQ(uv[1], 24.0f / 512);

    // Fill every cell; 'A' was used before 'B', so it is the oldest.
    for (uint16_t code = 0x100; code < 0x100 + 439; ++code)
        ASSERT_TRUE(cache.GetGlyph(code, uv, texture));
    EXPECT_EQ(texture.uploads.size(), 441u);
    EXPECT_TRUE(cache.IsCached('A'));
    ASSERT_TRUE(cache.GetGlyph(0x3042, uv, texture));
    EXPECT_FALSE(cache.IsCached('A'));
    EXPECT_TRUE(cache.IsCached('B'));
    EXPECT_EQ(texture.uploads.back().rect.top, 0);  // 'A''s cell
    EXPECT_EQ(texture.uploads.back().pixels, Pixels(TestGlyph(24, 24, 3)));
    ASSERT_TRUE(cache.GetGlyph('A', uv, texture));
    EXPECT_EQ(texture.uploads.size(), 443u);
    EXPECT_FALSE(cache.IsCached('B'));
}

// A glyph size outside 1..texture size gives no cells and nothing drawn (the archive
// refuses such fonts; the cache does not rely on it).
TEST_F(TextDrawingTest, GlyphSizesThatFitNoCellGiveNoCache) {
    LoadFont(24, 24);
    const std::pair<int32_t, int32_t> sizes[] = {{0, 24}, {24, 0}, {513, 24}, {24, 600}, {-3, 24}};
    for (auto [w, h] : sizes) {
        RefPtr<FontData> font = draw.renderer->FindFont("F24");
        font->glyphWidth = w;
        font->glyphHeight = h;
        RefPtr<GlyphCache> cache(new GlyphCache(font, 512, 512));
        EXPECT_EQ(cache->CellCount(), 0) << w << "x" << h;
        UploadLog texture(512, 512, 1);
        float uv[8] = {};
        EXPECT_FALSE(cache->GetGlyph('A', uv, texture));
        EXPECT_TRUE(texture.uploads.empty());

        // The cache hangs on the font's named texture, so the drawer takes it.
        RefPtr<SpriteSheet> named(
            SpriteSheet::SpriteSheetForTexture(draw.renderer, "F24", kTextureSampled, 512, 512));
        named->SetAttachment(RefPtr<TextureAttachment>(cache));
        TextDrawer text(*draw.set, "shadingname", "F24");
        ASSERT_EQ(text.Font()->Cache(), cache.Get());
        Vec3 end{};
        text.DrawText(end, Vec3{100, 100, 0}, 12, 24, kWhite, "AB");
        EXPECT_EQ(draw.Commands().CommandCount(), 0);
    }
    // 512 x 512 glyphs fit exactly one cell.
    RefPtr<FontData> font = draw.renderer->FindFont("F24");
    font->glyphWidth = font->glyphHeight = 512;
    EXPECT_EQ(GlyphCache(font, 512, 512).CellCount(), 1);
}

TEST_F(TextDrawingTest, TextAdvancesAndQuads) {
    LoadFont(24, 24);
    TextDrawer text(*draw.set, "shadingname", "F24");
    EXPECT_EQ(text.VertexSize(), 36);
    ASSERT_EQ(text.textures.size(), 1u);
    EXPECT_EQ(text.textures[0].sampler.addressU, TextureAddress::Wrap);
    EXPECT_EQ(text.textures[0].texture.Get(), static_cast<TextureBase*>(text.Font().Get()));
    ASSERT_NE(text.Font()->Cache(), nullptr);
    EXPECT_EQ(text.Font()->Width(), 512);

    struct Case {
        const char* text;
        bool proportional;
        float advance;
    };
    const Case cases[] = {
        {"AB", false, 24},        // size each below 256
        {"\x82\xA0", false, 24},  // U+3042: 2 * size
        {"AB", true, 36},         // 24/24 * 24, then 12/24 * 24
        {"\x80", false, 24},      // an invalid byte becomes U+30FB
        {"", false, 0},           // nothing
        {"A\x82\xA0", false, 36},
    };
    for (const Case& c : cases) {
        Vec3 end{};
        text.DrawWideText(end, Vec3{10.7f, 50, 0.25f}, 12, 24, kWhite, c.text, c.proportional);
        EXPECT_FLOAT_EQ(end.x, 10.0f + c.advance) << c.text << " " << c.proportional;
        EXPECT_EQ(end.y, 50.0f);
        EXPECT_EQ(end.z, 0.25f);
        EXPECT_EQ(text.MeasureText(12, c.text, c.proportional), c.advance);
        draw.Commands().Process();
    }

    // Centred: "AB" is 24 wide, so it starts at 228; one quad of 24 x 24 per character.
    Vec3 end{};
    text.DrawText(end, Vec3{240, 320, 0}, 12, 24, ScreenColor{1, 0, 0, 1}, "AB");
    EXPECT_EQ(end.x, 252.0f);
    ASSERT_EQ(draw.Commands().CommandCount(), 4);
    std::vector<SpriteVertex> first = draw.Vertices<SpriteVertex>(0);  // top-left, top-right, bottom-left
    EXPECT_EQ(first[0].x, 228.0f);
    EXPECT_EQ(first[0].y, 320.0f);
    EXPECT_EQ(first[1].x, 252.0f);
    EXPECT_EQ(first[2].y, 344.0f);
    EXPECT_EQ(first[0].g, 0.0f);
    EXPECT_EQ(first[1].u, first[2].v);  // 24/512: 'A''s cell is the first
    std::vector<SpriteVertex> second =
        draw.Vertices<SpriteVertex>(1);  // bottom-left, top-right, bottom-right
    EXPECT_EQ(second[2].x, 252.0f);
    EXPECT_EQ(second[2].y, 344.0f);
    EXPECT_EQ(draw.Vertices<SpriteVertex>(2)[0].x, 240.0f);  // 'B' one size on
    EXPECT_EQ(draw.Commands().CommandAt(0).key, 0.0f);

    // An empty string draws nothing and ends at trunc(x).
    draw.Commands().Process();
    text.DrawText(end, Vec3{-7.9f, 1, 0}, 12, 24, kWhite, "");
    EXPECT_EQ(end.x, -7.0f);
    EXPECT_EQ(draw.Commands().CommandCount(), 0);
}

// Text drawers of one font share its texture and cache.
TEST_F(TextDrawingTest, DrawersOfOneFontShareTheCache) {
    LoadFont(24, 24);
    TextDrawer a(*draw.set, "shadingname", "F24");
    TextDrawer b(*draw.set, "shadingname", "F24");
    EXPECT_EQ(a.Font()->Inner().Get(), b.Font()->Inner().Get());
    EXPECT_EQ(a.Font()->Cache(), b.Font()->Cache());
    Vec3 end{};
    a.DrawWideText(end, Vec3{0, 0, 0}, 12, 24, kWhite, "A");
    EXPECT_TRUE(b.Font()->Cache()->IsCached('A'));
}

// Codes past a short offset table draw nothing and take no room; the rest draws.
TEST_F(TextDrawingTest, CodesPastAShortTableDrawNothing) {
    LoadFont(24, 24);
    // The archive refuses such a table; a font shares its table with the cache.
    RefPtr<WordArray> table = draw.renderer->FindFont("F24")->offsetTable;
    table->words = SharedWords::Copy(table->words.data(), 0x42);  // 'A' is the last code it holds
    TextDrawer text(*draw.set, "shadingname", "F24");
    Vec3 end{};
    text.DrawWideText(end, Vec3{0, 0, 0}, 12, 24, kWhite, "ABA\x82\xA0");
    EXPECT_EQ(end.x, 24.0f);
    EXPECT_EQ(draw.Commands().CommandCount(), 4);
    EXPECT_FALSE(text.Font()->Cache()->IsCached('B'));
}

}  // namespace
}  // namespace mareldon
