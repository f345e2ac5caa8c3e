#include "game/stage/PlayerGun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "game/stage/EffectModel.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/PodShot.h"
#include "game/stage/StaticModelRoot.h"
#include "game/stage/StraightShot.h"
#include "tests/game/stage/ScriptedInput.h"
#include "tests/game/stage/WorldScreenFixture.h"

namespace mareldon {
namespace {

// A gun that notes every due shot: the step, the shots left, and whether a bullet
// came of it (the slot's live count rose).
class RecordingGun : public PlayerGun {
  public:
    struct Shot {
        int step;
        int32_t shotsLeft;
        bool made;
        // The new bullet's values, read as it is made (it may be gone later).
        int32_t slot, level;
        AttackVector attack;
        Vec3 velocity;
    };
    RecordingGun(TaskObject* parent, GameWorldScreen* screen, GunKind kind, const int* clock)
        : PlayerGun(parent, screen, 1, kind), clock(clock) {}
    void FireShot() override {
        int32_t& live = OwnerScreen()->GetPlayerSlot(1)[GetSlotIndex()];
        const int32_t before = live;
        PlayerGun::FireShot();
        Shot shot{*clock, GetShotsLeft(), live != before, -1, -1, {}, {}};
        if (shot.made) {
            auto* newest = static_cast<PlayerBullet*>(OwnerScreen()->playerShotParent->firstChild->prev);
            shot.slot = newest->GetGunSlot();
            shot.level = newest->GetShotLevel();
            shot.attack = newest->GetAttack();
            shot.velocity = newest->velocity;
            // A pod shot steers by its own direction and speed factor.
            if (auto* pod = dynamic_cast<Ship3PodBullet*>(newest)) {
                const Vec3 d = pod->GetDirection();
                shot.velocity = Vec3{d.x * pod->GetSpeedFactor(), d.y * pod->GetSpeedFactor(),
                                     d.z * pod->GetSpeedFactor()};
            }
        }
        shots.push_back(shot);
        limitAtShot.push_back(before);
    }
    const int* clock;
    std::vector<Shot> shots;
    std::vector<int32_t> limitAtShot;
};

class PlayerGunTest : public testing::Test, public WorldScreenFixture {
  protected:
    void SetUp() override {
        StraightShot::ResetMadeCounts();
        Enter(1);
        ASSERT_TRUE(StartWorld());
        ASSERT_GE(StepUntil([&] { return screen->ships[0] != nullptr; }, 10), 0);
        ship = screen->ships[0];
        // The ship's own guns stay quiet: no buttons, no auto fire.
        ship->SetInput(ScriptedInput({}));
        ship->SetAutoFire(0);
    }
    RecordingGun* Gun(GunKind kind, int32_t level) {
        RecordingGun* gun = new RecordingGun(ship, screen, kind, &clock);
        gun->SetPowerLevel(level);
        return gun;
    }
    void Run(int steps) {
        for (int i = 0; i < steps; ++i) {
            ++clock;
            Step();
        }
    }
    int ShotSounds() const { return log.Count("PlaySe", "0"); }

    PlayerShip* ship = nullptr;
    int clock = 0;
};

TEST_F(PlayerGunTest, EachGunFiresOneBurstOfItsLevelWithinItsLimit) {
    const GunKind kinds[] = {GunKind::Ship0Main, GunKind::Ship0Sub1, GunKind::Ship0Sub2, GunKind::Ship0Sub3,
                             GunKind::Ship0Sub4, GunKind::Ship1Main, GunKind::Ship1Sub1, GunKind::Ship1Sub2,
                             GunKind::Ship2Main, GunKind::Ship2Sub1, GunKind::Ship2Sub2, GunKind::Ship3Main,
                             GunKind::Ship3Pod1, GunKind::Ship3Pod2};
    for (GunKind kind : kinds) {
        const GunSpec& spec = PlayerGun::SpecOf(kind);
        for (int32_t level = 0; level < 4; ++level) {
            SCOPED_TRACE(testing::Message() << "gun " << int(kind) << " level " << level);
            RecordingGun* gun = Gun(kind, level);
            gun->SetFiring(true);
            const int start = clock;
            Run(spec.shotInterval[level] * (spec.burstShots[level] + 1) + 2);
            ASSERT_EQ(gun->shots.size(), size_t(spec.burstShots[level] + 1));
            for (size_t i = 0; i < gun->shots.size(); ++i) {
                const RecordingGun::Shot& shot = gun->shots[i];
                EXPECT_EQ(shot.step, start + 1 + int(i) * spec.shotInterval[level]);
                EXPECT_EQ(shot.shotsLeft, spec.burstShots[level] - int32_t(i));
                EXPECT_EQ(shot.made, gun->limitAtShot[i] < spec.limit[level]);
                if (!shot.made)
                    continue;
                EXPECT_EQ(shot.slot, spec.slot);
                EXPECT_EQ(shot.level, level);
                for (int c = 0; c < AttackVector::kSize; ++c)
                    EXPECT_EQ(shot.attack.values[size_t(c)],
                              c == spec.attackComponent ? spec.attackValue[level] : 0.0f);
                const float speed = std::hypot(shot.velocity.x, shot.velocity.z);
                EXPECT_NEAR(speed, spec.speed[level], 1e-5f);
            }
            EXPECT_EQ(gun->GetBulletLimit(), spec.limit[level]);
            delete gun;
        }
    }
}

TEST_F(PlayerGunTest, ShipsCarryTheirGunsInSlotOrder) {
    struct Case {
        int32_t type;
        std::vector<GunKind> kinds;
    };
    const Case cases[] = {
        {0,
         {GunKind::Ship0Main, GunKind::Ship0Sub1, GunKind::Ship0Sub2, GunKind::Ship0Sub3,
          GunKind::Ship0Sub4}},
        {1, {GunKind::Ship1Main, GunKind::Ship1Sub1, GunKind::Ship1Sub2}},
        {2, {GunKind::Ship2Main, GunKind::Ship2Sub1, GunKind::Ship2Sub2}},
        {3, {GunKind::Ship3Main, GunKind::Ship3Pod1, GunKind::Ship3Pod2}},
        {4, {}},
        {-1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        GunKind kinds[5];
        ASSERT_EQ(PlayerGun::KindsOfShip(c.type, kinds), int32_t(c.kinds.size()));
        for (size_t i = 0; i < c.kinds.size(); ++i) {
            EXPECT_EQ(kinds[i], c.kinds[i]);
            EXPECT_EQ(PlayerGun::SpecOf(kinds[i]).slot, int32_t(i));
        }
    }
    // The ship under test builds them.
    EXPECT_EQ(static_cast<PlayerGun*>(ship->guns[0])->GetKind(), GunKind::Ship0Main);
    EXPECT_EQ(static_cast<PlayerGun*>(ship->guns[4])->GetKind(), GunKind::Ship0Sub4);
}

TEST_F(PlayerGunTest, TheFourthAndSecondLevelsOfTheLaterMainGuns) {
    // Bursts of 2 shots 3 steps apart at level 0, of 5 shots 4 apart at level 1.
    for (GunKind kind : {GunKind::Ship2Main, GunKind::Ship3Main}) {
        for (int32_t level : {0, 1}) {
            RecordingGun* gun = Gun(kind, level);
            gun->SetFiring(true);
            Run(25);
            const std::vector<int> expected =
                level == 0 ? std::vector<int>{1, 4} : std::vector<int>{1, 5, 9, 13, 17};
            ASSERT_EQ(gun->shots.size(), expected.size());
            for (size_t i = 0; i < expected.size(); ++i)
                EXPECT_EQ(gun->shots[i].step - gun->shots[0].step + 1, expected[i]);
            delete gun;
        }
    }
}

TEST_F(PlayerGunTest, AtTheLimitNothingFiresUntilABulletGoes) {
    RecordingGun* gun = Gun(GunKind::Ship0Main, 0);
    int32_t& live = screen->GetPlayerSlot(1)[0];
    live = 4;  // as if four bullets of the slot were alive
    gun->SetFiring(true);
    const int sounds = ShotSounds();
    Run(1);
    ASSERT_EQ(gun->shots.size(), 1u);
    EXPECT_FALSE(gun->shots[0].made);
    EXPECT_EQ(gun->GetMuzzleFlash(), nullptr);
    EXPECT_EQ(ShotSounds(), sounds);
    EXPECT_EQ(screen->GetLivePlayerBullets(), 0);

    live = 3;  // one of them went: the next due shot fires, with flash and sound
    Run(5);
    ASSERT_EQ(gun->shots.size(), 2u);
    EXPECT_TRUE(gun->shots[1].made);
    EXPECT_EQ(live, 4);
    ASSERT_NE(gun->GetMuzzleFlash(), nullptr);
    EXPECT_EQ(ShotSounds(), sounds + 1);

    // Full again: the flash is not replayed.
    gun->GetMuzzleFlash()->SetMotionTime(0.5f);
    Run(5);
    EXPECT_FALSE(gun->shots[2].made);
    EXPECT_GE(gun->GetMuzzleFlash()->GetMotionTime(), 0.5f);
    EXPECT_EQ(ShotSounds(), sounds + 1);
    delete gun;
    live -= 3;
}

TEST_F(PlayerGunTest, APowerChangeWaitsForTheNextBurst) {
    RecordingGun* gun = Gun(GunKind::Ship0Sub1, 0);
    gun->SetFiring(true);
    Run(1);
    gun->SetPowerLevel(3);
    gun->SetFiring(true);  // bursts remain: changes nothing
    Run(30);
    ASSERT_EQ(gun->shots.size(), 4u);  // level 0: N 3, 5 steps apart
    EXPECT_EQ(gun->shots[3].step - gun->shots[0].step, 15);
    for (const RecordingGun::Shot& shot : gun->shots) {
        if (shot.made) {
            EXPECT_EQ(shot.level, 0);
        }
    }
    gun->SetFiring(true);  // the next firing configures at level 3
    const size_t before = gun->shots.size();
    Run(20);
    EXPECT_EQ(gun->GetShotInterval(), 2);
    EXPECT_EQ(gun->GetBurstShots(), 6);
    EXPECT_EQ(gun->GetShotLevel(), 3);
    EXPECT_EQ(gun->GetBulletLimit(), 6);
    ASSERT_GE(gun->shots.size(), before + 2);
    EXPECT_EQ(gun->shots[before + 1].step - gun->shots[before].step, 2);
    EXPECT_EQ(gun->shots[before].shotsLeft, 6);
    delete gun;
}

TEST_F(PlayerGunTest, PodGunsScatterAroundTheBackwardAxisByTheWorldGenerator) {
    RecordingGun* gun = Gun(GunKind::Ship3Pod1, 3);
    const Vec3 f = gun->GetWorldForward();
    const float back = std::atan2(-f.z, -f.x);
    gun->SetFiring(true);
    for (int i = 0; i < 12; ++i) {
        Random expected = screen->GetRandom();
        const float r = expected.Range(-20.0f, 20.0f) * 0.017453294f;
        const size_t before = gun->shots.size();
        Run(1);
        if (gun->shots.size() == before)
            continue;
        if (gun->shots.size() == before + 1 && gun->shots.back().made) {
            const Vec3 v = gun->shots.back().velocity;
            const float a = std::atan2(v.z, v.x);
            float off = a - back;
            if (off > 3.1415927f)
                off -= 6.2831855f;
            if (off < -3.1415927f)
                off += 6.2831855f;
            EXPECT_LE(std::fabs(off), 20.0f * 0.017453294f + 1e-5f);
            EXPECT_NEAR(std::cos(a), std::cos(back + r), 1e-5f);
            EXPECT_NEAR(std::sin(a), std::sin(back + r), 1e-5f);
        }
        gun->SetFiring(true);
    }
    EXPECT_GE(gun->shots.size(), 6u);
    EXPECT_EQ(gun->GetMuzzleFlash(), nullptr);
    delete gun;
}

TEST_F(PlayerGunTest, StraightShotsShowTheirHitEffectOnEveryFourthMadeAndTheirCells) {
    struct Case {
        StraightShotKind kind;
        bool item;
        int32_t cellAtLevel2;
    };
    const Case cases[] = {
        {StraightShotKind::Ship0Main, true, 2},  {StraightShotKind::Ship0Sub, false, 20},
        {StraightShotKind::Ship1Main, true, 6},  {StraightShotKind::Ship1Sub, false, 28},
        {StraightShotKind::Ship2Main, true, 10}, {StraightShotKind::Ship3Main, true, 14},
    };
    const Vec3 at{0.0f, 0.0f, 0.0f}, still{0.0f, 0.0f, 0.0f};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.kind));
        StraightShot::ResetMadeCounts();
        StraightShot* shots[4];
        for (StraightShot*& shot : shots)
            shot = new StraightShot(c.kind, screen->playerShotParent, at, still, screen, 1, 5, 2,
                                    AttackVector{});
        EXPECT_EQ(StraightShot::MadeCount(c.kind), 4);
        EXPECT_EQ(shots[0]->SpriteCell(), c.cellAtLevel2);
        const int items = log.Count("SpawnItem"), effects = log.Count("SpawnEffect");
        shots[0]->OnHit();
        EXPECT_EQ(log.Count("SpawnItem") - items, c.item ? 1 : 0);
        EXPECT_EQ(log.Count("SpawnEffect") - effects, 1);
        StraightShot* fifth =
            new StraightShot(c.kind, screen->playerShotParent, at, still, screen, 1, 5, 7, AttackVector{});
        shots[1]->OnHit();  // five made: no effect
        EXPECT_EQ(log.Count("SpawnEffect") - effects, 1);
        EXPECT_EQ(fifth->SpriteCell(), -1);  // no such level: not drawn
        delete fifth;
        for (StraightShot* shot : shots)
            delete shot;
    }
}

}  // namespace
}  // namespace mareldon
