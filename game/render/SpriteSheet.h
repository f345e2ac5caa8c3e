#pragma once

#include <cstdint>

#include "engine/core/NamedNode.h"
#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/render/archive/ResourceProxy.h"

namespace mareldon {

class Renderer;

// A named rectangle of a sheet: top-left texel and size, as the archive has them.
class SpriteRect : public NamedNode {
  public:
    SpriteRect(NamedNode* root, const char* name, float x, float y, float w, float h)
        : NamedNode(root, name), x(x), y(y), w(w), h(h) {}
    SpriteRect() : NamedNode(nullptr, ""), x(0.0f), y(0.0f), w(0.0f), h(0.0f) {}

    float x, y, w, h;
};

// One texture cut into named sprites. A sheet is a texture front, so it binds
// wherever a texture does; drawers hold it by handle.
class SpriteSheet : public ResourceProxy {
  public:
    // The archive's sprite entry of that name (a missing name gives the first
    // entry): its image, loaded on first use, and its rectangles in entry order.
    SpriteSheet(const RefPtr<Renderer>& resources, const String& imageName);
    // A sheet without rectangles over the renderer's named texture, created with
    // (kind, width, height) when the name holds none yet; kind is the texture
    // flags word. Sheets of one name share the texture.
    static SpriteSheet* SpriteSheetForTexture(const RefPtr<Renderer>& resources, const String& textureName,
                                              uint32_t kind, int32_t width, int32_t height);
    // A sheet without rectangles over a texture of its own, shared with no other
    // sheet (a render target one owner draws into); empty without a device.
    static SpriteSheet* SpriteSheetForOwnTexture(const RefPtr<Renderer>& resources, uint32_t kind,
                                                 int32_t width, int32_t height);
    ~SpriteSheet() override;

    // The rectangle of the name; the zero default when the sheet lacks it. Callers
    // on a hot path look it up once and keep the reference (it lives with the sheet).
    const SpriteRect& Find(const char* name) const;
    const SpriteRect* FindOrNull(const char* name) const;
    int32_t RectCount() const { return rectCount_; }
    // False when the texture has no size (it failed to load): nothing is drawn
    // from the sheet rather than dividing by zero.
    bool HasTexels() { return Width() > 0 && Height() > 0; }

  protected:
    explicit SpriteSheet(const RefPtr<Texture>& texture);
    // The renderer's named texture, made when the name holds none.
    static RefPtr<Texture> NamedTexture(const RefPtr<Renderer>& resources, const String& textureName,
                                        uint32_t kind, int32_t width, int32_t height);

  private:
    NameDictionary rects_{NamedNode::kDefaultBucketCount};
    SpriteRect default_;
    int32_t rectCount_ = 0;
};

}  // namespace mareldon
