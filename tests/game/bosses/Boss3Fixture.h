#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/bosses/Boss3Body.h"
#include "tests/game/bosses/Boss1Fixture.h"
#include "tools/archive/PlaceholderBoss3.h"
#include "tools/archive/PlaceholderStages.h"

namespace mareldon {

// The stage-3 placeholder boss in view from the first frame, less what `omit` names.
inline BossNodes Boss3Nodes(PlaceholderBoss3Omit omit = {}) {
    return [omit](StageModelBuilder& b) -> std::vector<MbdWriter::Node> {
        return {PlaceholderBoss3Node(b, 0.0f, 300.0f, omit)};
    };
}

// With the bullets' muzzle flash: a missing effect model would bind the stage's in its place.
inline void Boss3Models(MbdWriter& writer, StageModelBuilder&) {
    AddPlaceholderBoss1Models(writer);
    AddPlaceholderBoss3Models(writer);
    writer.AddModel("TEKIDAN_HATSYA01", QuadModel(writer, "TEKIDAN_HATSYA01", 0.25f, 0.25f));
}

// The boss stage with the stage-3 boss, whose clock is the world root's.
class Boss3StageFixture : public BossStageFixture {
  public:
    explicit Boss3StageFixture(PlaceholderBoss3Omit omit = {})
        : BossStageFixture(Boss3Nodes(omit), Boss3Models) {}

    Boss3Body* Body3() {
        if (body3 == nullptr)
            body3 = FindOne<Boss3Body>();
        return body3;
    }
    int32_t WorldFrame() { return screen->GetWorldRoot()->GetStepCount(); }
    // Puts the world clock just before `frame`: what passed arrives as one lump.
    void JumpWorldBefore(int32_t frame) {
        screen->GetWorldRoot()->SetMotionTime((float(frame) - 0.5f) / 60.0f);
    }
    void Step3() {
        BossStep();
        frameAtStep[log.GetStep()] = WorldFrame();
    }
    void Steps3(int32_t count) {
        for (int32_t i = 0; i < count; ++i)
            Step3();
    }
    void StepToWorldFrame(int32_t frame) {
        for (int32_t i = 0; i < 100000 && WorldFrame() < frame; ++i)
            Step3();
    }
    StaticModelRoot* BossRoot3() { return static_cast<StaticModelRoot*>(Body3()->ParentNode()); }
    Boss3Section* Part(int32_t slot) { return Body3()->Part(slot); }
    // Runs the fight start: the world clock jumped just before frame 8700.
    void StartFight() {
        JumpWorldBefore(8695);
        StepToWorldFrame(8702);
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (const WorldEvent& e : log.Events())
            lines.push_back(std::to_string(e.step) + " " + e.operation + " " + e.arguments);
        return lines;
    }

    Boss3Body* body3 = nullptr;
};

}  // namespace mareldon
