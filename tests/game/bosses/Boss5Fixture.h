#pragma once

#include <string>
#include <vector>

#include "game/bosses/Boss5Body.h"
#include "game/bosses/Boss5Cube.h"
#include "tests/game/bosses/Boss1Fixture.h"
#include "tools/archive/PlaceholderBoss5.h"

namespace mareldon {

// The placeholder stage-5 boss in view from the first frame, with the effects its
// defeat spawns.
inline std::vector<MbdWriter::Node> Boss5Nodes(StageModelBuilder& b) {
    return {PlaceholderBoss5Node(b, 0.0f, 400.0f), PlaceholderCubeNode(b, 0.0f, 400.0f)};
}

inline void Boss5Models(MbdWriter& writer, StageModelBuilder& b) {
    PlaceholderBossModels(writer, b);
    AddPlaceholderBoss5Models(writer);
}

class Boss5StageFixture : public BossStageFixture {
  public:
    Boss5StageFixture() : BossStageFixture(Boss5Nodes, Boss5Models) {}

    Boss5Body* Ball() { return FindOne<Boss5Body>(); }
    Boss5MandaraLayerPart0* Centre() { return FindOne<Boss5MandaraLayerPart0>(); }
    Boss5MandaraLayerPart22* Ring() { return FindOne<Boss5MandaraLayerPart22>(); }
    Boss5WeakPoint* WeakPoint(Boss5WeakPoint::Kind kind) {
        for (Boss5WeakPoint* part : Find<Boss5WeakPoint>()) {
            if (part->kind == kind)
                return part;
        }
        return nullptr;
    }
    int32_t WorldFrame() { return screen->GetWorldRoot()->GetStepCount(); }
    // The world root's clock just before `frame`: what passed arrives as one lump.
    void JumpWorldBefore(int32_t frame) {
        screen->GetWorldRoot()->SetMotionTime((float(frame) - 0.5f) / 60.0f);
    }
    // The stage clock `frames` ahead: what passed arrives as one lump.
    void JumpStage(int32_t frames) {
        StageScene* scene = screen->GetStageScene();
        scene->SetMotionTime(scene->GetMotionTime() + float(frames) / 60.0f);
    }
    // One step with the ship shielded, the update pass only.
    void Step5() {
        Shield();
        root.Update();
        root.CollectDead();
    }
    void Steps5(int32_t count) {
        for (int32_t i = 0; i < count; ++i)
            Step5();
    }
    // Steps until the entry appears (at most `limit` steps); its step or -1.
    int32_t StepUntilEntry(const char* operation, const char* arguments, int32_t limit = 2000) {
        for (int32_t i = 0; i < limit && StepOf(operation, arguments) < 0; ++i)
            Step5();
        return StepOf(operation, arguments);
    }
    // To the ball's fight start.
    bool StartFight() {
        if (!Start() || Ball() == nullptr)
            return false;
        Steps5(3);
        JumpWorldBefore(Boss5Body::kFightStart - 2);
        return StepUntilEntry("BossEvent", "ball.start 11400", 10) > 0;
    }
};

}  // namespace mareldon
