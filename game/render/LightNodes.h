#pragma once

#include <cstdint>

#include "engine/core/KeyTrack.h"
#include "engine/core/Math.h"
#include "engine/render/draw/LightList.h"
#include "engine/render/scene/Object3D.h"

namespace mareldon {

// The scene's lights and fog. While its draw-self flag is 1, each node evaluates its
// tracks at its motion time during the draw traversal and appends its record to the
// Renderer's light list, which the shader generators read by name. The list is
// emptied at the start of every hierarchy draw, so records come in tree order and a
// disabled or removed node simply stops contributing.
//
// The colour tracks start empty, holding at both ends, their empty value the
// constructor's colour; a light file replaces them whole.
class LightNode : public Object3D {
  public:
    KeyTrack colour[4];  // r, g, b, a

  protected:
    LightNode(TaskObject* parent, const char* recordName, int32_t valueCount, const Vec4& initialColour);
    // The colour at time t into values first to first + 3.
    void EvaluateColour(float t, int32_t first);
    // The directional kinds: the world +z, the way the light shines, then the colour.
    void PublishDirectional();
    // Appends the record to the frame's light list.
    void Publish();
    bool Publishing() const { return drawSelf == 1 && renderer; }

    // Kept between frames, so appending it copies its name without allocating.
    LightRecord record;
};

// "AmbientLight": r, g, b, a.
class AmbientLight : public LightNode {
  public:
    AmbientLight(TaskObject* parent, const Vec4& colour);
    void DrawSelf() override;
};

// "DirectionalLight": dx, dy, dz, r, g, b, a.
class DirectionalLight : public LightNode {
  public:
    DirectionalLight(TaskObject* parent, const Vec4& colour);
    void DrawSelf() override;
};

// "DirectionalSpecularLight": dx, dy, dz, r, g, b, a.
class DirectionalSpecularLight : public LightNode {
  public:
    DirectionalSpecularLight(TaskObject* parent, const Vec4& colour);
    void DrawSelf() override;
};

// "SimpleFog": near, far, r, g, b, a.
class SimpleFog : public LightNode {
  public:
    SimpleFog(TaskObject* parent, float nearDistance, float farDistance, const Vec4& colour);
    void DrawSelf() override;

    KeyTrack nearTrack;
    KeyTrack farTrack;
};

}  // namespace mareldon
