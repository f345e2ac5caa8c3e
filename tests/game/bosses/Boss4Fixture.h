#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "game/bosses/Boss4Body.h"
#include "game/bosses/Boss4Head.h"
#include "game/bosses/Boss4LayerParts.h"
#include "game/bosses/Boss4Weapons.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageScene.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/game/bosses/Boss1Fixture.h"
#include "tools/archive/PlaceholderBoss4.h"
#include "tools/archive/PlaceholderEffects.h"
#include "tools/archive/PlaceholderStages.h"

namespace mareldon {

// The stage-4 entry: its time limit runs from stage time 190 s, when the face opens.
inline constexpr int32_t kBoss4Entry = 4;
inline constexpr const char* kBoss4Stage = "STAGE_KU";

inline std::vector<MbdWriter::Node> PlaceholderBoss4Nodes(StageModelBuilder& b) {
    return {PlaceholderBoss4Node(b, 0.0f, 300.0f)};
}

inline void PlaceholderBoss4Models(MbdWriter& writer, StageModelBuilder&) {
    AddPlaceholderBoss4Models(writer);
}

inline std::vector<uint8_t> Boss4StageArchive(const BossNodes& nodes, const BossModels& models) {
    MbdWriter writer;
    StageModelBuilder builder(writer);
    // Every bullet flashes: without its model a flash would bind the archive's first one.
    writer.AddModel("TEKIDAN_HATSYA01", QuadModel(writer, "TEKIDAN_HATSYA01", 0.25f, 0.25f));
    writer.AddModel(kBoss4Stage, builder.Stage(kBoss4Stage, nodes(builder), 300.0f, 25.0f));
    models(writer, builder);
    AddPlaceholderEffectData(writer);
    const PlaceholderSoundSlots sounds = AddPlaceholderSounds(writer);
    writer.AddGroup({"SYSTEMSE", sounds.effects, {}, {}});
    writer.AddGroup({"SYSTEMBGM", sounds.tunes, {}, {}});
    return writer.Build();
}

// The world screen on stage 4 with a face of the test's making, built through the stage
// objects and the bosses' classes; player 1 in play and shielded, every enemy bullet
// asked for kept in `shots`.
class Boss4Fixture : public BossStageFixture {
  public:
    explicit Boss4Fixture(const BossNodes& nodes = PlaceholderBoss4Nodes,
                          const BossModels& models = PlaceholderBoss4Models)
        : BossStageFixture(Boss4StageArchive(nodes, models), kBoss4Entry) {}

    Boss4Body* Body() { return FindOne<Boss4Body>(); }
    Boss4LayerPart23* Head() { return FindOne<Boss4LayerPart23>(); }
    Boss4LayerPart0* Root() { return FindOne<Boss4LayerPart0>(); }
    // The stage clock in frames: the body's clock.
    int32_t StageFrame() { return screen->GetStageScene()->GetStepCount(); }
    // Puts the stage clock just before `frame`.
    void JumpBefore(int32_t frame) { screen->GetStageScene()->SetMotionTime((float(frame) - 0.5f) / 60.0f); }

    // Steps after the screen has gone (the stage ended) do nothing.
    void BossStep() {
        if (screenGone)
            return;
        if (PlayerShip* ship = screen->GetPlayer(1))
            ship->SetProtection(100000, 1);
        if (drawing) {
            Step();
        } else {
            root.Update();
            root.CollectDead();
        }
    }
    void Steps(int32_t count) {
        for (int32_t i = 0; i < count; ++i)
            BossStep();
    }
    // Steps until the condition holds; the steps taken, or -1 past the limit.
    int32_t StepsUntil(const std::function<bool()>& done, int32_t limit = 20000) {
        for (int32_t i = 0; i < limit; ++i) {
            if (done())
                return i;
            BossStep();
        }
        return done() ? limit : -1;
    }
    // Steps until the face opens (stage frame 11400).
    bool OpenFace() {
        JumpBefore(11400);
        return StepsUntil([this] { return StepOf("BossEvent", "start.open 11400") >= 0; }, 10) >= 0;
    }
};

}  // namespace mareldon
