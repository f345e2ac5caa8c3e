#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/Math.h"
#include "engine/core/Random.h"
#include "engine/core/RefPtr.h"
#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/device/GraphicsDevice.h"
#include "engine/render/draw/MeshPart.h"
#include "engine/render/draw/RenderBatch.h"
#include "game/stage/StaticModelPart.h"

namespace mareldon {

// One end of a line: position, then colour.
struct LineVertex {
    float x, y, z;
    float r, g, b, a;

    void Set(const Vec3& position, const Vec4& colour);
};
static_assert(sizeof(LineVertex) == 7 * sizeof(float));

// A batch of coloured line segments ("3dlines": "Position", "Diffuse"), refilled by
// its owner every step. A full list drops further segments.
class LineVertexList : public RenderBatch {
  public:
    static constexpr const char* kBatchName = "3dlines";

    // With a device the list draws through one vertex buffer made here and refilled
    // each frame; without one it only keeps its vertices.
    LineVertexList(int32_t segments, const RefPtr<GraphicsDevice>& device = RefPtr<GraphicsDevice>());

    void AddSegment(const Vec3& p1, const Vec4& c1, const Vec3& p2, const Vec4& c2);
    void Clear() {
        count = 0;
        cursor = -1;
    }
    // Hands the vertices to the draw as one line list (the part of layer "3dlines"); the
    // last drawn count stays readable (headless runs check what would be drawn).
    void Draw();
    void Prepare() override { Draw(); }

    int32_t Count() const { return count; }
    int32_t Capacity() const { return capacity; }
    const LineVertex& Vertex(int32_t index) const { return vertices[size_t(index)]; }
    int32_t DrawnCount() const { return drawnCount; }

  private:
    std::vector<LineVertex> vertices;
    int32_t capacity;
    int32_t cursor = -1;
    int32_t count = 0;
    int32_t drawnCount = 0;
    RefPtr<VertexBuffer> buffer;
    RefPtr<GeometryBuffer> geometry;
    RefPtr<MeshPart> part;
};

// A radar ring: it widens by 0.015 a step while a sweep goes round it once in 3 s,
// drawing the swept part flat and the rest raised, throwing a spark at the sweep
// point and, 8 steps on and 8 off, firing kind-12 bullets from there at a ship.
// `direction` -1 turns it the other way.
class LineEffectA : public StaticModelPart {
  public:
    static constexpr int32_t kSegments = 32;
    static constexpr int32_t kListSegments = 300;
    static constexpr float kGrowth = 0.015f;
    static constexpr float kSweepRate = 2.0943952f;
    static constexpr float kLife = 3.0f;
    static constexpr float kSparkSize = 6.0f;
    static constexpr int32_t kBulletKind = 12;
    static constexpr float kBulletSpeed = 0.09f;

    LineEffectA(TaskObject* parent, GameWorldScreen* screen, const Vec3& position);

    void OnUpdatePre() override;
    bool IsAlive() override { return clock.time < kLife; }

    RefPtr<LineVertexList> lines;
    float radius = 0.0f;
    Random random;

  protected:
    float direction = 1.0f;
};

// The same ring turning the other way.
class LineEffectB : public LineEffectA {
  public:
    LineEffectB(TaskObject* parent, GameWorldScreen* screen, const Vec3& position);
};

}  // namespace mareldon
