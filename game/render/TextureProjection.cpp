#include "game/render/TextureProjection.h"

#include <algorithm>

#include "engine/render/draw/Renderer.h"

namespace mareldon {

TextureProjection::TextureProjection(TaskObject* parentTask, const RefPtr<TextureBase>& projected)
    : Object3D(parentTask, 0), texture(projected), record("TextureProjection", kRecordWords, nullptr) {}

TextureProjection::~TextureProjection() = default;

void TextureProjection::DrawSelf() {
    Apply();
}

void TextureProjection::Apply() {
    if (drawSelf != 1 || !renderer)
        return;
    record.texture = texture;
    std::copy(projection.m, projection.m + 16, record.values + 3);
    renderer->Lights().Add(record);
    // The list holds its own copy; this one lets go until the next frame.
    record.texture = RefPtr<TextureBase>();
}

}  // namespace mareldon
