#include "engine/render/scene/Object3D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/render/ArchiveObjects.h"
#include "tests/engine/render/scene/SceneTestNodes.h"

namespace mareldon {
namespace {

// a . b, in the order it is written.
Matrix4 Product(const Matrix4& a, const Matrix4& b) {
    return MatrixMultiply(b, a);
}

Matrix4 Translation(const Vec3& t) {
    Matrix4 m = Matrix4Identity();
    m[3] = t.x;
    m[7] = t.y;
    m[11] = t.z;
    return m;
}

Vec3 Transform(const Matrix4& m, const Vec3& p) {
    return Vec3TransformCoord(p, m);
}

void ExpectNear(const Vec3& actual, const Vec3& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// The five factors written out one by one, Euler from three single-axis turns.
Matrix4 FullProduct(uint32_t mask, const Vec3& position, const Quaternion& q, const Vec3& euler,
                    const Vec3& scale, const Vec3& pivot) {
    Matrix4 rq = Matrix4Identity();
    if (mask & kMaskQuaternion) {
        rq = {{1 - 2 * (q.y * q.y + q.z * q.z), 2 * (q.x * q.y - q.w * q.z), 2 * (q.x * q.z + q.w * q.y), 0,
               2 * (q.x * q.y + q.w * q.z), 1 - 2 * (q.x * q.x + q.z * q.z), 2 * (q.y * q.z - q.w * q.x), 0,
               2 * (q.x * q.z - q.w * q.y), 2 * (q.y * q.z + q.w * q.x), 1 - 2 * (q.x * q.x + q.y * q.y), 0,
               0, 0, 0, 1}};
    }
    Matrix4 re = Matrix4Identity();
    if (mask & kMaskEuler) {
        const float cx = std::cos(euler.x), sx = std::sin(euler.x);
        const float cy = std::cos(euler.y), sy = std::sin(euler.y);
        const Matrix4 rx{{1, 0, 0, 0, 0, cx, -sx, 0, 0, sx, cx, 0, 0, 0, 0, 1}};
        const Matrix4 ry{{cy, 0, sy, 0, 0, 1, 0, 0, -sy, 0, cy, 0, 0, 0, 0, 1}};
        re = Product(Product(ry, rx), MatrixRotationZ(euler.z));
    }
    Matrix4 s = Matrix4Identity();
    if (mask & kMaskScale) {
        s[0] = scale.x;
        s[5] = scale.y;
        s[10] = scale.z;
    }
    const Matrix4 t = (mask & kMaskPosition) ? Translation(position) : Matrix4Identity();
    const Matrix4 p =
        (mask & kMaskPivot) ? Translation(Vec3{-pivot.x, -pivot.y, -pivot.z}) : Matrix4Identity();
    return Product(Product(Product(Product(t, rq), re), s), p);
}

TEST(Object3DTest, ComposeLocalMatrixEqualsTheFullProductForEveryMask) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    for (uint32_t mask = 0; mask < 32; ++mask) {
        for (int round = 0; round < 20; ++round) {
            const Vec3 position{4 * unit(random), 4 * unit(random), 4 * unit(random)};
            // Not normalised: the quaternion is used as it is.
            const Quaternion q{unit(random), unit(random), unit(random), unit(random)};
            const Vec3 euler{3.2f * unit(random), 3.2f * unit(random), 3.2f * unit(random)};
            const Vec3 scale{1.5f + unit(random), 1.5f + unit(random), 1.5f + unit(random)};
            const Vec3 pivot{4 * unit(random), 4 * unit(random), 4 * unit(random)};
            const Matrix4 composed = ComposeLocalMatrix(mask, position, q, euler, scale, pivot);
            const Matrix4 expected = FullProduct(mask, position, q, euler, scale, pivot);
            for (int r = 0; r < 4; ++r) {
                // Within 1e-6 of the row's size: a row sums terms of that size.
                float size = 1.0f;
                for (int c = 0; c < 4; ++c)
                    size = std::fmax(size, std::fabs(expected[4 * r + c]));
                for (int c = 0; c < 4; ++c)
                    ASSERT_NEAR(composed[4 * r + c], expected[4 * r + c], 1e-6f * size)
                        << "mask " << mask << " element " << 4 * r + c;
            }
        }
    }
    EXPECT_EQ(MaxDifference(ComposeLocalMatrix(0, {1, 2, 3}, {1, 2, 3, 4}, {1, 2, 3}, {2, 2, 2}, {1, 1, 1}),
                            Matrix4Identity()),
              0.0f);
}

TEST(Object3DTest, EachFactorMovesAKnownPoint) {
    const Vec3 zero{0, 0, 0};
    const Vec3 one{1, 1, 1};
    const Quaternion none{0, 0, 0, 1};
    const float quarter = float(M_PI / 2);
    // A quarter turn about y (the quaternion's way round) takes +x to -z.
    const Quaternion yaw{0, std::sin(quarter / 2), 0, std::cos(quarter / 2)};
    struct Case {
        uint32_t mask;
        Vec3 position;
        Quaternion q;
        Vec3 euler;
        Vec3 scale;
        Vec3 pivot;
        Vec3 in;
        Vec3 out;
    };
    const Case cases[] = {
        {kMaskPosition, {5, 6, 7}, none, zero, one, zero, {1, 0, 0}, {6, 6, 7}},
        {kMaskPivot, zero, none, zero, one, {1, 2, 3}, {1, 2, 3}, {0, 0, 0}},
        {kMaskScale, zero, none, zero, {2, 3, 4}, zero, {1, 1, 1}, {2, 3, 4}},
        {kMaskQuaternion, zero, yaw, zero, one, zero, {1, 0, 0}, {0, 0, -1}},
        {kMaskEuler, zero, none, {0, quarter, 0}, one, zero, {1, 0, 0}, {0, 0, -1}},
        {kMaskEuler, zero, none, {quarter, 0, 0}, one, zero, {0, 1, 0}, {0, 0, 1}},
        {kMaskEuler, zero, none, {0, 0, quarter}, one, zero, {1, 0, 0}, {0, 1, 0}},
        // Roll first, then yaw: +x goes to +y and stays there.
        {kMaskEuler, zero, none, {0, quarter, quarter}, one, zero, {1, 0, 0}, {0, 1, 0}},
        // Pivot first, then scale, then turn, then move.
        {kMaskPosition | kMaskEuler | kMaskScale | kMaskPivot,
         {10, 0, 0},
         none,
         {0, quarter, 0},
         {2, 2, 2},
         {1, 0, 0},
         {2, 0, 0},
         {10, 0, -2}},
    };
    for (const Case& c : cases) {
        const Matrix4 m = ComposeLocalMatrix(c.mask, c.position, c.q, c.euler, c.scale, c.pivot);
        SCOPED_TRACE("mask " + std::to_string(c.mask));
        ExpectNear(Transform(m, c.in), c.out);
    }
}

TEST(Object3DTest, StartsNeutralWithIdentityMatricesAndADirtyWorld) {
    SceneTestRoot root;
    Object3D node(&root, 0);
    EXPECT_EQ(node.GetComponentMask(), 0u);
    EXPECT_FALSE(node.IsLocalDirty());
    EXPECT_TRUE(node.IsWorldDirty());
    EXPECT_TRUE(node.IsInverseDirty());
    EXPECT_EQ(node.nodeType, kNodePlain);
    EXPECT_EQ(MaxDifference(node.GetWorldMatrix(), Matrix4Identity()), 0.0f);
    EXPECT_EQ(MaxDifference(node.GetInverseWorldMatrix(), Matrix4Identity()), 0.0f);
    // The root variant never rebuilds until moved.
    Object3D sceneRoot(&root, 0, kRootNode);
    EXPECT_FALSE(sceneRoot.IsWorldDirty());
    EXPECT_FALSE(sceneRoot.IsInverseDirty());
    EXPECT_EQ(sceneRoot.motionRoot, &sceneRoot);
    EXPECT_EQ(sceneRoot.timeScaleOwner, &sceneRoot);
    Object3D child(&sceneRoot, 0);
    EXPECT_EQ(child.motionRoot, &sceneRoot);
    EXPECT_EQ(child.timeScaleOwner, &sceneRoot);
}

// The five components, each with its setter, getter, neutral value and mask bit.
struct Component {
    const char* name;
    uint32_t bit;
    std::function<void(Object3D&, float)> set;  // every element to the value (w 1 for the quaternion)
    float neutral;
};

const std::vector<Component>& Components() {
    static const std::vector<Component> components = {
        {"position", kMaskPosition,
         [](Object3D& n, float v) {
             n.SetPosition({v, v, v});
         },
         0.0f},
        {"quaternion", kMaskQuaternion,
         [](Object3D& n, float v) {
             n.SetQuaternion({v, v, v, 1.0f});
         },
         0.0f},
        {"euler", kMaskEuler,
         [](Object3D& n, float v) {
             n.SetRotation({v, v, v});
         },
         0.0f},
        {"scale", kMaskScale,
         [](Object3D& n, float v) {
             n.SetScale({v, v, v});
         },
         1.0f},
        {"pivot", kMaskPivot,
         [](Object3D& n, float v) {
             n.SetPivot({v, v, v});
         },
         0.0f},
    };
    return components;
}

TEST(Object3DTest, SettersTrackTheMaskAndDirtyNothingForAnEqualValue) {
    SceneTestRoot root;
    for (const Component& component : Components()) {
        SCOPED_TRACE(component.name);
        Object3D parent(&root, 0);
        Object3D child(&parent, 0);
        component.set(parent, 0.5f);
        EXPECT_EQ(parent.GetComponentMask(), component.bit);
        EXPECT_TRUE(parent.IsLocalDirty());
        child.GetInverseWorldMatrix();
        ASSERT_FALSE(parent.IsLocalDirty());
        ASSERT_FALSE(child.IsWorldDirty());

        // The value it has: no flag moves, and the subtree stays clean.
        component.set(parent, 0.5f);
        EXPECT_FALSE(parent.IsLocalDirty());
        EXPECT_FALSE(parent.IsWorldDirty());
        EXPECT_FALSE(child.IsWorldDirty());
        EXPECT_FALSE(child.IsInverseDirty());

        // Back to neutral: the bit clears and the factor leaves the matrix.
        component.set(parent, component.neutral);
        EXPECT_EQ(parent.GetComponentMask(), 0u);
        EXPECT_TRUE(child.IsWorldDirty());
        EXPECT_EQ(MaxDifference(parent.GetWorldMatrix(), Matrix4Identity()), 0.0f);
    }
}

TEST(Object3DTest, WorldAndInverseFollowAParentOnlyWhenRead) {
    SceneTestRoot root;
    Object3D parent(&root, 0);
    Object3D child(&parent, 0);
    Object3D grandchild(&child, 0);
    child.SetPosition({1, 0, 0});
    grandchild.SetRotation({0, float(M_PI / 2), 0});
    ExpectNear(Transform(grandchild.GetWorldMatrix(), {1, 0, 0}), {1, 0, -1});
    grandchild.GetInverseWorldMatrix();

    parent.SetPosition({10, 0, 0});
    // Stale until read: the flags are set, the stored matrices not yet rebuilt.
    EXPECT_TRUE(child.IsWorldDirty());
    EXPECT_TRUE(grandchild.IsWorldDirty());
    EXPECT_TRUE(grandchild.IsInverseDirty());
    EXPECT_FALSE(child.IsLocalDirty());
    ExpectNear(Transform(grandchild.GetWorldMatrix(), {1, 0, 0}), {11, 0, -1});
    EXPECT_FALSE(child.IsWorldDirty()) << "read through the child";
    EXPECT_TRUE(grandchild.IsInverseDirty());
    ExpectNear(Transform(grandchild.GetInverseWorldMatrix(), {11, 0, -1}), {1, 0, 0});
    EXPECT_FALSE(grandchild.IsInverseDirty());
}

TEST(Object3DTest, AnExactQuarterYawInvertsToItsTransposeBasedInverse) {
    SceneTestRoot root;
    const float quarter = float(M_PI / 2);
    const Vec3 turns[] = {{0, quarter, 0}, {0, -quarter, 0}, {quarter, quarter, 0}, {0, quarter, quarter}};
    for (const Vec3& turn : turns) {
        Object3D node(&root, 0);
        node.SetRotation(turn);
        node.SetPosition({3, -4, 5});
        const Matrix4& w = node.GetWorldMatrix();
        // inverse = [R^T | -R^T t]
        Matrix4 expected = Matrix4Identity();
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                expected[4 * r + c] = w[4 * c + r];
            expected[4 * r + 3] = -(w[r] * w[3] + w[4 + r] * w[7] + w[8 + r] * w[11]);
        }
        EXPECT_LT(MaxDifference(node.GetInverseWorldMatrix(), expected), 1e-5f)
            << turn.x << " " << turn.y << " " << turn.z;
    }
}

TEST(Object3DTest, LocalPointsAndTheForwardAxisInWorldSpace) {
    SceneTestRoot root;
    Object3D parent(&root, 0);
    parent.SetPosition({0, 5, 0});
    Object3D node(&parent, 0);
    node.SetPosition({1, 0, 0});
    node.SetPivot({0, 0, 2});
    node.SetRotation({0, float(M_PI / 2), 0});
    // The pivot sits at the node's position; points are measured from it.
    ExpectNear(node.GetWorldPosition(), {1, 5, 0});
    Vec3 out;
    node.LocalToWorld(out, {0, 0, 0});
    ExpectNear(out, {1, 5, 0});
    node.LocalToWorld(out, {1, 0, 0});
    ExpectNear(out, {1, 5, -1});
    ExpectNear(node.GetWorldForward(), {1, 0, 0});
}

TEST(Object3DTest, StepCountIsTheMotionTimeInFramesTruncated) {
    SceneTestRoot root;
    TestClock clock(&root);
    Object3D node(&clock, 0);
    const std::pair<float, int32_t> cases[] = {
        {0.5f, 30}, {0.51f, 30}, {0.0f, 0}, {-0.51f, -30}, {2.0f, 120}};
    for (const auto& [time, frames] : cases) {
        clock.SetMotionTime(time);
        EXPECT_EQ(clock.GetStepCount(), frames) << time;
        EXPECT_EQ(node.GetStepCount(), frames) << "read through the motion root";
    }
    // Writes go to the motion root as well.
    node.SetMotionTime(0.25f);
    EXPECT_EQ(clock.clock.time, 0.25f);
}

TEST(Object3DTest, ANodeWithoutAClockReadsZeroAndIgnoresWrites) {
    SceneTestRoot root;
    // Under a plain task: no motion root at all.
    Object3D loose(&root, 0);
    EXPECT_EQ(loose.motionRoot, nullptr);
    loose.SetMotionTime(3.0f);
    EXPECT_EQ(loose.GetMotionTime(), 0.0f);
    // Its own motion root without a clock: forwarding would never end.
    Object3D sceneRoot(&root, 0, kRootNode);
    Object3D child(&sceneRoot, 0);
    child.SetMotionTime(3.0f);
    EXPECT_EQ(child.GetMotionTime(), 0.0f);
    EXPECT_EQ(sceneRoot.GetStepCount(), 0);
}

TEST(Object3DTest, APlainTaskParentCountsAsIdentityAndScaleOne) {
    SceneTestRoot root;
    Object3D top(&root, 0);
    top.SetPosition({1, 2, 3});
    TaskObject plain(&top, 0);
    Object3D below(&plain, 0);
    below.SetPosition({1, 0, 0});
    ExpectNear(Transform(below.GetWorldMatrix(), {0, 0, 0}), {1, 0, 0});
    EXPECT_EQ(below.ParentNode(), nullptr);
    TestClock clock(&plain);
    EXPECT_EQ(clock.timeScaleOwner, nullptr);
    clock.AdvanceMotionTime();
    EXPECT_FLOAT_EQ(clock.GetMotionTime(), 1.0f / 60.0f);
    // Node walks step over the plain task.
    TestClock owner(&root, kRootNode);
    TestClock inside(&owner);
    TaskObject other(&owner, 0);
    owner.StepAnimation();
    EXPECT_FLOAT_EQ(inside.GetMotionTime(), 1.0f / 60.0f);
}

TEST(Object3DTest, ClocksRunAtTheOwnersScaleAndEndAtEveryAdvancePastTheEnd) {
    SceneTestRoot root;
    TestClock owner(&root, kRootNode);
    owner.scale = 0.5f;
    TestClock clock(&owner);
    Object3D plain(&clock, 0);
    TestClock nested(&plain);
    clock.clock.end = 0.02f;
    for (int i = 0; i < 4; ++i)
        owner.AdvanceMotionTime();
    EXPECT_FLOAT_EQ(clock.GetMotionTime(), 4 * 0.5f / 60.0f);
    EXPECT_FLOAT_EQ(nested.GetMotionTime(), 4 * 0.5f / 60.0f) << "reached through a plain node";
    // 0.0083, 0.0167, 0.025, 0.033: past 0.02 twice.
    EXPECT_EQ(clock.ends, 2);
    // The owner's end is 0: every advance is past it.
    EXPECT_EQ(owner.ends, 4);
}

TEST(Object3DTest, ShiftMotionTimeMovesKeysAndSpanButNotRotationKeys) {
    SceneTestRoot root;
    TestClock clock(&root);
    Object3D child(&clock, 0);
    clock.AddPositionKey(1.0f, {1, 2, 3}, 3);
    clock.tracks[Object3D::kTrackPivot + 2].SetKey(2.0f, 1.0f, 3);
    clock.keySpanStart = 1.0f;
    clock.keySpanEnd = 2.0f;
    clock.AddRotationKey(1.5f, {0, 0, 0, 1});
    child.tracks[Object3D::kTrackScale].SetKey(0.5f, 2.0f, 3);
    clock.ShiftMotionTime(0.25f);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(clock.tracks[i].keys[0].time, 1.25f);
    EXPECT_EQ(clock.tracks[Object3D::kTrackPivot + 2].keys[0].time, 2.25f);
    EXPECT_EQ(child.tracks[Object3D::kTrackScale].keys[0].time, 0.75f);
    EXPECT_EQ(clock.keySpanStart, 1.25f);
    EXPECT_EQ(clock.keySpanEnd, 2.25f);
    EXPECT_EQ(clock.rotationTrack.keys[0].time, 1.5f);
}

TEST(Object3DTest, ApplyTracksPosesFromKeyedTracksAndAlwaysThePivot) {
    SceneTestRoot root;
    TestClock clock(&root);
    clock.AddPositionKey(0.0f, {0, 0, 0}, 3);
    clock.AddPositionKey(1.0f, {2, 4, 6}, 3);
    clock.tracks[Object3D::kTrackScale].defaultValue = 7.0f;  // no keys: scale untouched
    for (int i = 0; i < 3; ++i)
        clock.tracks[Object3D::kTrackPivot + i].defaultValue = 5.0f;
    clock.SetMotionTime(0.5f);
    clock.ApplyTracks();
    ExpectNear(clock.GetPosition(), {1, 2, 3});
    ExpectNear(clock.GetScale(), {1, 1, 1});
    ExpectNear(clock.GetPivot(), {5, 5, 5});
    clock.ClearTracks();
    clock.ApplyTracks();
    ExpectNear(clock.GetPivot(), {0, 0, 0});
    ExpectNear(clock.GetPosition(), {1, 2, 3});  // empty position tracks leave the position
    EXPECT_EQ(clock.tracks[0].preMode, 1);
    EXPECT_EQ(clock.tracks[0].postMode, 1);
}

TEST(Object3DTest, ARecordPosesItsNodeAndGivesItsKeySpan) {
    SceneTestRoot root;
    TestClock clock(&root);
    clock.SetMotionTime(1.0f);
    RefPtr<ModelNodeData> record(new ModelNodeData());
    RefPtr<KeyTrack> x(new KeyTrack());
    x->SetKey(0.5f, 0.0f, 3);
    x->SetKey(1.5f, 4.0f, 3);
    RefPtr<KeyTrack> yaw(new KeyTrack());
    yaw->SetKey(-1.0f, 0.25f, 4);
    record->tracks[Object3D::kTrackPosition] = x;
    record->tracks[Object3D::kTrackEuler + 1] = yaw;
    Object3D node(&clock, record, 0);
    EXPECT_EQ(node.keySpanStart, -1.0f);
    EXPECT_EQ(node.keySpanEnd, 1.5f);
    ExpectNear(node.GetPosition(), {2, 0, 0});
    ExpectNear(node.GetRotation(), {0, 0.25f, 0});
    EXPECT_EQ(node.tracks[0].keyCount, 2) << "a copy of the record's track";
}

// Records each call in a shared log and answers as it was told.
class LoggingController : public NodeController {
  public:
    LoggingController(std::vector<std::string>& log, const char* name, bool keep)
        : log_(log), name_(name), keep_(keep) {}
    ~LoggingController() override { log_.push_back(std::string("~") + name_); }
    bool Update(Object3D&) override {
        log_.push_back(name_);
        return keep_;
    }

  private:
    std::vector<std::string>& log_;
    const char* name_;
    bool keep_;
};

TEST(Object3DTest, AControllerAnsweringFalseGoesInThatAnimateAndTheRestKeepOrder) {
    std::vector<std::string> log;  // outlives the node, whose controllers write to it
    SceneTestRoot root;
    Object3D node(&root, 0);
    node.AddController(RefPtr<NodeController>(new LoggingController(log, "a", true)));
    node.AddController(RefPtr<NodeController>(new LoggingController(log, "b", false)));
    node.AddController(RefPtr<NodeController>(new LoggingController(log, "c", true)));
    node.AddController(RefPtr<NodeController>(new NodeController()));  // the base answers false
    node.Animate();
    EXPECT_EQ(log, (std::vector<std::string>{"c", "b", "~b", "a"}));
    EXPECT_EQ(node.ControllerCount(), 2);
    log.clear();
    node.Animate();
    EXPECT_EQ(log, (std::vector<std::string>{"c", "a"}));
}

TEST(Object3DTest, TheChildrenFlagGatesEveryWalkAndDrawSelfGatesTheNode) {
    SceneTestRoot root;
    struct Counting : Object3D {
        using Object3D::Object3D;
        void DrawSelf() override { ++draws; }
        void Submit(const RefPtr<RenderView>&) override { ++submits; }
        void Animate() override {
            ++animates;
            Object3D::Animate();
        }
        int draws = 0, submits = 0, animates = 0;
    };
    Counting parent(&root, 0);
    Counting child(&parent, 0);
    parent.nodeChildren = 0;
    parent.DrawTraversal();
    parent.SubmitTraversal(RefPtr<RenderView>());
    parent.Animate();
    EXPECT_EQ(parent.draws + parent.submits + parent.animates, 3);
    EXPECT_EQ(child.draws + child.submits + child.animates, 0);
    parent.nodeChildren = 1;
    parent.nodeDrawSelf = 0;
    parent.DrawTraversal();
    parent.SubmitTraversal(RefPtr<RenderView>());
    EXPECT_EQ(parent.draws + parent.submits, 2);
    EXPECT_EQ(child.draws + child.submits, 2);
}

}  // namespace
}  // namespace mareldon
