#include "game/render/TextDrawing.h"

#include <cmath>

#include "engine/core/Cp932.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/draw/SceneDrawSet.h"

namespace mareldon {

namespace {

constexpr uint32_t kInk = 0xFFFFFFFFu;
constexpr uint32_t kBackground = 0u;
constexpr uint32_t kOffsetMask = 0x00FFFFFFu;

// Bits from the most significant down, never past the end of the stream.
class BitReader {
  public:
    BitReader(const uint8_t* bytes, size_t size, size_t offset)
        : bytes_(bytes), bitEnd_(offset < size ? size * 8 : 0), bit_(offset * 8) {}
    // False when the stream has run out.
    bool Read(bool& bit) {
        if (bit_ >= bitEnd_)
            return false;
        bit = (bytes_[bit_ / 8] >> (7 - bit_ % 8)) & 1;
        ++bit_;
        return true;
    }

  private:
    const uint8_t* bytes_;
    size_t bitEnd_;
    size_t bit_;
};

// A run length, or false when the bits ran out first. Lengths beyond any glyph
// stop growing; the run is cut anyway.
bool ReadRun(BitReader& reader, uint64_t& length) {
    constexpr uint64_t kCap = uint64_t(1) << 40;
    uint64_t value = 0;
    uint64_t m = 1;
    for (;;) {
        bool bit;
        if (!reader.Read(bit))
            return false;
        if (bit)
            break;
        if (!reader.Read(bit))
            return false;
        if (bit)
            value += m;
        if (m < kCap)
            m *= 2;
    }
    length = value + m;
    return true;
}

}  // namespace

void DecodeGlyph(const uint8_t* stream, size_t size, size_t offset, int32_t width, int32_t height,
                 uint32_t* pixels) {
    if (width <= 0 || height <= 0)
        return;
    const uint64_t total = uint64_t(width) * uint64_t(height);
    for (uint64_t i = 0; i < total; ++i)
        pixels[i] = kBackground;
    if (stream == nullptr)
        return;
    BitReader reader(stream, size, offset);
    bool ink;
    if (!reader.Read(ink))
        return;
    uint64_t written = 0;
    while (written < total) {
        uint64_t run;
        if (!ReadRun(reader, run))
            return;
        const uint64_t end = run < total - written ? written + run : total;
        if (ink) {
            for (uint64_t i = written; i < end; ++i)
                pixels[i] = kInk;
        }
        written = end;
        ink = !ink;
    }
}

// GlyphCache

GlyphCache::GlyphCache(const RefPtr<Renderer>& resources, const String& fontName, int32_t textureWidth,
                       int32_t textureHeight)
    : textureWidth_(textureWidth), textureHeight_(textureHeight) {
    head_.prev = head_.next = &head_;
    codeTable_.assign(kCodeCount, nullptr);
    if (resources)
        font_ = resources->FindFont(fontName);
    if (!font_)
        return;
    glyphWidth_ = font_->glyphWidth;
    glyphHeight_ = font_->glyphHeight;
    // A glyph that fits no cell gives no cells: text then draws nothing.
    if (glyphWidth_ < 1 || glyphWidth_ > textureWidth || glyphHeight_ < 1 || glyphHeight_ > textureHeight)
        return;
    const int32_t cellsX = textureWidth / glyphWidth_;
    const int32_t cellsY = textureHeight / glyphHeight_;
    cells_.resize(size_t(cellsX) * size_t(cellsY));
    size_t index = 0;
    for (int32_t c = 0; c < cellsX; ++c) {
        for (int32_t r = 0; r < cellsY; ++r) {
            Cell& cell = cells_[index++];
            cell.x = c * glyphWidth_;
            cell.y = r * glyphHeight_;
            LinkBeforeHead(&cell);
        }
    }
    pixels_.resize(size_t(glyphWidth_) * size_t(glyphHeight_));
}

GlyphCache::~GlyphCache() = default;

void GlyphCache::Unlink(Cell* cell) {
    cell->prev->next = cell->next;
    cell->next->prev = cell->prev;
}

void GlyphCache::LinkBeforeHead(Cell* cell) {
    cell->prev = head_.prev;
    cell->next = &head_;
    head_.prev->next = cell;
    head_.prev = cell;
}

bool GlyphCache::HasCode(uint16_t code) const {
    return font_ && font_->offsetTable && code < font_->offsetTable->words.size();
}

int32_t GlyphCache::Advance(uint16_t code) const {
    if (!HasCode(code))
        return 0;
    return int32_t(font_->offsetTable->words[code] >> 24);
}

bool GlyphCache::GetGlyph(uint16_t code, float uv[8], TextureBase& texture) {
    if (cells_.empty() || !HasCode(code))
        return false;
    const int32_t width = texture.Width();
    const int32_t height = texture.Height();
    if (width <= 0 || height <= 0)
        return false;
    Cell* cell = codeTable_[code];
    if (cell == nullptr) {
        cell = head_.next;
        if (cell->owner != nullptr)
            *cell->owner = nullptr;
        codeTable_[code] = cell;
        cell->owner = &codeTable_[code];

        WordArray& table = *font_->offsetTable;
        ++table.useCount;
        const ByteBlob* glyphs = font_->glyphs.Get();
        if (glyphs != nullptr)
            ++font_->glyphs->useCount;
        const size_t offset = table.words[code] & kOffsetMask;
        DecodeGlyph(glyphs != nullptr ? glyphs->bytes.data() : nullptr,
                    glyphs != nullptr ? glyphs->bytes.size() : 0, offset, glyphWidth_, glyphHeight_,
                    pixels_.data());
        texture.Upload(TextureRect{cell->x, cell->y, cell->x + glyphWidth_, cell->y + glyphHeight_},
                       PixelKind::ARGB8888, pixels_.data());
        if (glyphs != nullptr)
            --font_->glyphs->useCount;
        --table.useCount;
    }
    Unlink(cell);
    LinkBeforeHead(cell);

    const float invW = 1.0f / float(width);
    const float invH = 1.0f / float(height);
    const float uL = float(cell->x) * invW;
    const float uR = float(cell->x + glyphWidth_) * invW;
    const float vT = float(cell->y) * invH;
    const float vB = float(cell->y + glyphHeight_) * invH;
    uv[0] = uL;
    uv[1] = vT;
    uv[2] = uR;
    uv[3] = vT;
    uv[4] = uL;
    uv[5] = vB;
    uv[6] = uR;
    uv[7] = vB;
    return true;
}

// FontTexture

FontTexture::FontTexture(const RefPtr<Renderer>& resources, const String& fontName, int32_t width,
                         int32_t height)
    : SpriteSheet(NamedTexture(resources, fontName, kTextureSampled, width, height)) {
    if (Inner() && !Attachment())
        SetAttachment(RefPtr<TextureAttachment>(new GlyphCache(resources, fontName, width, height)));
}

FontTexture::~FontTexture() = default;

GlyphCache* FontTexture::Cache() {
    return dynamic_cast<GlyphCache*>(Attachment().Get());
}

// TextDrawer

TextDrawer::TextDrawer(const SceneDrawSet& set, const String& shadingName, const String& fontName)
    : ScreenDrawer(set, shadingName),
      font_(new FontTexture(set.renderer, fontName, kTextureSize, kTextureSize)) {
    layout.AddElement(2, "TPosition");
    layout.AddElement(3, "Diffuse");
    layout.AddElement(1, "TextureUV");
    // Every field of the font's sampler record is 0.
    SetTextureSlot(textures, "Diffuse", RefPtr<TextureBase>(font_), SamplerState{});
    codes_.reserve(256);
}

TextDrawer::~TextDrawer() = default;

const std::u16string& TextDrawer::Codes(std::string_view text) {
    codes_.clear();
    bool ascii = true;
    for (char byte : text)
        ascii = ascii && uint8_t(byte) < 0x80;
    // cp932 keeps ASCII as it is, so the usual text needs no conversion.
    if (ascii) {
        for (char byte : text)
            codes_.push_back(char16_t(uint8_t(byte)));
    } else {
        codes_ = Cp932ToUtf16(text);
    }
    return codes_;
}

float TextDrawer::AdvanceOf(GlyphCache* cache, char16_t code, float size, bool proportional) const {
    // A code past a short offset table has no glyph and takes no room.
    if (cache != nullptr && !cache->HasCode(uint16_t(code)))
        return 0.0f;
    if (proportional) {
        if (cache == nullptr || cache->GlyphWidth() <= 0)
            return 0.0f;
        return (float(cache->Advance(code)) / float(cache->GlyphWidth())) * size * 2.0f;
    }
    return code < 256 ? size : 2.0f * size;
}

float TextDrawer::MeasureText(float size, std::string_view text, bool proportional) {
    GlyphCache* cache = font_->Cache();
    float total = 0.0f;
    for (char16_t code : Codes(text))
        total += AdvanceOf(cache, code, size, proportional);
    return total;
}

void TextDrawer::DrawWideText(Vec3& end, const Vec3& position, float size, float height,
                              const ScreenColor& colour, std::string_view text, bool proportional) {
    Codes(text);
    DrawCodes(end, position, size, height, colour, proportional);
}

void TextDrawer::DrawText(Vec3& end, const Vec3& position, float size, float height,
                          const ScreenColor& colour, std::string_view text, bool proportional) {
    GlyphCache* cache = font_->Cache();
    float total = 0.0f;
    for (char16_t code : Codes(text))
        total += AdvanceOf(cache, code, size, proportional);
    DrawCodes(end, Vec3{position.x - total * 0.5f, position.y, position.z}, size, height, colour,
              proportional);
}

void TextDrawer::DrawCodes(Vec3& end, const Vec3& position, float size, float height,
                           const ScreenColor& colour, bool proportional) {
    GlyphCache* cache = font_->Cache();
    float px = std::trunc(position.x);
    const float py = position.y;
    const float z = position.z;
    const float quadWidth = 2.0f * size;
    for (char16_t code : codes_) {
        float uv[8];
        if (cache != nullptr && cache->GetGlyph(uint16_t(code), uv, *font_)) {
            const SpriteVertex topLeft{px, py, z, colour.r, colour.g, colour.b, colour.a, uv[0], uv[1]};
            const SpriteVertex topRight{px + quadWidth, py,       z,     colour.r, colour.g,
                                        colour.b,       colour.a, uv[2], uv[3]};
            const SpriteVertex bottomLeft{px,       py + height, z,     colour.r, colour.g,
                                          colour.b, colour.a,    uv[4], uv[5]};
            const SpriteVertex bottomRight{px + quadWidth, py + height, z,     colour.r, colour.g,
                                           colour.b,       colour.a,    uv[6], uv[7]};
            AddTriangle(&topLeft, &topRight, &bottomLeft, z, z, z);
            AddTriangle(&bottomLeft, &topRight, &bottomRight, z, z, z);
        }
        px += AdvanceOf(cache, code, size, proportional);
    }
    end = Vec3{px, py, z};
}

}  // namespace mareldon
