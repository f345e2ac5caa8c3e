#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "game/bosses/Boss1Body.h"
#include "game/bosses/RegisterBosses.h"
#include "game/objects/RegisterStageObjects.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/StaticModelRoot.h"
#include "tests/game/objects/EnemyStageFixture.h"
#include "tools/archive/PlaceholderBoss1.h"
#include "tools/archive/PlaceholderEffects.h"

namespace mareldon {

// One enemy bullet as a pattern asked for it.
struct BossShot {
    Vec3 position;
    Vec3 velocity;
    int32_t sprite;
    float size;
};

using BossNodes = std::function<std::vector<MbdWriter::Node>(StageModelBuilder&)>;
// Extra models of a test (a damaged broken model, say).
using BossModels = std::function<void(MbdWriter&, StageModelBuilder&)>;

// The speed of a bullet over the ground plane.
inline float ShotSpeed(const BossShot& s) {
    return std::sqrt(s.velocity.x * s.velocity.x + s.velocity.z * s.velocity.z);
}

// A stage without a boss, for patterns and muzzles tried on a mount of their own.
inline std::vector<MbdWriter::Node> NoBossNodes(StageModelBuilder&) {
    return {};
}

// The placeholder boss, in view from the first frame.
inline std::vector<MbdWriter::Node> PlaceholderBossNodes(StageModelBuilder& b) {
    return {PlaceholderBoss1Node(b, 0.0f, 300.0f)};
}

inline void PlaceholderBossModels(MbdWriter& writer, StageModelBuilder&) {
    AddPlaceholderBoss1Models(writer);
}

inline std::vector<uint8_t> BossStageArchive(const BossNodes& nodes, const BossModels& models) {
    MbdWriter writer;
    StageModelBuilder builder(writer);
    writer.AddModel(kFixtureStage, builder.Stage(kFixtureStage, nodes(builder), 300.0f, 25.0f));
    models(writer, builder);
    AddPlaceholderEffectData(writer);
    const PlaceholderSoundSlots sounds = AddPlaceholderSounds(writer);
    writer.AddGroup({"SYSTEMSE", sounds.effects, {}, {}});
    writer.AddGroup({"SYSTEMBGM", sounds.tunes, {}, {}});
    return writer.Build();
}

// The world screen on a stage whose "Scene" holds a boss of the test's making, built
// through the stage objects and the bosses' classes. Player 1 is in play and shielded,
// and every enemy bullet asked for is kept in `shots`.
class BossStageFixture : public WorldScreenFixture {
  public:
    explicit BossStageFixture(const BossNodes& nodes = PlaceholderBossNodes,
                              const BossModels& models = PlaceholderBossModels)
        : BossStageFixture(BossStageArchive(nodes, models)) {}
    // Another stage's archive, played as stage entry `stageEntry`.
    BossStageFixture(std::vector<uint8_t> archive, int32_t stageEntry)
        : BossStageFixture(std::move(archive)) {
        entry = stageEntry;
    }

    bool Start() {
        if (!StartWorld())
            return false;
        screen->SetEnemyShotProbe(
            [](void* context, const Vec3& p, const Vec3& v, int32_t sprite, float size) {
                static_cast<BossStageFixture*>(context)->shots.push_back(BossShot{p, v, sprite, size});
            },
            this);
        return true;
    }

    template <typename T>
    std::vector<T*> Find() {
        return FindNodes<T>(*static_cast<TaskObject*>(screen->GetWorldRoot()));
    }
    template <typename T>
    T* FindOne() {
        std::vector<T*> found = Find<T>();
        return found.empty() ? nullptr : found.front();
    }
    // Found once: the body lives as long as the stage.
    Boss1Body* Body() {
        if (body == nullptr)
            body = FindOne<Boss1Body>();
        return body;
    }
    StaticModelRoot* BossRoot() { return static_cast<StaticModelRoot*>(Body()->ParentNode()); }
    int32_t Frame() { return Body()->GetStepCount(); }

    // Puts the boss clock just before `frame`: what passed arrives as one lump.
    void JumpBefore(int32_t frame) { BossRoot()->SetMotionTime((float(frame) - 0.5f) / 60.0f); }
    void Shield() {
        if (screenGone)
            return;
        if (PlayerShip* ship = screen->GetPlayer(1))
            ship->SetProtection(100000, 1);
    }
    // One step with the ship shielded; notes the boss frame of the step.
    // The fight runs in the update pass; long runs leave the drawing out.
    void BossStep() {
        Shield();
        if (drawing) {
            Step();
        } else {
            root.Update();
            root.CollectDead();
        }
        if (Body() != nullptr)
            frameAtStep[log.GetStep()] = Frame();
    }
    void Steps(int32_t count) {
        for (int32_t i = 0; i < count; ++i)
            BossStep();
    }
    // The boss frame of the step of the first such entry; -1 when there is none.
    int32_t FrameOf(const char* operation, const char* arguments = nullptr) {
        const int32_t step = StepOf(operation, arguments);
        if (step < 0)
            return -1;
        auto found = frameAtStep.find(step);
        return found == frameAtStep.end() ? -2 : found->second;
    }
    // Damage as a shot brings it.
    static void Hit(Enemy* part, float damage) {
        AttackVector attack{};
        attack.values[0] = damage;
        part->ApplyAttack(1, attack);
    }
    Boss1Section* Section(int32_t index) { return Body()->Section(index); }
    // Steps until the boss clock reaches `frame`; the steps taken.
    int32_t StepToFrame(int32_t frame) {
        int32_t steps = 0;
        while (Body() != nullptr && Frame() < frame && steps < 100000) {
            BossStep();
            ++steps;
        }
        return steps;
    }
    // Entries of one operation.
    int32_t Count(const char* operation, const char* arguments = nullptr) const {
        return arguments == nullptr ? log.Count(operation) : log.Count(operation, arguments);
    }

  private:
    explicit BossStageFixture(std::vector<uint8_t> archive) : WorldScreenFixture(std::move(archive)) {
        plainWorld = true;
        musicOn = 0;
        entered = 1;
        RegisterStageObjects(registry);
        RegisterBossObjects(registry);
    }

  public:
    StageNodeRegistry registry;
    ScopedStageNodeRegistry scope{registry};
    std::vector<BossShot> shots;
    std::map<int32_t, int32_t> frameAtStep;
    Boss1Body* body = nullptr;
    bool drawing = false;
};

}  // namespace mareldon
