#include "game/render/ScreenDrawers.h"

#include <algorithm>
#include <cmath>

#include "engine/render/draw/SceneDrawSet.h"

namespace mareldon {

namespace {

constexpr float kTwoPi = 6.2831855f;
// An infinite segment count would never end the loop.
constexpr int32_t kMaxSegments = 1 << 16;

float Largest(float a, float b, float c) {
    return std::max(std::max(a, b), c);
}

// Texel size of a sheet, or false when nothing can be drawn from it.
bool SheetScale(const RefPtr<SpriteSheet>& sheet, float& invW, float& invH) {
    if (!sheet || !sheet->HasTexels())
        return false;
    invW = 1.0f / float(sheet->Width());
    invH = 1.0f / float(sheet->Height());
    return true;
}

const SpriteRect& RectOf(const RefPtr<SpriteSheet>& sheet, const char* name) {
    static const SpriteRect kNone;
    return sheet ? sheet->Find(name) : kNone;
}

}  // namespace

SamplerState BorderSampler() {
    SamplerState sampler;
    sampler.addressU = TextureAddress::Border;
    sampler.addressV = TextureAddress::Border;
    sampler.addressW = TextureAddress::Wrap;
    sampler.magFilter = TextureFilter::None;
    sampler.minFilter = TextureFilter::None;
    sampler.mipFilter = TextureFilter::None;
    return sampler;
}

// ScreenDrawer

ScreenDrawer::ScreenDrawer(const SceneDrawSet& set, const String& shadingName) : commands_(set.commands) {
    layerName = shadingName;
}

ScreenDrawer::~ScreenDrawer() = default;

void ScreenDrawer::AddTriangle(const void* a, const void* b, const void* c, float za, float zb, float zc) {
    if (commands_)
        commands_->AddTriangle(Largest(za, zb, zc), this, a, b, c);
}

void ScreenDrawer::AddLine(const void* a, const void* b, float za, float zb) {
    if (commands_)
        commands_->AddLine(std::max(za, zb), this, a, b);
}

// SpriteDrawer

SpriteDrawer::SpriteDrawer(const SceneDrawSet& set, const String& shadingName,
                           const RefPtr<SpriteSheet>& sheet)
    : ScreenDrawer(set, shadingName), texture_(sheet), sheet_(sheet) {
    layout.AddElement(2, "TPosition");
    layout.AddElement(3, "Diffuse");
    layout.AddElement(1, "TextureUV");
    SetTextureSlot(textures, "Diffuse", texture_, BorderSampler());
}

SpriteDrawer::~SpriteDrawer() = default;

void SpriteDrawer::DrawQuad(const SpriteVertex& a, const SpriteVertex& b) {
    const float z = (a.z + b.z) * 0.5f;
    const float r = (a.r + b.r) * 0.5f, g = (a.g + b.g) * 0.5f, bl = (a.b + b.b) * 0.5f,
                al = (a.a + b.a) * 0.5f;
    const SpriteVertex c{b.x, a.y, z, r, g, bl, al, b.u, a.v};
    const SpriteVertex d{a.x, b.y, z, r, g, bl, al, a.u, b.v};
    AddTriangle(&a, &c, &d, a.z, c.z, d.z);
    AddTriangle(&d, &c, &b, d.z, c.z, b.z);
}

void SpriteDrawer::DrawSprite(const char* name, const Vec3& centre, const ScreenColor& colour, float sx,
                              float sy) {
    DrawSprite(RectOf(sheet_, name), centre, colour, sx, sy);
}

void SpriteDrawer::DrawSprite(const SpriteRect& rect, const Vec3& centre, const ScreenColor& colour, float sx,
                              float sy) {
    float invW, invH;
    if (!SheetScale(sheet_, invW, invH))
        return;
    const float hw = rect.w * sx * 0.5f;
    const float hh = rect.h * sy * 0.5f;
    const SpriteVertex a{centre.x - hw, centre.y - hh, centre.z,      colour.r,     colour.g,
                         colour.b,      colour.a,      rect.x * invW, rect.y * invH};
    const SpriteVertex b{centre.x + hw,
                         centre.y + hh,
                         centre.z,
                         colour.r,
                         colour.g,
                         colour.b,
                         colour.a,
                         (rect.x + rect.w - 0.5f) * invW,
                         (rect.y + rect.h - 0.5f) * invH};
    DrawQuad(a, b);
}

void SpriteDrawer::DrawSpriteRect(const char* name, const Vec3& a, const ScreenColor& colourA, const Vec3& b,
                                  const ScreenColor& colourB) {
    DrawSpriteRect(RectOf(sheet_, name), a, colourA, b, colourB);
}

void SpriteDrawer::DrawSpriteRect(const SpriteRect& rect, const Vec3& a, const ScreenColor& colourA,
                                  const Vec3& b, const ScreenColor& colourB) {
    float invW, invH;
    if (!SheetScale(sheet_, invW, invH))
        return;
    const SpriteVertex va{a.x,       a.y,       a.z,           colourA.r,    colourA.g,
                          colourA.b, colourA.a, rect.x * invW, rect.y * invH};
    const SpriteVertex vb{b.x,
                          b.y,
                          b.z,
                          colourB.r,
                          colourB.g,
                          colourB.b,
                          colourB.a,
                          (rect.x + rect.w - 0.5f) * invW,
                          (rect.y + rect.h - 0.5f) * invH};
    DrawQuad(va, vb);
}

// TexturedScreenDrawer

TexturedScreenDrawer::TexturedScreenDrawer(const SceneDrawSet& set, const String& shadingName,
                                           const RefPtr<SpriteSheet>& sheet)
    : ScreenDrawer(set, shadingName), texture_(sheet), sheet_(sheet) {
    layout.AddElement(2, "TPosition");
    layout.AddElement(1, "TextureUV");
    SetTextureSlot(textures, "Diffuse", texture_, BorderSampler());
}

TexturedScreenDrawer::~TexturedScreenDrawer() = default;

void TexturedScreenDrawer::DrawQuad(const TexturedVertex& a, const TexturedVertex& b) {
    const float z = (a.z + b.z) * 0.5f;
    const TexturedVertex c{b.x, a.y, z, b.u, a.v};
    const TexturedVertex d{a.x, b.y, z, a.u, b.v};
    AddTriangle(&a, &c, &d, a.z, c.z, d.z);
    AddTriangle(&d, &c, &b, d.z, c.z, b.z);
}

void TexturedScreenDrawer::DrawTriangle(const Vec3& a, const float uvA[2], const Vec3& b, const float uvB[2],
                                        const Vec3& c, const float uvC[2]) {
    const TexturedVertex va{a.x, a.y, a.z, uvA[0], uvA[1]};
    const TexturedVertex vb{b.x, b.y, b.z, uvB[0], uvB[1]};
    const TexturedVertex vc{c.x, c.y, c.z, uvC[0], uvC[1]};
    AddTriangle(&va, &vb, &vc, a.z, b.z, c.z);
}

void TexturedScreenDrawer::DrawSprite(const char* name, const Vec3& a, const Vec3& b) {
    DrawSprite(RectOf(sheet_, name), a, b);
}

void TexturedScreenDrawer::DrawSprite(const SpriteRect& rect, const Vec3& a, const Vec3& b) {
    float invW, invH;
    if (!SheetScale(sheet_, invW, invH))
        return;
    const TexturedVertex va{a.x, a.y, a.z, (rect.x + 0.5f) * invW, (rect.y + 0.5f) * invH};
    const TexturedVertex vb{b.x, b.y, b.z, (rect.x + rect.w - 0.5f) * invW, (rect.y + rect.h - 0.5f) * invH};
    DrawQuad(va, vb);
}

void TexturedScreenDrawer::DrawSpriteScaled(const char* name, const Vec3& centre, float sx, float sy) {
    DrawSpriteScaled(RectOf(sheet_, name), centre, sx, sy);
}

void TexturedScreenDrawer::DrawSpriteScaled(const SpriteRect& rect, const Vec3& centre, float sx, float sy) {
    const float hw = rect.w * sx * 0.5f;
    const float hh = rect.h * sy * 0.5f;
    DrawSprite(rect, Vec3{centre.x - hw, centre.y - hh, centre.z},
               Vec3{centre.x + hw, centre.y + hh, centre.z});
}

// ColoredScreenDrawer

ColoredScreenDrawer::ColoredScreenDrawer(const SceneDrawSet& set, const String& shadingName)
    : ScreenDrawer(set, shadingName) {
    layout.AddElement(2, "TPosition");
    layout.AddElement(3, "Diffuse");
}

ColoredScreenDrawer::~ColoredScreenDrawer() = default;

void ColoredScreenDrawer::DrawLine(const ColoredVertex& a, const ColoredVertex& b) {
    AddLine(&a, &b, a.z, b.z);
}

void ColoredScreenDrawer::DrawCircleOutline(const Vec3& centre, float segments, float radius,
                                            const ScreenColor& colour) {
    const float step = (1.0f / segments) * kTwoPi;
    auto point = [&](float angle) {
        return ColoredVertex{centre.x + std::cos(angle) * radius,
                             centre.y + std::sin(angle) * radius,
                             centre.z,
                             colour.r,
                             colour.g,
                             colour.b,
                             colour.a};
    };
    // Counted in floats as the segment count is: a fraction stops at the last whole segment.
    for (int32_t i = 1; float(i) <= segments && i <= kMaxSegments; ++i) {
        const ColoredVertex from = point(step * float(i - 1));
        const ColoredVertex to = point(step * float(i));
        AddLine(&from, &to, centre.z, centre.z);
    }
}

void ColoredScreenDrawer::DrawQuad(const ColoredVertex& a, const ColoredVertex& b) {
    const float z = (a.z + b.z) * 0.5f;
    const float r = (a.r + b.r) * 0.5f, g = (a.g + b.g) * 0.5f, bl = (a.b + b.b) * 0.5f,
                al = (a.a + b.a) * 0.5f;
    const ColoredVertex c{b.x, a.y, z, r, g, bl, al};
    const ColoredVertex d{a.x, b.y, z, r, g, bl, al};
    AddTriangle(&a, &c, &d, a.z, c.z, d.z);
    AddTriangle(&d, &c, &b, d.z, c.z, b.z);
}

void ColoredScreenDrawer::DrawRect(const Vec3& a, const ScreenColor& colourA, const Vec3& b,
                                   const ScreenColor& colourB) {
    DrawQuad(ColoredVertex{a.x, a.y, a.z, colourA.r, colourA.g, colourA.b, colourA.a},
             ColoredVertex{b.x, b.y, b.z, colourB.r, colourB.g, colourB.b, colourB.a});
}

void ColoredScreenDrawer::DrawFilledCircle(const Vec3& centre, float segments, float radius,
                                           const ScreenColor& colour, float start) {
    const float step = (1.0f / segments) * kTwoPi;
    auto point = [&](int32_t i) {
        const float angle = step * float(i) + start;
        return ColoredVertex{centre.x + std::cos(angle) * radius,
                             centre.y + std::sin(angle) * radius,
                             centre.z,
                             colour.r,
                             colour.g,
                             colour.b,
                             colour.a};
    };
    if (!(segments >= 2.0f))
        return;
    const ColoredVertex first = point(0);
    ColoredVertex previous = point(1);
    for (int32_t i = 2; float(i) <= segments && i <= kMaxSegments; ++i) {
        const ColoredVertex next = point(i);
        AddTriangle(&first, &previous, &next, first.z, previous.z, next.z);
        previous = next;
    }
}

}  // namespace mareldon
