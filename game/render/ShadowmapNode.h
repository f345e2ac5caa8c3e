#pragma once

#include <cstdint>

#include "engine/core/KeyTrack.h"
#include "engine/core/RefPtr.h"
#include "game/render/LightNodes.h"
#include "game/render/MakeshadowShaderGen.h"

namespace mareldon {

class CameraNode;
class RenderView;
class SpriteSheet;
struct LightTracks;

// The stage's shadow map: a camera at the light renders the shadow casters into a
// 256x256 render target with "Makeshadow" (depth as grey, white farthest), and every
// frame the node publishes the "Shadowmap" record the receiving materials compare
// depths with. The owner renders Camera() in its drawing pass before the scene's
// camera.
//
// Record (27 words): 0-2 the shadow texture, 3-18 the world to shadow-texture matrix
// (view, projection, scale (0.5, -0.5, 1), translation (0.5, 0.5, 0)), 19 near, 20
// far, 21 field of view (0: parallel), 22 bias, 23-26 the shadow colour.
class ShadowmapNode : public LightNode {
  public:
    static constexpr int32_t kSize = 256;
    static constexpr int32_t kRecordWords = 27;
    // Near, far, field of view, horizontal and vertical scale, bias.
    static constexpr float kDefaultParameters[6] = {19.0f, 41.0f, 0.0f, 0.07f, 0.07f, 0.1f};
    static constexpr float kDefaultColour[4] = {-0.1f, -0.08f, -0.08f, 1.0f};

    ShadowmapNode(TaskObject* parent, float p0, float p1, float p2, float p3, float p4, float p5,
                  const float* colour4);
    ~ShadowmapNode() override;

    // The camera takes this step's parameters before it builds its matrices.
    void Animate() override;
    void DrawSelf() override;
    // A light file's type-4 record: position, rotation, colour and parameter tracks.
    void ReadTracks(const LightTracks& record);

    CameraNode& Camera() { return *camera; }
    const RefPtr<RenderView>& View() const { return view; }
    const RefPtr<SpriteSheet>& ShadowTexture() const { return shadowTexture; }
    const RefPtr<MakeshadowShaderGen>& Generator() const { return generator; }
    // The world to shadow-texture matrix of the camera's current view.
    Matrix4 TextureMatrix() const;

    KeyTrack parameters[6];

  private:
    void SetCameraParameters(float t);

    RefPtr<MakeshadowShaderGen> generator;
    RefPtr<SpriteSheet> shadowTexture;
    CameraNode* camera = nullptr;  // a child task: the tree deletes it
    RefPtr<RenderView> view;
};

}  // namespace mareldon
