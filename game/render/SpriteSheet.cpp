#include "game/render/SpriteSheet.h"

#include "engine/render/device/GraphicsDevice.h"
#include "engine/render/draw/Renderer.h"

namespace mareldon {

namespace {

RefPtr<Texture> EntryTexture(const RefPtr<Renderer>& resources, const String& imageName) {
    if (!resources)
        return RefPtr<Texture>();
    RefPtr<SpriteEntry> entry = resources->FindSprite(imageName);
    if (!entry)
        return RefPtr<Texture>();
    RefPtr<ResourceProxy> image = entry->GetTexture(*resources);
    return image ? image->Inner() : RefPtr<Texture>();
}

}  // namespace

SpriteSheet::SpriteSheet(const RefPtr<Texture>& texture) : ResourceProxy(texture) {}

SpriteSheet::SpriteSheet(const RefPtr<Renderer>& resources, const String& imageName)
    : SpriteSheet(EntryTexture(resources, imageName)) {
    if (!resources)
        return;
    RefPtr<SpriteEntry> entry = resources->FindSprite(imageName);
    if (!entry)
        return;
    for (const SpriteFrame& frame : entry->frames) {
        new SpriteRect(&rects_, frame.name ? frame.name->Text() : "", frame.x, frame.y, frame.w, frame.h);
        ++rectCount_;
    }
}

RefPtr<Texture> SpriteSheet::NamedTexture(const RefPtr<Renderer>& resources, const String& textureName,
                                          uint32_t kind, int32_t width, int32_t height) {
    if (!resources)
        return RefPtr<Texture>();
    RefPtr<Texture> texture = resources->FindNamedTexture(textureName);
    if (!texture)
        texture = resources->CreateNamedTexture(textureName, kind, width, height);
    return texture;
}

SpriteSheet* SpriteSheet::SpriteSheetForTexture(const RefPtr<Renderer>& resources, const String& textureName,
                                                uint32_t kind, int32_t width, int32_t height) {
    return new SpriteSheet(NamedTexture(resources, textureName, kind, width, height));
}

SpriteSheet* SpriteSheet::SpriteSheetForOwnTexture(const RefPtr<Renderer>& resources, uint32_t kind,
                                                   int32_t width, int32_t height) {
    RefPtr<Texture> texture;
    const RefPtr<GraphicsDevice> device = resources ? resources->GetDevice() : RefPtr<GraphicsDevice>();
    if (device)
        texture = device->CreateTexture(kind, width, height);
    return new SpriteSheet(texture);
}

SpriteSheet::~SpriteSheet() {
    rects_.DeleteEntries();
}

const SpriteRect* SpriteSheet::FindOrNull(const char* name) const {
    return name != nullptr ? static_cast<const SpriteRect*>(rects_.Find(name)) : nullptr;
}

const SpriteRect& SpriteSheet::Find(const char* name) const {
    const SpriteRect* rect = FindOrNull(name);
    return rect != nullptr ? *rect : default_;
}

}  // namespace mareldon
