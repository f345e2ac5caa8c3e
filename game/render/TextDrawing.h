#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/Math.h"
#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/render/archive/FontEntry.h"
#include "engine/render/device/TextureBase.h"
#include "game/render/ScreenDrawers.h"
#include "game/render/SpriteSheet.h"

namespace mareldon {

class Renderer;

// Decodes one run-length coded glyph (first bit: colour of the first run; runs
// alternate, each an interleaved Elias gamma code) into w*h pixels, ink 0xFFFFFFFF and
// background 0. Reads only stream[offset, size): bits that run out leave the rest
// background. Runs past the glyph are cut.
void DecodeGlyph(const uint8_t* stream, size_t size, size_t offset, int32_t width, int32_t height,
                 uint32_t* pixels);

// The glyphs of one font, decoded on demand into the cells of a texture and kept
// while they are used: the least recently used cell is recycled on a miss. It hangs
// on the font texture, so every FontTexture of the name shares it.
class GlyphCache : public TextureAttachment {
  public:
    static constexpr int32_t kCodeCount = 65536;

    GlyphCache(const RefPtr<Renderer>& resources, const String& fontName, int32_t textureWidth,
               int32_t textureHeight);
    ~GlyphCache() override;

    // The eight texture coordinates of the code's cell (uL, vT, uR, vT, uL, vB, uR, vB),
    // decoding and uploading it on a miss. False, uv untouched, when the cache has no
    // cells (no font, or a glyph size outside 1..texture size), the texture has no
    // size, or the code lies past the font's offset table.
    bool GetGlyph(uint16_t code, float uv[8], TextureBase& texture);

    int32_t CellCount() const { return int32_t(cells_.size()); }
    int32_t GlyphWidth() const { return glyphWidth_; }
    int32_t GlyphHeight() const { return glyphHeight_; }
    // Whether the font's offset table reaches the code.
    bool HasCode(uint16_t code) const;
    // Bits 24-31 of the code's offset table entry; 0 past a short table.
    int32_t Advance(uint16_t code) const;
    // Whether the code's glyph is in a cell (tests).
    bool IsCached(uint16_t code) const { return codeTable_[code] != nullptr; }

  private:
    struct Cell {
        int32_t x = 0;
        int32_t y = 0;
        Cell** owner = nullptr;  // the code table slot pointing here
        Cell* prev = nullptr;
        Cell* next = nullptr;
    };

    void Unlink(Cell* cell);
    void LinkBeforeHead(Cell* cell);

    RefPtr<FontData> font_;
    int32_t glyphWidth_ = 0;
    int32_t glyphHeight_ = 0;
    int32_t textureWidth_ = 0;
    int32_t textureHeight_ = 0;
    Cell head_;
    std::vector<Cell> cells_;
    std::vector<Cell*> codeTable_;
    std::vector<uint32_t> pixels_;  // one glyph, reused
};

// The sheet of a font's glyph cells: the renderer's named texture of the font's name
// (flags 1, Sampled) with its GlyphCache attached.
class FontTexture : public SpriteSheet {
  public:
    FontTexture(const RefPtr<Renderer>& resources, const String& fontName, int32_t width, int32_t height);
    ~FontTexture() override;

    // The attached cache; null when the texture could not be made.
    GlyphCache* Cache();
};

// Text as one textured quad per character from a FontTexture. Text is cp932 and
// becomes 16-bit codes (invalid bytes U+30FB). A quad is 2*size wide and `height`
// high; the pen advances size (codes < 256) or 2*size, or proportionally by the
// font's advance width.
class TextDrawer : public ScreenDrawer {
  public:
    static constexpr int32_t kTextureSize = 512;

    TextDrawer(const SceneDrawSet& set, const String& shadingName, const String& fontName);
    ~TextDrawer() override;

    // Left edge at trunc(position.x); the end is the pen after the last character.
    void DrawWideText(Vec3& end, const Vec3& position, float size, float height, const ScreenColor& colour,
                      std::string_view text, bool proportional = false);
    // Centred on position.x.
    void DrawText(Vec3& end, const Vec3& position, float size, float height, const ScreenColor& colour,
                  std::string_view text, bool proportional = false);
    // The summed advances of the text.
    float MeasureText(float size, std::string_view text, bool proportional = false);

    const RefPtr<FontTexture>& Font() const { return font_; }

  private:
    const std::u16string& Codes(std::string_view text);
    float AdvanceOf(GlyphCache* cache, char16_t code, float size, bool proportional) const;
    void DrawCodes(Vec3& end, const Vec3& position, float size, float height, const ScreenColor& colour,
                   bool proportional);

    RefPtr<FontTexture> font_;
    std::u16string codes_;  // reused between calls
};

}  // namespace mareldon
