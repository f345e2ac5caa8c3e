#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "game/objects/StageNodes.h"
#include "game/stage/TargetPicker.h"
#include "tests/game/objects/EnemyStageFixture.h"

namespace mareldon {
namespace {

using Node = MbdWriter::Node;

AttackVector Damage(float amount) {
    AttackVector attack;
    attack.values[0] = amount;
    return attack;
}

TEST(EnemyWindowTest, AKeylessEnemyIsAlwaysActiveAndAKeyedOneOnlyInItsInclusiveWindow) {
    EnemyStageFixture f([](StageModelBuilder& b) {
        Node always = b.Box("always:Layer0");
        b.At(always, -3.0f, 0.0f, 0.0f);
        Node keyed = b.Box("keyed:Layer0");
        b.Window(keyed, 3.0f, 0.0f, 0.0f, 0.5f, 1.0f);
        return std::vector<Node>{always, keyed};
    });
    f.registry.Add(StageNodeRegistry::Kind::kLayer, "always:Layer0", BuildTestLayerEnemy);
    f.registry.Add(StageNodeRegistry::Kind::kLayer, "keyed:Layer0", BuildTestLayerEnemy);
    ASSERT_TRUE(f.StartWorld());
    LayerEnemy* always = f.FindNamed<LayerEnemy>("always:Layer0");
    LayerEnemy* keyed = f.FindNamed<LayerEnemy>("keyed:Layer0");
    ASSERT_NE(always, nullptr);
    ASSERT_NE(keyed, nullptr);
    f.Step();
    EXPECT_EQ(always->active, 1);
    EXPECT_EQ(keyed->active, 0);
    EXPECT_EQ(keyed->activated, 0);

    // Frame by frame across the window's ends, in exact sixtieths.
    bool sawInside = false;
    for (int i = 0; i < 200 && f.StageTime() < 1.1f; ++i) {
        f.Step();
        const float t = keyed->GetMotionTime();
        const bool inside = t >= 0.5f && t <= 1.0f;
        sawInside |= inside;
        EXPECT_EQ(keyed->IsInActiveWindow(), inside) << "t = " << t;
        EXPECT_EQ(keyed->IsPastActiveWindow(), t > 1.0f) << "t = " << t;
        EXPECT_EQ(always->active, 1);
    }
    EXPECT_TRUE(sawInside);
    EXPECT_EQ(keyed->activated, 1);
    EXPECT_EQ(keyed->pastWindow, 1);
    EXPECT_EQ(keyed->active, 0);
    EXPECT_EQ(keyed->nodeDrawSelf, 0);
}

// Homing shots pick their targets through the picker: a keyless enemy stays one for the
// whole stage, however far the clock runs.
TEST(EnemyWindowTest, AKeylessEnemyIsNeverPastItsWindowAndThePickerTakesIt) {
    EnemyStageFixture f([](StageModelBuilder& b) {
        Node always = b.Box("always:Layer0");
        b.At(always, 0.0f, 0.0f, 2.0f);
        return std::vector<Node>{always};
    });
    f.registry.Add(StageNodeRegistry::Kind::kLayer, "always:Layer0", BuildTestLayerEnemy);
    ASSERT_TRUE(f.StartWorld());
    LayerEnemy* always = f.FindNamed<LayerEnemy>("always:Layer0");
    ASSERT_NE(always, nullptr);
    f.StepTo(3.0f);
    ASSERT_GT(f.StageTime(), 0.0f);
    EXPECT_FALSE(always->IsPastActiveWindow());
    EXPECT_EQ(always->pastWindow, 0);
    EXPECT_TRUE(always->IsLiveTarget());
    ASSERT_EQ(f.screen->HitLists().targets.Count(), 1);
    TargetPicker picker(f.screen);
    EXPECT_EQ(picker.PickRandomTarget(), static_cast<AttackTarget*>(always));
}

TEST(EnemyKillTest, PointBlankKillPaysTheTopScoreWithTwentySparksOnce) {
    EnemyStageFixture f([](StageModelBuilder& b) {
        Node enemy = b.Box("target:Layer0");
        b.At(enemy, 0.0f, 0.0f, 0.0f);
        return std::vector<Node>{enemy};
    });
    f.registry.Add(StageNodeRegistry::Kind::kLayer, "target:Layer0", BuildTestLayerEnemy);
    ASSERT_TRUE(f.StartWorld());
    f.Step();
    LayerEnemy* enemy = f.FindNamed<LayerEnemy>("target:Layer0");
    PlayerShip* ship = f.screen->GetPlayer(1);
    ASSERT_NE(enemy, nullptr);
    ASSERT_NE(ship, nullptr);
    ship->SetPosition(enemy->GetWorldPosition());
    f.log.Clear();
    enemy->ApplyAttack(1, Damage(10.0f));
    EXPECT_EQ(enemy->durability, 0.0f);
    EXPECT_EQ(f.log.Count("AddScore", "1 1000000"), 1);
    EXPECT_EQ(f.log.Count("SpawnSpark"), 20);
    EXPECT_EQ(f.log.Count("SpawnItem"), 1);
    EXPECT_EQ(f.log.Count("EnemyKilled"), 1);
    enemy->ApplyAttack(1, Damage(10.0f));
    EXPECT_EQ(f.log.Count("EnemyKilled"), 1) << "a dead enemy takes no second kill";
}

}  // namespace
}  // namespace mareldon

namespace mareldon {
namespace {

// A layer enemy that notes its hooks and its end.
class ProbeEnemy : public LayerEnemy {
  public:
    struct Probe {
        std::vector<float> damages;
        int destroyed = 0;
        bool gone = false;
    };
    static inline Probe* probe = nullptr;

    ProbeEnemy(TaskObject* parent, NodeSpawnInfo& info)
        : LayerEnemy(parent, info, 3.0f, 1.0f, String("BONUS_S")) {}
    ~ProbeEnemy() override {
        if (probe != nullptr)
            probe->gone = true;
    }
    void OnDamaged(float damage, uint32_t) override { probe->damages.push_back(damage); }
    void OnDestroyed() override {
        ++probe->destroyed;
        LayerEnemy::OnDestroyed();
    }
};

Object3D* BuildProbe(Object3D* parent, NodeSpawnInfo& info) {
    return new ProbeEnemy(parent, info);
}

Object3D* BuildSubPart(Object3D* parent, NodeSpawnInfo& info) {
    struct SubPartLayer : EnemySubPart {
        SubPartLayer(TaskObject* p, NodeSpawnInfo& i) : EnemySubPart(p, i, 1.0f) {}
        void OnUpdatePre() override { RegisterHitSphere(GetWorldPosition(), 1.0f); }
    };
    return new SubPartLayer(parent, info);
}

Object3D* BuildCarrier(Object3D* parent, NodeSpawnInfo& info) {
    return new LayerEnemy(parent, info, 1.0f, 0.0f, String("NULL"));
}

// A layer that follows the game object it hangs under.
Object3D* BuildAttachedLayer(Object3D* parent, NodeSpawnInfo& info) {
    info.attached = 1;
    return new LayerEnemy(parent, info, 1.0f, 0.5f, String("BONUS_S"));
}

TEST(EnemyGroupTest, ASecondWaveOfALetterIsDroppedWhileTheFirstLivesAndTakenAfter) {
    EnemyStageFixture f([](StageModelBuilder& b) {
        auto member = [&](const char* name, const char* group, float x, float t0) {
            Node node = b.Box(name, 0.5f, 0xE05030, {StageModelBuilder::Frame(group)});
            b.Window(node, x, 0.0f, 0.0f, t0, 10.0f);
            return node;
        };
        return std::vector<Node>{member("a1:Layer0", "GP*A01", -4.0f, 0.1f),
                                 member("a2:Layer0", "GP*A02", 0.0f, 0.5f),
                                 member("late:Layer0", "GP*A02", 4.0f, 2.0f)};
    });
    for (const char* name : {"a1:Layer0", "a2:Layer0", "late:Layer0"})
        f.registry.Add(StageNodeRegistry::Kind::kLayer, name, BuildProbe);
    ProbeEnemy::Probe probe;
    ProbeEnemy::probe = &probe;
    ASSERT_TRUE(f.StartWorld());
    LayerEnemy* first = f.FindNamed<LayerEnemy>("a1:Layer0");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->groupLetter, 1);
    EXPECT_EQ(first->groupNumber, 1);
    EXPECT_EQ(f.FindNamed<Object3D>("GP*A01")->nodeType, kNodePlain) << "the group node stays a plain node";

    f.StepTo(0.6f);
    EXPECT_EQ(f.log.Count("EnemyRefused", "a2:Layer0 1 2"), 1);
    EXPECT_EQ(f.FindNamed<LayerEnemy>("a2:Layer0"), nullptr) << "refused before it ever showed";
    EXPECT_EQ(f.screen->GetGroups().GetCount(1), 1);

    first->ApplyAttack(1, Damage(5.0f));
    f.StepTo(2.1f);
    EXPECT_EQ(f.FindNamed<LayerEnemy>("a1:Layer0"), nullptr);
    LayerEnemy* late = f.FindNamed<LayerEnemy>("late:Layer0");
    ASSERT_NE(late, nullptr) << "the letter is free again";
    EXPECT_EQ(late->joined, 1);
    EXPECT_EQ(f.screen->GetGroups().GetOwner(1), 2);
    EXPECT_EQ(f.log.Count("EnemyRefused"), 1);
    ProbeEnemy::probe = nullptr;
}

TEST(EnemyKillTest, OverkillReportsTheFullDamageDiesOnceAndLeavesAfterFiveChecks) {
    EnemyStageFixture f([](StageModelBuilder& b) {
        Node enemy = b.Box("probe:Layer0");
        b.At(enemy, 0.0f, 0.0f, 5.0f);
        return std::vector<Node>{enemy};
    });
    f.registry.Add(StageNodeRegistry::Kind::kLayer, "probe:Layer0", BuildProbe);
    ProbeEnemy::Probe probe;
    ProbeEnemy::probe = &probe;
    ASSERT_TRUE(f.StartWorld());
    f.Step();
    ProbeEnemy* enemy = f.FindNamed<ProbeEnemy>("probe:Layer0");
    ASSERT_NE(enemy, nullptr);
    enemy->attackWeights.values[1] = 2.0f;
    AttackVector attack;
    attack.values[0] = 1.0f;
    attack.values[1] = 2.0f;
    enemy->ApplyAttack(2, attack);
    EXPECT_EQ(probe.damages, (std::vector<float>{5.0f})) << "the full damage, not what was left";
    EXPECT_EQ(enemy->durability, 0.0f);
    EXPECT_EQ(probe.destroyed, 1);
    enemy->ApplyAttack(2, attack);
    EXPECT_EQ(probe.damages.size(), 1u) << "a dead enemy ignores later attacks";
    EXPECT_EQ(probe.destroyed, 1);
    EXPECT_EQ(f.screen->GetKillCounter().GetKills(2), 1);
    EXPECT_EQ(f.log.Count("SpawnItem"), 1);
    EXPECT_EQ(f.log.Count("SpawnEffect"), 1);

    int checks = 0;
    while (!probe.gone && checks < 10) {
        f.Step();
        ++checks;
    }
    EXPECT_EQ(checks, 5);
    ProbeEnemy::probe = nullptr;
}

TEST(EnemyKillTest, TheScoreFallsWithTheCubeOfTheScreenDistance) {
    struct Case {
        float distance;
        int32_t score;
        int32_t sparks;
    };
    const float unit = 1.0f / Enemy::kScoreDistanceScale;
    const Case cases[] = {
        {0.0f, 1000000, 20},
        {std::cbrt(9000.0f) * unit, 1000000, 19},  // v = 991000: above 990,000 pays the top
        {std::cbrt(500000.0f) * unit, 500000, 10},
        {100.0f * unit, 1, 0},  // v = 0
        {150.0f * unit, 1, 0},  // v < 0
        {1e30f, 1, 0},
        {std::numeric_limits<float>::infinity(), 1, 0},
        {std::numeric_limits<float>::quiet_NaN(), 1, 0},
    };
    for (const Case& c : cases) {
        float v = 0.0f;
        EXPECT_EQ(Enemy::KillScore(c.distance, &v), c.score) << c.distance;
        EXPECT_EQ(Enemy::KillSparks(v), c.sparks) << c.distance;
    }
}

TEST(EnemyTalliesTest, SubPartsPayButAreNotCountedAndCarriersNeverAppear) {
    EnemyStageFixture f([](StageModelBuilder& b) {
        Node part = b.Box("part:Layer0");
        b.At(part, -3.0f, 0.0f, 0.0f);
        Node carrier = b.Box("carrier:Layer0");
        b.At(carrier, 3.0f, 0.0f, 0.0f);
        Node plain = b.Box("plain:Layer0");
        b.At(plain, 0.0f, 0.0f, 3.0f);
        return std::vector<Node>{part, carrier, plain};
    });
    f.registry.Add(StageNodeRegistry::Kind::kLayer, "part:Layer0", BuildSubPart);
    f.registry.Add(StageNodeRegistry::Kind::kLayer, "carrier:Layer0", BuildCarrier);
    f.registry.Add(StageNodeRegistry::Kind::kLayer, "plain:Layer0", BuildTestLayerEnemy);
    ASSERT_TRUE(f.StartWorld());
    f.StepTo(0.2f);
    Enemy* part = f.FindNamed<Enemy>("part:Layer0");
    LayerEnemy* carrier = f.FindNamed<LayerEnemy>("carrier:Layer0");
    ASSERT_NE(part, nullptr);
    ASSERT_NE(carrier, nullptr);
    EXPECT_EQ(part->appeared, 1);
    EXPECT_EQ(f.screen->GetKillCounter().GetEnemyTotal(), 1) << "only the plain enemy appeared";
    // Radius 0: registered frames are counted, but nothing is listed or marked.
    EXPECT_EQ(carrier->appeared, 0);
    EXPECT_EQ(carrier->everRegistered, 0);
    EXPECT_EQ(carrier->targetableThisStep, 0);
    EXPECT_GT(carrier->registrationFrames, 5);
    EXPECT_TRUE(carrier->RegisterHitSphere(carrier->GetWorldPosition(), 0.0f));

    f.log.Clear();
    part->ApplyAttack(1, Damage(2.0f));
    EXPECT_EQ(f.log.Count("AddScore"), 1) << "a sub-part pays";
    EXPECT_EQ(f.screen->GetKillCounter().GetKills(1), 0) << "but is not counted";
}

TEST(EnemyDrawTest, AHitFlashesOneDrawnFrameAndABombHidesWhatIsNotTargetable) {
    EnemyStageFixture f([](StageModelBuilder& b) {
        Node target = b.Box("target:Layer0");
        b.At(target, -3.0f, 0.0f, 0.0f);
        Node carrier = b.Box("carrier:Layer0");
        b.At(carrier, 3.0f, 0.0f, 0.0f);
        return std::vector<Node>{target, carrier};
    });
    f.registry.Add(StageNodeRegistry::Kind::kLayer, "target:Layer0", BuildTestLayerEnemy);
    f.registry.Add(StageNodeRegistry::Kind::kLayer, "carrier:Layer0", BuildCarrier);
    f.AddScreen();
    ASSERT_TRUE(f.StartWorld());
    f.Step();
    LayerEnemy* target = f.FindNamed<LayerEnemy>("target:Layer0");
    LayerEnemy* carrier = f.FindNamed<LayerEnemy>("carrier:Layer0");
    ASSERT_NE(target, nullptr);
    ASSERT_NE(carrier, nullptr);
    LightList& records = target->DrawSet()->records;

    target->ApplyAttack(1, Damage(1.0f));
    EXPECT_EQ(target->hitFlashPending, 1);
    f.Step();
    ASSERT_EQ(records.Count(), 1);
    EXPECT_TRUE(records[0].name.Equals("EmissiveLight"));
    EXPECT_EQ(records[0].count, 4);
    EXPECT_FLOAT_EQ(records[0].values[1], 0.3f);
    EXPECT_EQ(target->hitFlashPending, 0);
    f.Step();
    EXPECT_EQ(records.Count(), 0) << "one drawn frame only";

    // During a bomb only what registered a sphere this step is drawn; the carrier's
    // flash waits for its next draw.
    f.screen->SetBombActive(true);
    target->ApplyAttack(1, Damage(0.5f));
    carrier->hitFlashPending = 1;
    f.Step();
    EXPECT_EQ(target->hitFlashPending, 0);
    EXPECT_EQ(carrier->hitFlashPending, 1);
    f.screen->SetBombActive(false);
    f.Step();
    EXPECT_EQ(carrier->hitFlashPending, 0);
}

TEST(EnemyAttachTest, AttachedLayersFollowTheWindowAndMarkOfWhatTheyHangUnder) {
    EnemyStageFixture f([](StageModelBuilder& b) {
        Node parent = b.Box("parent:Layer0", 0.5f, 0xE05030,
                            {StageModelBuilder::Frame("bs_Null", {b.Box("muzzle:Layer0")}),
                             StageModelBuilder::Bone("BNba_01_medamaR", {b.Box("eye:Layer0")}),
                             StageModelBuilder::Frame("plainNull", {b.Box("stray:Layer0")})});
        b.Window(parent, 0.0f, 0.0f, 0.0f, 1.0f, 2.0f);
        return std::vector<Node>{parent};
    });
    f.registry.Add(StageNodeRegistry::Kind::kLayer, "parent:Layer0", BuildCarrier);
    for (const char* name : {"muzzle:Layer0", "eye:Layer0", "stray:Layer0"})
        f.registry.Add(StageNodeRegistry::Kind::kLayer, name, BuildAttachedLayer);
    ASSERT_TRUE(f.StartWorld());
    f.Step();
    Enemy* parent = f.FindNamed<Enemy>("parent:Layer0");
    Enemy* muzzle = f.FindNamed<Enemy>("muzzle:Layer0");
    Enemy* eye = f.FindNamed<Enemy>("eye:Layer0");
    Enemy* stray = f.FindNamed<Enemy>("stray:Layer0");
    ASSERT_TRUE(parent && muzzle && eye && stray);
    EXPECT_NE(dynamic_cast<NullNodeObject*>(muzzle->ParentNode()), nullptr);
    EXPECT_NE(dynamic_cast<EyeBonePart*>(eye->ParentNode()), nullptr);
    EXPECT_EQ(muzzle->attached, 1);
    EXPECT_EQ(eye->attached, 1);
    EXPECT_EQ(stray->attached, 0) << "a plain node has no window to follow";
    EXPECT_TRUE(stray->IsInActiveWindow());
    for (Enemy* child : {muzzle, eye})
        EXPECT_FALSE(child->IsInActiveWindow());

    f.StepTo(1.5f);
    for (Enemy* child : {muzzle, eye}) {
        EXPECT_TRUE(child->IsInActiveWindow());
        EXPECT_FALSE(child->IsPastActiveWindow());
    }
    // The parent registers radius 0; its attached children's spheres mark it.
    EXPECT_EQ(parent->targetableThisStep, 1);
    EXPECT_TRUE(muzzle->IsTargetableThisStep());
    EXPECT_EQ(muzzle->targetableThisStep, 0);

    f.StepTo(2.5f);
    EXPECT_FALSE(muzzle->IsInActiveWindow());
    EXPECT_FALSE(eye->IsPastActiveWindow()) << "an attached object is never past its own window";
    EXPECT_EQ(parent->targetableThisStep, 0);
}

}  // namespace
}  // namespace mareldon

namespace mareldon {
namespace {

TEST(EnemyDrawTest, DuringABombASubPartStaysInSightOnceTheBossFightBegins) {
    EnemyStageFixture f([](StageModelBuilder& b) {
        Node part = b.Box("section:Layer0");
        b.At(part, 0.0f, 0.0f, 0.0f);
        return std::vector<Node>{part};
    });
    // A section that registers no sphere: never targetable.
    f.registry.Add(StageNodeRegistry::Kind::kLayer, "section:Layer0",
                   [](Object3D* parent, NodeSpawnInfo& info) {
                       return static_cast<Object3D*>(new EnemySubPart(parent, info, 5.0f));
                   });
    f.AddScreen();
    ASSERT_TRUE(f.StartWorld());
    f.screen->SetTimeLimitEnabled(false);
    const float bossTime = f.screen->GetStageEntry()->bossMusicTime;
    ASSERT_GT(bossTime, 1.0f);
    f.StepTo(bossTime - 1.0f);
    Enemy* part = f.FindNamed<Enemy>("section:Layer0");
    ASSERT_NE(part, nullptr);
    f.screen->SetBombActive(true);
    part->hitFlashPending = 1;
    f.Step();
    EXPECT_EQ(part->hitFlashPending, 1) << "hidden before the fight";
    f.StepTo(bossTime + 0.1f);
    f.screen->SetBombActive(true);
    f.Step();
    EXPECT_EQ(part->hitFlashPending, 0) << "drawn once the fight began";
}

}  // namespace
}  // namespace mareldon
