#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#include "game/objects/DebrisShooter.h"
#include "game/objects/Destroyer.h"
#include "game/objects/GunVariants.h"
#include "game/objects/GunshipEnemies.h"
#include "game/objects/LensTurret.h"
#include "game/objects/MidBoss03Guns.h"
#include "game/objects/RailTrain.h"
#include "game/objects/TowerEnemies.h"
#include "game/objects/TransformingShip.h"
#include "game/stage/StraightShot.h"
#include "game/system/InputManager.h"
#include "tests/engine/render/archive/ArchiveTestServices.h"
#include "tests/game/objects/EnemyStageFixture.h"

namespace mareldon {
namespace {

// A layer enemy that leaves after its window, as the stages' own classes do.
class StageEnemy : public LayerEnemy {
  public:
    StageEnemy(TaskObject* parent, NodeSpawnInfo& info)
        : LayerEnemy(parent, info, 4.0f, 1.0f, String("BONUS_S")) {}
    bool IsAlive() override { return LayerEnemy::IsAlive() && pastWindow == 0; }
};

Object3D* BuildStageEnemy(Object3D* parent, NodeSpawnInfo& info) {
    return new StageEnemy(parent, info);
}

std::vector<uint8_t> PlaceholderArchive() {
    MbdWriter writer;
    AddPlaceholderStageData(writer);
    const PlaceholderSoundSlots sounds = AddPlaceholderSounds(writer);
    writer.AddGroup({"SYSTEMSE", sounds.effects, {}, {}});
    writer.AddGroup({"SYSTEMBGM", sounds.tunes, {}, {}});
    return writer.Build();
}

// "STAGE_HI" with player 1's pad scripted through an input manager without a board,
// in record or replay play.
class StageHiRun : public WorldScreenFixture {
  public:
    StageHiRun(const RefPtr<FileSystem>& files, int32_t mode)
        : manager(nullptr, 2, 0, 1, nullptr, [](const char*) { return std::unique_ptr<SerialLink>(); }) {
        root.fileSystem = files;
        root.inputManager = &manager;
        playMode = mode;
        entry = 2;
        // The program-wide counts a run starts from.
        StraightShot::ResetMadeCounts();
        GameWorldScreen::ResetWaterParity();
        Enter(1);
        RegisterStageObjects(registry);
        for (const PlaceholderEnemy& enemy : PlaceholderStageHiEnemies())
            registry.Add(StageNodeRegistry::Kind::kLayer, enemy.layer, BuildStageEnemy);
    }
    ~StageHiRun() {
        root.DeleteChildren();
        system = nullptr;
        root.inputManager = nullptr;
    }

    // The stage's guns fire at the ship: it stays protected, so the run outlives them.
    void ProtectShip() {
        if (PlayerShip* ship = screen->GetPlayer(1))
            ship->SetProtection(1 << 30, 1);
    }

    void StepWithPad(uint32_t logical) {
        PadState& pad = manager.padStates[0];
        pad = PadState{};
        pad.connected = 1;
        pad.axes[0] = (logical & PlayerShip::kLeft) ? -1.0f : (logical & PlayerShip::kRight) ? 1.0f : 0.0f;
        pad.axes[1] = (logical & PlayerShip::kUp) ? -1.0f : (logical & PlayerShip::kDown) ? 1.0f : 0.0f;
        for (int button = 0; button < 24; ++button)
            pad.buttons[button] = ((logical >> (6 + button)) & 1u) ? 1.0f : 0.0f;
        ProtectShip();
        for (TreeNode* child = manager.firstChild; child != nullptr;) {
            TreeNode* next = child->next == manager.firstChild ? nullptr : child->next;
            static_cast<InputNode*>(child)->Update();
            child = next;
        }
        Step();
    }

    // The enemies' and their guns' state and the world's generator, folded into one number.
    uint64_t StateHash() {
        uint64_t hash = 1469598103934665603ull;
        auto fold = [&hash](const void* data, size_t size) {
            const auto* bytes = static_cast<const uint8_t*>(data);
            for (size_t i = 0; i < size; ++i)
                hash = (hash ^ bytes[i]) * 1099511628211ull;
        };
        for (Enemy* enemy : FindNodes<Enemy>(*static_cast<TaskObject*>(screen->GetWorldRoot()))) {
            fold(enemy->name.Text(), enemy->name.Length());
            fold(&enemy->durability, sizeof enemy->durability);
            const uint8_t flags[] = {enemy->active,         enemy->activated,  enemy->joined,
                                     enemy->hittable,       enemy->pastWindow, enemy->appeared,
                                     enemy->hitFlashPending};
            fold(flags, sizeof flags);
            fold(&enemy->registrationFrames, sizeof enemy->registrationFrames);
            const Vec3 position = enemy->GetWorldPosition();
            fold(&position, sizeof position);
        }
        for (GunPart* gun : FindNodes<GunPart>(*static_cast<TaskObject*>(screen->GetWorldRoot()))) {
            fold(gun->name.Text(), gun->name.Length());
            const int32_t machine[] = {gun->wait, gun->shotTimer, gun->shotsLeft, gun->volleysLeft};
            fold(machine, sizeof machine);
            const uint8_t flags[] = {gun->enabled, gun->volleySuppressed};
            fold(flags, sizeof flags);
            const float stored[] = {gun->storedSpeed, gun->storedAngle};
            fold(stored, sizeof stored);
            // The table guns' volley state: counts, counters, the patterns' angles and their own generator.
            if (auto* table = dynamic_cast<TableGun*>(gun)) {
                const int32_t counts[] = {table->shots, table->gap,     table->pause, table->volleys,
                                          table->delay, table->counter, table->index};
                fold(counts, sizeof counts);
                const float pattern[] = {table->second, table->spin, table->vector.x, table->vector.y,
                                         table->vector.z};
                fold(pattern, sizeof pattern);
                fold(&table->random.state, sizeof table->random.state);
            } else if (auto* side = dynamic_cast<MidBoss03SideGun*>(gun)) {
                fold(&side->random.state, sizeof side->random.state);
                fold(&side->counter, sizeof side->counter);
            } else if (auto* centre = dynamic_cast<MidBoss03CenterGunA*>(gun)) {
                fold(&centre->random.state, sizeof centre->random.state);
                fold(&centre->secondSpeed, sizeof centre->secondSpeed);
            } else if (auto* spray = dynamic_cast<MidBoss03CenterGunC*>(gun)) {
                fold(&spray->random.state, sizeof spray->random.state);
            }
        }
        const float draw = screen->GetRandom().Range(0.0f, 1.0f);
        fold(&draw, sizeof draw);
        return hash;
    }

    InputManager manager;
    StageNodeRegistry registry;
    ScopedStageNodeRegistry scope{registry};
};

// Sweeps left and right under the enemies' row, firing in bursts.
uint32_t Script(int step) {
    const uint32_t move = (step / 90) % 2 == 0 ? PlayerShip::kLeft : PlayerShip::kRight;
    return move | ((step / 5) % 3 != 0 ? PlayerShip::kShot : 0u) |
           ((step / 45) % 4 == 0 ? PlayerShip::kUp : 0u);
}

TEST(StageReplayTest, TwoMinutesOfStageHiReplayToTheSameEnemiesAndEvents) {
    constexpr int kSteps = 7200;
    auto* memory = new WritableFileSystem();
    memory->files["MARELDON.mbd"] = PlaceholderArchive();
    RefPtr<FileSystem> files(memory);

    std::vector<uint64_t> recorded;
    std::vector<WorldEvent> recordedEvents;
    {
        StageHiRun run(files, GameWorldScreen::kPlayRecord);
        ASSERT_TRUE(run.StartWorld());
        // One of each of the stage's own classes is built with the stage.
        TaskObject& world = *run.screen->GetWorldRoot();
        EXPECT_EQ(FindNodes<RailTrainCar>(world).size(), 1u);
        EXPECT_EQ(FindNodes<RailTrain>(world).size(), 10u);
        EXPECT_EQ(FindNodes<RailGun>(world).size(), 15u);
        EXPECT_EQ(FindNodes<TowerEnemy>(world).size(), 2u);
        EXPECT_EQ(FindNodes<BatteryEnemy>(world).size(), 1u);
        EXPECT_EQ(FindNodes<BigBatteryEnemy>(world).size(), 1u);
        EXPECT_EQ(FindNodes<SmoothTurret>(world).size(), 1u);
        EXPECT_EQ(FindNodes<WreckFormEnemy>(world).size(), 4u) << "two towers and two wreck-leaving enemies";
        EXPECT_EQ(FindNodes<DebrisFighterEnemy>(world).size(), 1u);
        EXPECT_EQ(FindNodes<TransformingShipEnemy>(world).size(), 1u);
        std::set<std::string> built;
        for (int step = 0; step < kSteps; ++step) {
            run.StepWithPad(Script(step));
            recorded.push_back(run.StateHash());
            if (step == 0) {
                for (Enemy* enemy : FindNodes<Enemy>(*static_cast<TaskObject*>(run.screen->GetWorldRoot())))
                    built.insert(typeid(*enemy).name());
            }
        }
        recordedEvents = run.log.Events();
        // Deaths of many kinds: the train (all ten cars), towers and the wreck-leaving
        // enemies (their wrecks), the big battery, the debris fighter after its throw, the
        // transforming ship after it opened, the carrier tank.
        // The stage's own classes, one of each.
        for (const char* type : {typeid(SmallCraftEnemy).name(),     typeid(HoudaiKariEnemy).name(),
                                 typeid(ItemCEnemy).name(),          typeid(FukuyouEnemy).name(),
                                 typeid(KuziraYusoukiEnemy).name(),  typeid(EnbanEnemy).name(),
                                 typeid(Bs4tLayer6Enemy).name(),     typeid(Bs4tLayer14Enemy).name(),
                                 typeid(Bs4tLayer5Enemy).name(),     typeid(TankIsekiEEnemy).name(),
                                 typeid(TankIsekiCEnemy).name(),     typeid(NirenEnemy).name(),
                                 typeid(TankABEnemy).name(),         typeid(SinkuukanEnemy).name(),
                                 typeid(PorvikTankEnemy).name(),     typeid(OugonJetEnemy).name(),
                                 typeid(GomaEnemy).name(),           typeid(StageTenLayer17Enemy).name(),
                                 typeid(StageTenLayer4Enemy).name(), typeid(BigFighterEnemy).name(),
                                 typeid(KuchikuEnemy).name(),        typeid(LensBaseEnemy).name(),
                                 typeid(LensCoreEnemy).name(),       typeid(LensHoudaiEnemy).name()})
            EXPECT_EQ(built.count(type), 1u) << type;
        std::set<std::string> killed;
        for (const WorldEvent& event : recordedEvents) {
            if (event.operation == "EnemyKilled")
                killed.insert(event.arguments.substr(0, event.arguments.find(' ')));
        }
        for (const char* name :
             {"mg_04rail_locomotive:Layer0", "tou_001:Layer0", "tou_002:Layer0", "eg_04houdai_big:Layer0",
              "sa_12isekifighterB:Layer0", "mg_09tankisekiD:Layer0", "bs4_t:Layer2",
              "ma13_henkeihou_kan:Layer0", "la_01tank_yusoukan:Layer0"})
            EXPECT_EQ(killed.count(name), 1u) << name;
        EXPECT_EQ(run.log.Count("TrainCarDestroyed"), 10);
        EXPECT_EQ(run.log.Count("Wreck"), 4);
        EXPECT_EQ(run.log.Count("DebrisShooter"), 1);
        EXPECT_EQ(run.log.Count("ShipGuns"), 1);
        EXPECT_GE(killed.size(), 6u) << "deaths of many kinds";
        EXPECT_GT(run.log.Count("EnemyKilled"), 0) << "the script should shoot some down";
        EXPECT_GT(run.log.Count("SpawnSpark"), 10);
        EXPECT_GT(run.log.Count("GunShot"), 0) << "the guns in the hash should fire";
    }
    ASSERT_EQ(memory->files.count("STAGE_HI_1.trace"), 1u);

    StageHiRun replay(files, GameWorldScreen::kPlayReplay);
    ASSERT_TRUE(replay.StartWorld());
    for (int step = 0; step < kSteps; ++step) {
        replay.StepWithPad(PlayerShip::kBomb | PlayerShip::kDown);
        ASSERT_EQ(replay.StateHash(), recorded[size_t(step)]) << "step " << step;
    }
    const std::vector<WorldEvent>& replayed = replay.log.Events();
    ASSERT_EQ(replayed.size(), recordedEvents.size());
    for (size_t i = 0; i < replayed.size(); ++i) {
        EXPECT_EQ(replayed[i].operation, recordedEvents[i].operation) << i;
        EXPECT_EQ(replayed[i].arguments, recordedEvents[i].arguments) << i;
    }
}

}  // namespace
}  // namespace mareldon
