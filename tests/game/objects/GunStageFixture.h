#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "game/objects/GunPart.h"
#include "tests/game/objects/EnemyStageFixture.h"

namespace mareldon {

// One bullet as the gun noted it.
struct Shot {
    int32_t step;
    int32_t kind;
    float size;
    float vx;
    float vz;
};

inline std::map<std::string, std::vector<Shot>> ShotsByGun(const WorldEventLog& log) {
    std::map<std::string, std::vector<Shot>> shots;
    for (const WorldEvent& event : log.Events()) {
        if (event.operation != "GunShot")
            continue;
        char name[64] = {};
        Shot shot{event.step, 0, 0.0f, 0.0f, 0.0f};
        if (std::sscanf(event.arguments.c_str(), "%63s %d %f %f %f", name, &shot.kind, &shot.size, &shot.vx,
                        &shot.vz) == 5)
            shots[name].push_back(shot);
    }
    return shots;
}

// Every gun's shots in the order fired.
inline std::vector<Shot> AllShots(const WorldEventLog& log) {
    std::vector<Shot> all;
    for (const WorldEvent& event : log.Events()) {
        if (event.operation != "GunShot")
            continue;
        char name[64] = {};
        Shot shot{event.step, 0, 0.0f, 0.0f, 0.0f};
        if (std::sscanf(event.arguments.c_str(), "%63s %d %f %f %f", name, &shot.kind, &shot.size, &shot.vx,
                        &shot.vz) == 5)
            all.push_back(shot);
    }
    return all;
}

// One enemy per gun name, each at rest in the upper middle of the screen (clear of
// both suppression tests), on a world of the given playing stage; player 1 alone.
class GunStageFixture : public EnemyStageFixture {
  public:
    explicit GunStageFixture(const std::vector<std::string>& names)
        : EnemyStageFixture([names](StageModelBuilder& b) {
              std::vector<MbdWriter::Node> enemies;
              for (const std::string& name : names) {
                  MbdWriter::Node enemy = b.Box("carrier_" + name + ":Layer0");
                  b.At(enemy, 0.0f, 0.0f, 8.0f);
                  // The muzzle a little ahead of the carrier's pivot.
                  MbdWriter::Node muzzle = StageModelBuilder::Frame(name);
                  b.At(muzzle, 0.0f, 0.0f, -0.5f);
                  enemy.children.push_back(muzzle);
                  enemies.push_back(enemy);
              }
              return enemies;
          }) {
        for (const std::string& name : names)
            registry.Add(StageNodeRegistry::Kind::kLayer, "carrier_" + name + ":Layer0", BuildTestLayerEnemy);
    }

    // Goes through "nextstage" until the world plays `stage`.
    bool StartAtStage(int32_t stage) {
        if (!StartWorld())
            return false;
        while (system->GetPlayingStage() < stage) {
            SceneTask* before = system->GetCurrentScene();
            before->RequestSuccessor(String("nextstage"));
            if (StepUntil(
                    [&] {
                        return system->GetCurrentScene() != nullptr && system->GetCurrentScene() != before;
                    },
                    20) < 0) {
                ADD_FAILURE() << "no nextstage from stage " << system->GetPlayingStage();
                return false;
            }
            // The old world fires into the same log until it goes.
            screenGone = false;
            if (StepUntil([&] { return screenGone; }, 200) < 0) {
                ADD_FAILURE() << "the world of stage " << system->GetPlayingStage() << " stays";
                return false;
            }
            system->GetCurrentScene()->RequestSuccessor(String(""));
            if (StepUntil(
                    [&] { return dynamic_cast<GameWorldScreen*>(system->GetCurrentScene()) != nullptr; },
                    20) < 0) {
                ADD_FAILURE() << "no world after stage " << system->GetPlayingStage();
                return false;
            }
        }
        return system->GetPlayingStage() == stage;
    }

    LayerEnemy* Carrier(const std::string& name) {
        return FindNamed<LayerEnemy>(("carrier_" + name + ":Layer0").c_str());
    }
    // The guns built for a node, in building order.
    template <typename T = GunPart>
    std::vector<T*> Guns(const std::string& name) {
        std::vector<T*> guns;
        for (T* gun : Find<T>()) {
            if (gun->name.Equals(name.c_str()))
                guns.push_back(gun);
        }
        return guns;
    }

    // Steps until the carriers are active; the log step of their guns' first active
    // step.
    int32_t StepToFirstActiveStep(const std::string& name) {
        LayerEnemy* carrier = FindNamed<LayerEnemy>(("carrier_" + name + ":Layer0").c_str());
        if (carrier == nullptr || StepUntil([&] { return carrier->active != 0; }, 20) < 0)
            return -1;
        Step();
        return log.GetStep();
    }
};

}  // namespace mareldon
