#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "game/objects/RailTrain.h"
#include "game/stage/StageScene.h"
#include "tests/game/objects/EnemyStageFixture.h"
#include "tools/archive/PlaceholderRailEnemies.h"

namespace mareldon {
namespace {

using Node = MbdWriter::Node;
using B = StageModelBuilder;

AttackVector Damage(float amount) {
    AttackVector attack;
    attack.values[0] = amount;
    return attack;
}

// The placeholder train under "Scene", with or without its wreck models, and whatever
// else the test puts beside it.
WholeModel TrainModel(bool wrecks, std::function<void(B&, std::vector<Node>&)> more = nullptr) {
    return WholeModel{[wrecks, more](B& b) {
        if (wrecks)
            AddPlaceholderWreckModels(b);
        std::vector<Node> scene{PlaceholderTrain(b)};
        if (more)
            more(b, scene);
        return b.Stage(kFixtureStage, scene, 300.0f, 25.0f);
    }};
}

class RailTrainTest : public ::testing::Test {
  protected:
    explicit RailTrainTest(bool wrecks = true, std::function<void(B&, std::vector<Node>&)> more = nullptr)
        : f(TrainModel(wrecks, std::move(more))) {}

    // The cars in the order they were built.
    std::vector<RailTrain*> Cars() {
        std::vector<RailTrain*> cars = f.Find<RailTrain>();
        std::stable_sort(cars.begin(), cars.end(), [](RailTrain* a, RailTrain* b) {
            return unsigned(a->carIndex) < unsigned(b->carIndex);
        });
        return cars;
    }
    // Sets the stage clock to frame `frame` (half a frame in, away from rounding).
    void SetFrame(int32_t frame) { f.Scene().SetMotionTime((float(frame) + 0.5f) / 60.0f); }
    int Count(const char* operation, const char* prefix) {
        int n = 0;
        for (const WorldEvent& event : f.log.Events())
            n += event.operation == operation && event.arguments.rfind(prefix, 0) == 0 ? 1 : 0;
        return n;
    }

    EnemyStageFixture f;
};

TEST_F(RailTrainTest, CarsFollowTheHolderInOrderAndDestroyingOneDestroysTheCarsBehindOnce) {
    ASSERT_TRUE(f.StartWorld());
    f.StepTo(12.0f);
    std::vector<RailTrain*> cars = Cars();
    ASSERT_EQ(cars.size(), 10u);
    auto* holder = f.Find<RailTrainCar>().at(0);
    EXPECT_EQ(holder->registry.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(cars[size_t(i)]->carIndex, i);
        EXPECT_EQ(cars[size_t(i)]->name.Text(), std::string(kPlaceholderTrainCars[i]) + ":Layer0");
        // Every car on the holder's tracks; the holder stays at the origin.
        EXPECT_NEAR(cars[size_t(i)]->GetWorldPosition().x, cars[0]->GetWorldPosition().x, 1e-4f);
    }
    EXPECT_EQ(holder->GetWorldPosition().x, 0.0f);
    EXPECT_GT(cars[0]->GetWorldPosition().x, -30.0f);

    f.log.Clear();
    cars[3]->ApplyAttack(1, Damage(1e6f));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(cars[size_t(i)]->destroyed, i >= 3 ? 1 : 0) << i;
    // Each destroyed car once, with its own drops and bursts.
    EXPECT_EQ(f.log.Count("TrainCarDestroyed"), 7);
    for (int i = 3; i < 10; ++i) {
        const std::string args = std::string(kPlaceholderTrainCars[i]) + ":Layer0 " + std::to_string(i);
        EXPECT_EQ(f.log.Count("TrainCarDestroyed", args), 1) << i;
    }
    EXPECT_EQ(Count("SpawnItem", "BONUS_M "), 42);
    EXPECT_EQ(Count("SpawnItem", "BONUS_L "), 7);
    EXPECT_EQ(Count("SpawnItem", "BONUS_S "), 7);
    EXPECT_EQ(Count("NodeEmitter", "3 2 4 2 EXPLOSION_ita_MA01"), 7);
    EXPECT_EQ(Count("NodeEmitter", "3 4 2 5 EXPLOSION_ita_SA01"), 7);
    EXPECT_EQ(f.log.Count("EnemyKilled"), 1) << "the cars behind pay no kill";

    // Wrecks: the car and its sub-layers take the wreck meshes of their slot.
    RailTrainPart* part = holder->WreckPart(5);
    ASSERT_NE(part, nullptr);
    ASSERT_NE(part->layers[0], nullptr);
    EXPECT_EQ(cars[5]->DrawSet().Get(), part->layers[0]->DrawSet().Get());
    int wrecked = 0;
    cars[5]->ForEachChildNode([&](Object3D& child) {
        auto* mesh = dynamic_cast<MeshObject*>(&child);
        for (int k = 1; k < RailTrainPart::kLayers && mesh != nullptr; ++k)
            wrecked +=
                part->layers[k] != nullptr && mesh->DrawSet().Get() == part->layers[k]->DrawSet().Get();
    });
    EXPECT_EQ(wrecked, 6) << "metal B: six sub-layers";
    EXPECT_NE(cars[2]->DrawSet().Get(), holder->WreckPart(2)->layers[0]->DrawSet().Get());

    // Cars behind stop where they were hit; the ones in front run on.
    const float stopped = cars[5]->GetWorldPosition().x;
    const float running = cars[1]->GetWorldPosition().x;
    f.StepTo(20.0f);
    EXPECT_EQ(cars[5]->GetWorldPosition().x, stopped);
    EXPECT_GT(cars[1]->GetWorldPosition().x, running);
    EXPECT_EQ(cars[5]->active, 0);
    EXPECT_EQ(f.Find<RailTrain>().size(), 10u) << "cars are never removed";
}

TEST_F(RailTrainTest, CarsCanBeHitOnlyInTheirTwoSpansOfTheStageClock) {
    struct Case {
        float time;
        bool hit;
    };
    const Case cases[] = {{11.0f, false}, {11.01f, true}, {38.99f, true}, {39.0f, false}, {40.0f, false},
                          {80.0f, false}, {80.5f, true},  {98.9f, true},  {99.0f, false}};
    for (const Case& c : cases)
        EXPECT_EQ(RailTrain::InHitWindow(c.time), c.hit) << c.time;

    ASSERT_TRUE(f.StartWorld());
    f.StepTo(40.0f);
    RailTrain* car = Cars().at(2);
    const int32_t before = car->registrationFrames;
    for (int i = 0; i < 10; ++i)
        f.Step();
    EXPECT_EQ(car->registrationFrames, before) << "no sphere at 40 s";
    f.StepTo(81.0f);
    const int32_t during = car->registrationFrames;
    f.Step();
    EXPECT_EQ(car->registrationFrames, during + 1);
}

TEST_F(RailTrainTest, TheEngineSmokesEverySixtyFramesUntilFrame6180) {
    ASSERT_TRUE(f.StartWorld());
    f.Step();
    RailTrain* engine = Cars().at(0);
    SetFrame(6100);
    f.Step();
    f.log.Clear();
    engine->ApplyAttack(1, Damage(1e6f));
    EXPECT_EQ(Count("NodeEmitter", "3 7 2 10 EFECTS_KEMURI_01"), 1);
    EXPECT_EQ(f.log.Count("TrainCarDestroyed"), 10) << "the engine takes the whole train";
    std::vector<int32_t> smokes;
    for (int i = 0; i < 120; ++i) {
        const int32_t frame = engine->GetStepCount();
        const int before = Count("NodeEmitter", "3 5 2 10 EFECTS_KEMURI_01");
        f.Step();
        if (Count("NodeEmitter", "3 5 2 10 EFECTS_KEMURI_01") > before)
            smokes.push_back(frame);
    }
    ASSERT_EQ(smokes.size(), 1u);
    EXPECT_NEAR(smokes[0], 6120, 1);
}

TEST_F(RailTrainTest, TrainGunsFireOnlyFromTheirOwnRunningCar) {
    ASSERT_TRUE(f.StartWorld());
    std::vector<RailGun*> guns = f.Find<RailGun>();
    ASSERT_EQ(guns.size(), 15u);
    for (RailGun* gun : guns)
        EXPECT_NE(gun->car, nullptr) << gun->name.Text();
    f.StepTo(40.0f);
    std::set<std::string> fired;
    for (const WorldEvent& event : f.log.Events()) {
        if (event.operation == "GunShot")
            fired.insert(event.arguments.substr(0, event.arguments.find(' ')));
    }
    for (const char* name : {"BS_RAIL_LOCOMOTIVE", "BS_RAIL_TENDER", "BS_RAIL_CARGO", "BS_RAIL_METAL_A_4",
                             "BS_METAL_A_HOUTOU", "BS_RAIL_METAL_B_HOU", "BS_RAIL_METAL_B_LAUNCHER"})
        EXPECT_EQ(fired.count(name), 1u) << name;

    // Destroyed cars' guns stay silent, whatever their own enemy does.
    Cars().at(0)->ApplyAttack(1, Damage(1e6f));
    f.log.Clear();
    f.StepTo(60.0f);
    EXPECT_EQ(f.log.Count("GunShot"), 0);
}

// Cars where no train is: one alone under "Scene", an eleventh under "Null_Train", a
// cargo gun on a tender; and no wreck models in the archive.
class RailTrainBadInputTest : public RailTrainTest {
  protected:
    RailTrainBadInputTest()
        : RailTrainTest(false, [](B& b, std::vector<Node>& scene) {
              Node& holder = scene[0];
              holder.children.push_back(b.Box("mg_04rail_cargo:Layer0", 0.5f, 0xFFFFFF));
              holder.children[1].children.push_back(B::Frame("BS_RAIL_CARGO"));
              Node stray = b.Box("mg_04rail_tender:Layer0", 0.5f, 0xFFFFFF, {B::Frame("BS_RAIL_TENDER")});
              b.At(stray, 0.0f, 0.0f, -4.0f);
              scene.push_back(stray);
          }) {}
};

TEST_F(RailTrainBadInputTest, StrayCarsWorkAloneAndMissingWrecksKeepTheirMeshes) {
    ASSERT_TRUE(f.StartWorld());
    f.StepTo(12.0f);
    std::vector<RailTrain*> cars = Cars();
    ASSERT_EQ(cars.size(), 12u);
    RailTrain* eleventh = cars[10];
    RailTrain* stray = cars[11];
    EXPECT_EQ(eleventh->carIndex, 10);
    EXPECT_EQ(stray->carIndex, -1);
    EXPECT_EQ(stray->holder, nullptr);
    // The misplaced cargo gun never gets a car; the stray tender's own gun does.
    int loose = 0;
    for (RailGun* gun : f.Find<RailGun>())
        loose += gun->car == nullptr ? 1 : 0;
    EXPECT_EQ(loose, 1);

    // No wreck parts without their models: meshes stay.
    const void* mesh = cars[4]->DrawSet().Get();
    f.log.Clear();
    cars[4]->ApplyAttack(1, Damage(1e6f));
    EXPECT_EQ(cars[4]->DrawSet().Get(), mesh);
    EXPECT_EQ(f.log.Count("TrainCarDestroyed"), 6) << "cars 4 to 9, not the eleventh";
    EXPECT_EQ(eleventh->destroyed, 0);

    f.log.Clear();
    eleventh->ApplyAttack(1, Damage(1e6f));
    stray->ApplyAttack(1, Damage(1e6f));
    EXPECT_EQ(f.log.Count("TrainCarDestroyed"), 2);
    EXPECT_EQ(Count("SpawnItem", "BONUS_M "), 12);
    for (int i = 0; i < 30; ++i)
        f.Step();
    EXPECT_EQ(f.Find<RailTrain>().size(), 12u);
}

}  // namespace
}  // namespace mareldon
