#pragma once

#include "engine/core/RefPtr.h"
#include "engine/render/device/TextureBase.h"
#include "engine/render/draw/LightList.h"
#include "engine/render/scene/Object3D.h"

namespace mareldon {

// Publishes, each frame while its draw-self flag is 1, the "TextureProjection" record
// the "Water" material reads: the texture to project and the matrix from world space
// to its coordinates, which the owner writes every frame (its camera's view and
// projection, then the scale (0.5, -0.5, 1) and the translation (0.5, 0.5, 0)).
//
// Record (19 words): 0-2 the texture (held counted in the record, so it cannot go
// away while the frame's list refers to it), 3-18 the matrix. An empty texture still
// publishes.
class TextureProjection : public Object3D {
  public:
    static constexpr int32_t kRecordWords = 19;

    TextureProjection(TaskObject* parent, const RefPtr<TextureBase>& texture);
    ~TextureProjection() override;

    void DrawSelf() override;
    // Publishes the record into the renderer's light list; the draw traversal calls it.
    void Apply();

    RefPtr<TextureBase> texture;
    Matrix4 projection = Matrix4Identity();

  private:
    LightRecord record;
};

}  // namespace mareldon
