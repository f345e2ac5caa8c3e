#pragma once

#include <cstdint>

#include "engine/core/Math.h"
#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/render/device/GraphicsDevice.h"
#include "engine/render/draw/DrawCommandList.h"
#include "game/render/SpriteSheet.h"

namespace mareldon {

class SceneDrawSet;

// Colours are r, g, b, a.
struct ScreenColor {
    float r, g, b, a;
};

// The vertex records the drawers emit, field by field as their vertex layouts say.
struct SpriteVertex {
    float x, y, z, r, g, b, a, u, v;
};
struct TexturedVertex {
    float x, y, z, u, v;
};
struct ColoredVertex {
    float x, y, z, r, g, b, a;
};

// Turns flat primitives into triangles and lines of the scene's command list. The
// drawer is the commands' descriptor (vertex layout, shading group as layer name,
// texture slots) and commands point at it, so its owner holds it by handle and
// queues only during its own draw. Positions are pixels of the portrait 480x640
// screen, (240, 320) the centre; z only orders (the key is a primitive's largest z).
class ScreenDrawer : public DrawDescriptor {
  public:
    ScreenDrawer(const SceneDrawSet& set, const String& shadingName);
    ~ScreenDrawer() override;

    const RefPtr<DrawCommandList>& Commands() const { return commands_; }

  protected:
    void AddTriangle(const void* a, const void* b, const void* c, float za, float zb, float zc);
    void AddLine(const void* a, const void* b, float za, float zb);

    RefPtr<DrawCommandList> commands_;
};

// Addressing U and V border (transparent black outside the sheet), W wrap, filters 0.
SamplerState BorderSampler();

// Coloured, textured quads from a sprite sheet (bound as "Diffuse").
class SpriteDrawer : public ScreenDrawer {
  public:
    SpriteDrawer(const SceneDrawSet& set, const String& shadingName, const RefPtr<SpriteSheet>& sheet);
    ~SpriteDrawer() override;

    // Opposite corners; C = (B.x, A.y) and D = (A.x, B.y) take the mean z and colour.
    void DrawQuad(const SpriteVertex& a, const SpriteVertex& b);
    // Centred on `centre`, w*sx by h*sy; far edges inset half a texel.
    void DrawSprite(const char* name, const Vec3& centre, const ScreenColor& colour, float sx = 1.0f,
                    float sy = 1.0f);
    void DrawSprite(const SpriteRect& rect, const Vec3& centre, const ScreenColor& colour, float sx = 1.0f,
                    float sy = 1.0f);
    // Stretched between A and B with their own colours.
    void DrawSpriteRect(const char* name, const Vec3& a, const ScreenColor& colourA, const Vec3& b,
                        const ScreenColor& colourB);
    void DrawSpriteRect(const SpriteRect& rect, const Vec3& a, const ScreenColor& colourA, const Vec3& b,
                        const ScreenColor& colourB);

    const RefPtr<SpriteSheet>& Sheet() const { return sheet_; }

  private:
    RefPtr<TextureBase> texture_;
    RefPtr<SpriteSheet> sheet_;
};

// Textured quads and triangles without vertex colour; sprite edges all inset half a texel.
class TexturedScreenDrawer : public ScreenDrawer {
  public:
    TexturedScreenDrawer(const SceneDrawSet& set, const String& shadingName,
                         const RefPtr<SpriteSheet>& sheet);
    ~TexturedScreenDrawer() override;

    void DrawQuad(const TexturedVertex& a, const TexturedVertex& b);
    // uv are (u, v) pairs.
    void DrawTriangle(const Vec3& a, const float uvA[2], const Vec3& b, const float uvB[2], const Vec3& c,
                      const float uvC[2]);
    // Stretched between A and B.
    void DrawSprite(const char* name, const Vec3& a, const Vec3& b);
    void DrawSprite(const SpriteRect& rect, const Vec3& a, const Vec3& b);
    void DrawSpriteScaled(const char* name, const Vec3& centre, float sx = 1.0f, float sy = 1.0f);
    void DrawSpriteScaled(const SpriteRect& rect, const Vec3& centre, float sx = 1.0f, float sy = 1.0f);

    const RefPtr<SpriteSheet>& Sheet() const { return sheet_; }

  private:
    RefPtr<TextureBase> texture_;
    RefPtr<SpriteSheet> sheet_;
};

// Flat-coloured quads, lines and circles.
class ColoredScreenDrawer : public ScreenDrawer {
  public:
    ColoredScreenDrawer(const SceneDrawSet& set, const String& shadingName);
    ~ColoredScreenDrawer() override;

    void DrawLine(const ColoredVertex& a, const ColoredVertex& b);
    // `segments` lines closing the circle; below 1 nothing, a fraction stops at the last whole one.
    void DrawCircleOutline(const Vec3& centre, float segments, float radius, const ScreenColor& colour);
    void DrawQuad(const ColoredVertex& a, const ColoredVertex& b);
    void DrawRect(const Vec3& a, const ScreenColor& colourA, const Vec3& b, const ScreenColor& colourB);
    // A fan from the first rim point (at `start` radians): n - 2 triangles of the
    // n-gon and one degenerate; below 2 nothing.
    void DrawFilledCircle(const Vec3& centre, float segments, float radius, const ScreenColor& colour,
                          float start = 0.0f);
};

}  // namespace mareldon
