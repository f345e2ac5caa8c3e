#include "game/stage/LineEffects.h"

#include <cmath>

#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/device/GraphicsDevice.h"
#include "engine/render/draw/Renderer.h"
#include "engine/render/scene/MeshObject.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"

namespace mareldon {

namespace {

constexpr float kTwoPi = 6.2831855f;

float Unit(Random& random) {
    return float(random.Next()) * (1.0f / 4294967296.0f);
}

Vec3 OnRing(float angle, float radius, float height) {
    return Vec3{std::cos(angle) * radius, height, std::sin(angle) * radius};
}

}  // namespace

void LineVertex::Set(const Vec3& position, const Vec4& colour) {
    x = position.x;
    y = position.y;
    z = position.z;
    r = colour.x;
    g = colour.y;
    b = colour.z;
    a = colour.w;
}

LineVertexList::LineVertexList(int32_t segments, const RefPtr<GraphicsDevice>& device)
    : RenderBatch(0, 0, 0),
      vertices(size_t(segments > 0 ? 2 * segments : 0)),
      capacity(2 * (segments > 0 ? segments : 0)) {
    cullOff = 1;
    if (!device || capacity == 0)
        return;
    VertexLayout layout;
    layout.AddElement(2, "Position");
    layout.AddElement(3, "Diffuse");
    buffer = device->CreateVertexBuffer(uint32_t(sizeof(LineVertex)), uint32_t(capacity), vertices.data(), 0);
    if (!buffer || buffer->Buffer() == nullptr)
        return;
    geometry = device->CreateGeometryBuffer(1, layout, buffer, 0, capacity, RefPtr<IndexBuffer>(), 0, 0);
    part.Reset(new MeshPart());
    part->name = kBatchName;
    part->layout = layout;
    parts.Add(part);
}

void LineVertexList::AddSegment(const Vec3& p1, const Vec4& c1, const Vec3& p2, const Vec4& c2) {
    if (count + 2 > capacity)
        return;
    vertices[size_t(count)].Set(p1, c1);
    vertices[size_t(count + 1)].Set(p2, c2);
    count += 2;
}

void LineVertexList::Draw() {
    cursor = count;
    drawnCount = count;
    if (!part)
        return;
    // An empty list draws nothing; the buffer keeps its size, only the count changes.
    part->geometry = count > 0 ? geometry : RefPtr<GeometryBuffer>();
    if (count == 0 || !geometry)
        return;
    FillGpuBuffer(buffer->Buffer(), vertices.data(), uint32_t(size_t(count) * sizeof(LineVertex)));
    geometry->SetVertexCount(count);
}

LineEffectA::LineEffectA(TaskObject* parentTask, GameWorldScreen* ownerScreen, const Vec3& position)
    : StaticModelPart(parentTask),
      lines(new LineVertexList(kListSegments, renderer ? renderer->GetDevice() : RefPtr<GraphicsDevice>())) {
    screen = ownerScreen;
    SetPosition(position);
    new MeshObject(this, RefPtr<RenderBatch>(lines));
}

void LineEffectA::OnUpdatePre() {
    LineVertexList& list = *lines;
    list.Clear();
    radius += kGrowth;

    const Vec4 green{0.0f, 1.0f, 0.0f, 1.0f};
    const Vec4 white{1.0f, 1.0f, 1.0f, 0.5f};
    const Vec4 teal{0.0f, 1.0f, 0.5f, 1.0f};
    const Vec4 grey{0.7f, 0.7f, 0.7f, 0.5f};
    const Vec4 red{0.5f, 0.0f, 0.0f, 0.5f};
    const float sweep = clock.time * kSweepRate;
    const float step = kTwoPi / float(kSegments);
    for (int32_t i = 1; i <= kSegments; ++i) {
        const float from = float(i - 1) * step, to = float(i) * step;
        const float a0 = direction * from, a1 = direction * to;
        if (to >= sweep) {
            list.AddSegment(OnRing(a0, radius, 0.3f), white, OnRing(a1, radius, 0.3f), green);
            list.AddSegment(OnRing(a0, radius, 0.2f), teal, OnRing(a1, radius, 0.2f), green);
            list.AddSegment(OnRing(a0, radius, 0.1f), teal, OnRing(a1, radius, 0.1f), green);
        } else {
            list.AddSegment(OnRing(a0, radius, 0.0f), grey, OnRing(a1, radius, 0.0f), red);
        }
    }

    if (screen == nullptr)
        return;
    Vec3 p;
    LocalToWorld(p, OnRing(direction * sweep, radius, 0.0f));
    const float a = Unit(random) * kTwoPi;
    const float v = 0.08f + Unit(random) * 0.04f;
    screen->SpawnSpark(p, Vec3{std::cos(a) * v, 0.0f, std::sin(a) * v}, kSparkSize);
    if ((GetStepCount() & 8) == 0)
        return;
    PlayerShip* target = screen->GetPlayer(3);
    if (target == nullptr)
        return;
    const Vec3 at = target->GetWorldPosition();
    const Vec3 unit = Vec3Normalize(Vec3{at.x - p.x, at.y - p.y, at.z - p.z});
    screen->FireEnemyBullet(p, Vec3{unit.x * kBulletSpeed, unit.y * kBulletSpeed, unit.z * kBulletSpeed},
                            kBulletKind, 1.0f);
}

LineEffectB::LineEffectB(TaskObject* parentTask, GameWorldScreen* ownerScreen, const Vec3& position)
    : LineEffectA(parentTask, ownerScreen, position) {
    direction = -1.0f;
}

}  // namespace mareldon
