#include "game/stage/Scoring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "engine/render/draw/DrawCommandList.h"
#include "engine/render/scene/CameraNode.h"
#include "game/render/ScreenDrawers.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/Items.h"
#include "game/stage/PlayerShip.h"
#include "game/stage/StaticModelRoot.h"
#include "game/system/GameSystem.h"
#include "game/system/IoEvent.h"
#include "tests/game/stage/WorldScreenFixture.h"

namespace mareldon {
namespace {

constexpr uint64_t kMax64 = ~uint64_t{0};

TEST(ScoreRulesTest, EachScoreStopsAtTheCap) {
    struct Case {
        uint64_t score;
        __int128 amount;
        uint64_t expected;
    } const cases[] = {
        {0, 1000, 1000},
        {kScoreCap - 5, 5, kScoreCap},
        {kScoreCap - 5, 6, kScoreCap},
        // A 64-bit sum would carry to about 1.16e19, under the cap.
        {kScoreCap, kScoreCap, kScoreCap},
        {0, __int128(kMultiplierCap) * INT64_MAX, kScoreCap},
        // A negative amount larger than the score wraps to a huge value, which is the cap.
        {10, -11, kScoreCap},
        {10, -10, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AddCappedScore(c.score, c.amount), c.expected) << c.score << " + " << int64_t(c.amount);
}

TEST(ScoreRulesTest, ThePairCapCatchesSumsThatCarry) {
    struct Case {
        uint64_t first, second;
        uint64_t expectedFirst, expectedSecond;
    } const cases[] = {
        {10'000'000'000'000'000'000ull, 4'000'000'000'000'000'000ull, 10'000'000'000'000'000'000ull,
         4'000'000'000'000'000'000ull},
        {10'000'000'000'000'000'000ull, 5'000'000'000'000'000'000ull, 10'000'000'000'000'000'000ull,
         5'000'000'000'000'000'000ull},
        {10'000'000'000'000'000'000ull, 6'000'000'000'000'000'000ull, kScoreCap, 0},
        // 1.5e19 + 1.5e19 carries past 2^64 to about 1.16e19, under the cap.
        {kScoreCap, kScoreCap, kScoreCap, 0},
        {kMax64, 1, kScoreCap, 0},
    };
    for (const Case& c : cases) {
        uint64_t first = c.first;
        uint64_t second = c.second;
        ApplyPairCap(first, second);
        EXPECT_EQ(first, c.expectedFirst) << c.first << " + " << c.second;
        EXPECT_EQ(second, c.expectedSecond) << c.first << " + " << c.second;
    }
}

TEST(ScoreRulesTest, ChainFeedsTheCappedMultiplierAndEarlyPickupsPayMore) {
    PlayerRecord record;
    record.multiplier = 1;
    EXPECT_EQ(RaiseChain(record, 10), 10);
    EXPECT_EQ(record.multiplier, 11);
    EXPECT_EQ(RaiseChain(record, 0), 10) << "a value-0 pickup still feeds the chain";
    EXPECT_EQ(record.multiplier, 21);
    record.multiplier = kMultiplierCap - 5;
    RaiseChain(record, 3);
    EXPECT_EQ(record.multiplier, kMultiplierCap);
    record.multiplier = kMultiplierCap;
    record.chain = 2'000'000'000;
    RaiseChain(record, 0);
    EXPECT_EQ(record.multiplier, kMultiplierCap) << "no overflow on the way to the cap";

    const std::pair<int32_t, int32_t> factors[] = {{0, 10}, {9, 10}, {10, 9},  {89, 2},
                                                   {90, 1}, {95, 1}, {100, 1}, {5000, 1}};
    for (const auto& [age, factor] : factors)
        EXPECT_EQ(PickupFactor(age), factor) << "age " << age;
}

class ScoringTest : public testing::Test, public WorldScreenFixture {
  protected:
    void StartWithShip() {
        Enter(1);
        ASSERT_TRUE(StartWorld());
        ASSERT_GE(StepUntil([&] { return screen->ships[0] != nullptr && screen->GetStageTime() > 0.0f; }, 10),
                  0);
    }
    PlayerRecord& Player(int player) { return system->GetPlayer(player); }
    // A pickup circle of player 1's ship over the whole screen, for this step.
    void CoverScreen() {
        screen->HitLists().RegisterPlayerPickupCircle(screen->ships[0],
                                                      screen->GetSceneRoot()->GetWorldPosition(), 1000.0f);
    }
    // A point of the play plane in the middle of the screen.
    Vec3 Middle() { return screen->GetSceneRoot()->GetWorldPosition(); }
    // The item's clock set so that its age is `age` steps.
    static void SetAge(Object3D& item, int32_t age) { item.SetMotionTime((float(age) + 0.5f) / 60.0f); }
    int Count(const char* operation) const { return log.Count(operation); }
    int Count(const char* operation, const char* arguments) const { return log.Count(operation, arguments); }
    // Effects of that name spawned so far.
    int Effects(const char* name) const {
        int count = 0;
        for (const WorldEvent& event : log.Events())
            count += event.operation == "SpawnEffect" && event.arguments.rfind(name, 0) == 0 ? 1 : 0;
        return count;
    }
};

TEST_F(ScoringTest, AddScoreMultipliesSavesAndCaps) {
    StartWithShip();
    Player(1).multiplier = 0;
    screen->AddScore(1, 1000);
    EXPECT_EQ(Player(1).score, 0u);

    Player(1).multiplier = 3;
    screen->AddScore(1, 1000);
    EXPECT_EQ(Player(1).score, 3000u);
    EXPECT_EQ(system->GetSavedScore()[0].score, 3000u) << "scores are saved";
    EXPECT_GE(system->GetTopScore(), 3000u);

    // The raw one neither multiplies nor saves.
    screen->AddScoreRaw(1, 500);
    EXPECT_EQ(Player(1).score, 3500u);
    EXPECT_EQ(system->GetSavedScore()[0].score, 3000u);

    // A 64-bit value and a huge multiplier end at the cap.
    Player(1).multiplier = kMultiplierCap;
    screen->AddScore64(1, 100'000'000'000'000);
    EXPECT_EQ(Player(1).score, kScoreCap);

    // The pair: player 2 reaching past the cap together gives player 1 everything.
    Player(1).score = 10'000'000'000'000'000'000ull;
    Player(2).score = 5'000'000'000'000'000'000ull;
    Player(2).multiplier = 1;
    screen->AddScore(2, 1'000'000'000);
    EXPECT_EQ(Player(1).score, kScoreCap);
    EXPECT_EQ(Player(2).score, 0u);
    Player(1).score = kScoreCap;
    Player(2).score = 0;
    screen->AddScoreRaw(2, kScoreCap);
    EXPECT_EQ(Player(1).score, kScoreCap) << "a wrapping sum is past the cap";
    EXPECT_EQ(Player(2).score, 0u);
}

TEST_F(ScoringTest, SpawnItemMakesTheNamedDrop) {
    StartWithShip();
    struct Case {
        const char* name;
        int32_t value;
        int32_t sound;
    } const items[] = {{"BONUS_SR2", 0, 1}, {"BONUS_S", 10, 1},   {"BONUS_SX", 30, 1}, {"BONUS_M", 50, 1},
                       {"BONUS_L", 100, 1}, {"BONUS_X", 500, 47}, {"NO_SUCH", 1, 1}};
    for (const Case& c : items) {
        Random copy = screen->GetRandom();
        auto* item = dynamic_cast<ScoreItem*>(screen->SpawnItem(Middle(), {1.0f, 0.0f, 1.0f}, c.name));
        ASSERT_NE(item, nullptr) << c.name;
        EXPECT_EQ(item->parent, screen->itemParent);
        EXPECT_EQ(item->value, c.value) << c.name;
        EXPECT_EQ(item->soundId, c.sound) << c.name;
        // Two draws either way; the valuable items then fly straight up.
        const float vx = copy.Range(-0.007f, 0.007f);
        const float vz = copy.Range(0.03f, 0.07f);
        EXPECT_EQ(screen->GetRandom().Next(), copy.Next()) << c.name;
        if (c.value >= 100) {
            EXPECT_EQ(item->velocity.x, 0.0f);
            EXPECT_EQ(item->velocity.z, 0.12f);
        } else {
            EXPECT_EQ(item->velocity.x, vx);
            EXPECT_EQ(item->velocity.z, vz);
        }
        // Dropped on the play plane where it was seen: the camera looks straight down.
        EXPECT_NEAR(item->GetWorldPosition().x, Middle().x, 1e-4f);
        EXPECT_NEAR(item->GetWorldPosition().z, Middle().z, 1e-4f);
    }

    const int chips = screen->GetScoreChipCount();
    EXPECT_EQ(screen->SpawnItem(Middle(), {}, "BONUS_SR"), nullptr);
    EXPECT_EQ(screen->SpawnItem(Middle(), {}, "BONUS_SS"), nullptr);
    EXPECT_EQ(screen->GetScoreChipCount(), chips + 2);
    EXPECT_EQ(Count("SpawnScoreChip", "0 3 1"), 1);
    EXPECT_EQ(Count("SpawnScoreChip", "1 0 1"), 1);

    for (const char* name : {"BONUS_POWER", "BONUS_BOMB"}) {
        for (int i = 0; i < 16; ++i) {
            Random copy = screen->GetRandom();
            TaskObject* made = screen->SpawnItem(Middle(), {5.0f, 0.0f, 5.0f}, name);
            auto* item = dynamic_cast<PowerItem*>(made);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(dynamic_cast<BombItem*>(made) != nullptr, name[6] == 'B');
            EXPECT_NEAR(std::hypot(item->velocity.x, item->velocity.z), 0.06f, 1e-6f);
            float degrees = std::atan2(item->velocity.z, item->velocity.x) * 57.29578f;
            if (degrees < 0.0f)
                degrees += 360.0f;
            const float r = float(copy.Next()) * 2.3283064e-10f;
            const uint32_t k = copy.Next() & 3u;
            EXPECT_NEAR(degrees, 40.0f + 10.0f * r + 90.0f * float(k), 1e-3f);
            EXPECT_GE(std::fmod(degrees, 90.0f), 40.0f - 1e-3f);
            EXPECT_LE(std::fmod(degrees, 90.0f), 50.0f + 1e-3f);
        }
    }
}

// Seen at a slant, an enemy drops its item where the camera saw it: on the play plane,
// on the line from the eye through the enemy. A point level with the eye keeps its own
// x and z (the line never meets the plane).
TEST_F(ScoringTest, SpawnItemProjectsAlongTheSightLineOfASlantedCamera) {
    StartWithShip();
    screen->cameraRig->SetPosition({3.0f, -4.0f, -5.0f});
    screen->cameraRig->SetQuaternion(EulerToQuaternion(0.35f, -0.2f, 0.0f));
    const Vec3 eye = screen->sceneCamera->GetWorldPosition();
    const Vec3 middle = Middle();
    ASSERT_GT(std::hypot(eye.x - middle.x, eye.z - middle.z), 1.0f) << "the eye is off to the side";
    const Vec3 offsets[] = {
        {-2.0f, 3.0f, 1.0f}, {1.5f, 6.0f, -2.0f}, {0.5f, -1.0f, 0.5f}, {0.0f, 0.0f, 0.0f}};
    for (const Vec3& offset : offsets) {
        const Vec3 p{middle.x + offset.x, middle.y + offset.y, middle.z + offset.z};
        auto* item = dynamic_cast<ScoreItem*>(screen->SpawnItem(p, {}, "BONUS_S"));
        ASSERT_NE(item, nullptr);
        const Vec3 at = item->GetWorldPosition();
        EXPECT_NEAR(at.y, middle.y, 1e-3f);
        // (at - eye) runs along (p - eye): their cross product vanishes.
        const Vec3 a{at.x - eye.x, at.y - eye.y, at.z - eye.z};
        const Vec3 b{p.x - eye.x, p.y - eye.y, p.z - eye.z};
        const Vec3 cross{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
        const float scale = std::hypot(a.x, a.y, a.z) * std::hypot(b.x, b.y, b.z);
        EXPECT_LT(std::hypot(cross.x, cross.y, cross.z), 1e-4f * scale)
            << offset.x << " " << offset.y << " " << offset.z;
        delete item;
    }
    const Vec3 level{middle.x + 1.0f, eye.y, middle.z + 2.0f};
    auto* item = dynamic_cast<ScoreItem*>(screen->SpawnItem(level, {}, "BONUS_S"));
    ASSERT_NE(item, nullptr);
    const Vec3 at = item->GetWorldPosition();
    EXPECT_NEAR(at.x, level.x, 1e-3f);
    EXPECT_NEAR(at.z, level.z, 1e-3f);
    EXPECT_NEAR(at.y, middle.y, 1e-3f);
    delete item;
}

// Chips rise, slow and fall; taken, they pay factor x chain at the multiplier raised by
// the new chain.
TEST_F(ScoringTest, ChipsPayTheChainAndGoBelowTheScreen) {
    StartWithShip();
    struct Case {
        const char* name;
        int32_t steps;
        uint64_t factor;
    } const cases[] = {{"BONUS_SR", 1, 10}, {"BONUS_SR", 90, 1}, {"BONUS_SS", 1, 10}};
    for (const Case& c : cases) {
        Player(1).chain = 5;
        Player(1).multiplier = 7;
        Player(1).score = 0;
        const int32_t value = c.name[7] == 'R' ? 3 : 0;
        screen->SpawnItem(Middle(), {}, c.name);
        for (int i = 1; i < c.steps; ++i) {
            screen->ClearHitLists();
            screen->UpdateScoreChips();
        }
        ASSERT_EQ(screen->GetScoreChipCount(), 1) << c.name;
        screen->ClearHitLists();
        CoverScreen();
        screen->UpdateScoreChips();
        EXPECT_EQ(screen->GetScoreChipCount(), 0);
        const int32_t chain = 5 + value;
        EXPECT_EQ(Player(1).chain, chain) << c.name;
        EXPECT_EQ(Player(1).multiplier, 7 + chain);
        EXPECT_EQ(Player(1).score, c.factor * uint64_t(chain) * uint64_t(7 + chain)) << c.name << c.steps;
    }
    EXPECT_EQ(Count("PlaySe", "1"), 3);

    // One chip in the middle stays, one dropped far below the screen goes at once.
    screen->ClearHitLists();
    screen->SpawnItem(Middle(), {}, "BONUS_SR");
    const Vec3 below{Middle().x, Middle().y, Middle().z - 40.0f};
    screen->SpawnItem(below, {}, "BONUS_SR");
    screen->UpdateScoreChips();
    EXPECT_EQ(screen->GetScoreChipCount(), 1);
    // A chip falls out of the bottom in time.
    EXPECT_GE(StepUntil([&] { return screen->GetScoreChipCount() == 0; }, 600), 0);
}

// A chip below the screen that a ship's pickup circle still holds is taken, not lost.
TEST_F(ScoringTest, AChipBelowTheScreenInAShipsReachIsPickedUpFirst) {
    StartWithShip();
    Player(1).chain = 2;
    Player(1).multiplier = 1;
    Player(1).score = 0;
    const Vec3 below{Middle().x, Middle().y, Middle().z - 40.0f};
    screen->SpawnItem(below, {}, "BONUS_SR");
    ASSERT_EQ(screen->GetScoreChipCount(), 1);
    screen->ClearHitLists();
    screen->HitLists().RegisterPlayerPickupCircle(screen->ships[0], below, 1000.0f);
    screen->UpdateScoreChips();
    EXPECT_EQ(screen->GetScoreChipCount(), 0);
    EXPECT_EQ(Count("PickUpScoreChip", "3 1"), 1);
    // Chain 2 + 3, multiplier 1 + 5, taken at age 1: 10 x 5 x 6.
    EXPECT_EQ(Player(1).chain, 5);
    EXPECT_EQ(Player(1).multiplier, 6);
    EXPECT_EQ(Player(1).score, 300u);
}

TEST_F(ScoringTest, ScoreItemsPayByAgeAndCapTheMultiplier) {
    StartWithShip();
    struct Case {
        int32_t age;
        int32_t multiplier;
        const char* scored;
        int32_t expectedMultiplier;
    } const cases[] = {{0, 1, "1 100", 11},
                       {95, 1, "1 10", 11},
                       {100, 1, "1 10", 11},
                       {0, kMultiplierCap - 5, "1 100", kMultiplierCap}};
    for (const Case& c : cases) {
        Player(1).chain = 0;
        Player(1).multiplier = c.multiplier;
        auto* item = static_cast<ScoreItem*>(screen->SpawnItem(Middle(), {}, "BONUS_S"));
        SetAge(*item, c.age);
        screen->ClearHitLists();
        EXPECT_FALSE(item->Collect()) << "no ship near";
        CoverScreen();
        const int scored = Count("AddScore", c.scored);
        EXPECT_TRUE(item->Collect());
        EXPECT_EQ(Count("AddScore", c.scored), scored + 1) << c.age;
        EXPECT_EQ(Player(1).chain, 10);
        EXPECT_EQ(Player(1).multiplier, c.expectedMultiplier);
        delete item;
    }
    EXPECT_EQ(Count("PlaySe", "1"), 4);

    // An item below the screen has gone.
    screen->ClearHitLists();
    auto* sunk = static_cast<ScoreItem*>(screen->SpawnItem(Middle(), {}, "BONUS_X"));
    sunk->SetPosition({sunk->GetPosition().x, 0.0f, sunk->GetPosition().z - 40.0f});
    EXPECT_TRUE(sunk->Collect());
    delete sunk;
}

TEST_F(ScoringTest, PowerAndBombItemsWaitThenReward) {
    StartWithShip();
    PlayerShip* ship = screen->ships[0];
    auto spawn = [&](const char* name) {
        auto* item = static_cast<PowerItem*>(screen->SpawnItem(Middle(), {}, name));
        screen->ClearHitLists();
        CoverScreen();
        return item;
    };

    PowerItem* power = spawn("BONUS_POWER");
    SetAge(*power, 30);
    EXPECT_FALSE(power->Collect()) << "not before its 31st step";
    SetAge(*power, 31);
    EXPECT_TRUE(power->Collect());
    EXPECT_EQ(ship->GetPowerLevel(), 1);
    EXPECT_EQ(Player(1).powerLevel, 1);
    EXPECT_EQ(Effects("POWER_font"), 1);
    EXPECT_EQ(Count("PlaySe", "17"), 1);
    delete power;

    ship->SetPowerLevel(3);
    const int effects = Effects("POWER_font");
    power = spawn("BONUS_POWER");
    SetAge(*power, 40);
    EXPECT_TRUE(power->Collect());
    EXPECT_EQ(ship->GetPowerLevel(), 3);
    EXPECT_EQ(Count("AddScore", "1 1000000"), 1);
    EXPECT_EQ(Effects("POWER_font"), effects) << "no caption at the top level";
    delete power;

    struct BombCase {
        int32_t stock;
        int32_t expected;
        bool caption;
    } const bombs[] = {{2, 3, true}, {9, 9, false}, {10, 10, false}};
    for (const BombCase& c : bombs) {
        Player(1).bombStock = c.stock;
        const int before = Effects("FORCE_font");
        const int sounds = Count("PlaySe", "44");
        const int scores = Count("AddScore", "1 1000000");
        PowerItem* bomb = spawn("BONUS_BOMB");
        SetAge(*bomb, 31);
        EXPECT_TRUE(bomb->Collect());
        EXPECT_EQ(Player(1).bombStock, c.expected);
        EXPECT_EQ(Effects("FORCE_font") - before, c.caption ? 1 : 0) << c.stock;
        EXPECT_EQ(Count("PlaySe", "44"), sounds + 1);
        EXPECT_EQ(Count("AddScore", "1 1000000"), scores + 1);
        delete bomb;
    }
}

// Power items bounce inside a 10 x 10 box about the scene root and are pulled back in.
TEST_F(ScoringTest, PowerItemsStayInTheirBox) {
    StartWithShip();
    screen->ClearHitLists();
    auto* item = static_cast<PowerItem*>(screen->SpawnItem(Middle(), {}, "BONUS_POWER"));
    const Vec3 root = screen->GetSceneRoot()->GetWorldPosition();
    const Vec3 start = item->GetPosition();
    SetAge(*item, 100);
    item->velocity = {0.2f, 0.0f, -0.2f};
    item->SetPosition({start.x + 4.9f, start.y, start.z - 4.9f});
    item->OnUpdatePre();
    EXPECT_LT(item->velocity.x, 0.0f);
    EXPECT_GT(item->velocity.z, 0.0f);
    // Out to (5.1, -5.1); each bounce moves by the whole velocity: (5.3, -4.9), then (5.1, -4.7).
    EXPECT_NEAR(item->GetWorldPosition().x - root.x, 5.1f, 1e-4f);
    EXPECT_NEAR(item->GetWorldPosition().z - root.z, -4.7f, 1e-4f);
    EXPECT_FALSE(item->Collect());
    EXPECT_NEAR(item->GetWorldPosition().x - root.x, 4.9f, 1e-4f) << "pulled back into the box";

    item->SetPosition({start.x - 7.0f, start.y, start.z + 8.0f});
    EXPECT_FALSE(item->Collect());
    EXPECT_NEAR(item->GetWorldPosition().x - root.x, -4.9f, 1e-4f);
    EXPECT_NEAR(item->GetWorldPosition().z - root.z, 4.9f, 1e-4f);

    // Eases in: at age 0 it does not move.
    SetAge(*item, 0);
    const Vec3 still = item->GetPosition();
    item->OnUpdatePre();
    EXPECT_EQ(item->GetPosition().x, still.x);
}

TEST_F(ScoringTest, KillPlayersDropsPowerAndSpendsAShip) {
    StartWithShip();
    const GameSettings& settings = system->GetGameSettings();
    struct Case {
        int32_t stock;
        int32_t expected;
    } const cases[] = {{3, 2}, {10, 10}, {1, 0}};
    for (const Case& c : cases) {
        ASSERT_GE(StepUntil([&] { return screen->ships[0] != nullptr; }, 10), 0);
        Player(1).shipStock = c.stock;
        Player(1).powerLevel = 3;
        Player(1).chain = 40;
        Player(1).bombStock = 0;
        TaskObject* popup = screen->CreateFallingSprite({}, {100.0f, 100.0f, 0.0f}, 3, 1);
        ASSERT_NE(popup, nullptr);
        auto* popups = static_cast<TaskObject*>(popup->parent);
        const int before = screen->itemParent->childCount;
        Events().clear();
        screen->KillPlayers(1);
        int powers = 0;
        TreeNode* node = screen->itemParent->firstChild;
        for (int32_t i = 0; i < screen->itemParent->childCount; ++i, node = node->next)
            powers += dynamic_cast<PowerItem*>(static_cast<TaskObject*>(node)) != nullptr ? 1 : 0;
        EXPECT_EQ(screen->itemParent->childCount - before, 3);
        EXPECT_GE(powers, 3);
        EXPECT_EQ(Player(1).powerLevel, 0);
        EXPECT_EQ(Player(1).chain, 0);
        EXPECT_EQ(Player(1).bombStock, settings.bombStock);
        EXPECT_EQ(Player(1).shipStock, c.expected);
        EXPECT_EQ(screen->ships[0], nullptr);
        EXPECT_EQ(popups->childCount, 0) << "the player's pop-ups go";
        bool nameEntry = false;
        for (const auto& [code, argument] : Events())
            nameEntry |= (code & 0xFF000000u) == IoEvent::kNameEntry;
        EXPECT_EQ(nameEntry, c.expected == 0) << c.stock;
        Player(1).shipStock = 3;
    }
}

// A chip shows frame (age / 4) & 7 of its row on the game sheet; a spark is a disc
// whose colour fades with its age.
TEST_F(ScoringTest, ChipsAndSparksAreDrawnByAge) {
    AddScreen();
    StartWithShip();
    screen->SpawnScoreChip(Middle(), {}, 1, 0, 1);
    screen->SpawnSpark(Middle(), {}, 10.0f);
    for (int i = 0; i < 9; ++i) {
        screen->ClearHitLists();
        screen->UpdateScoreChips();
    }
    screen->UpdateSparks();
    screen->OnDrawPre();
    const RefPtr<DrawCommandList>& list = screen->GetGameDrawer()->Commands();
    int chipTriangles = 0;
    int sparkTriangles = 0;
    for (int32_t i = 0; i < list->CommandCount(); ++i) {
        const DrawCommandList::Command& command = list->CommandAt(i);
        if (command.descriptor == screen->GetGameDrawer()) {
            ++chipTriangles;
            const auto* vertices = reinterpret_cast<const TexturedVertex*>(list->CommandVertices(i));
            for (int v = 0; v < 3; ++v) {
                // Age 9: frame 2.
                EXPECT_TRUE(vertices[v].u == 0.625f + 2.0f / 32.0f || vertices[v].u == 0.625f + 3.0f / 32.0f)
                    << vertices[v].u;
                EXPECT_TRUE(vertices[v].v == 1.0f / 32.0f || vertices[v].v == 2.0f / 32.0f) << vertices[v].v;
            }
        } else {
            ++sparkTriangles;
            const auto* vertices = reinterpret_cast<const ColoredVertex*>(list->CommandVertices(i));
            EXPECT_FLOAT_EQ(vertices[0].r, 1.0f);
            EXPECT_FLOAT_EQ(vertices[0].g, 0.98f);
            EXPECT_FLOAT_EQ(vertices[0].b, 0.97f);
            EXPECT_FLOAT_EQ(vertices[0].a, 0.99f);
        }
    }
    EXPECT_EQ(chipTriangles, 2);
    EXPECT_GE(sparkTriangles, 3);
    screen->DrawHud();
}

}  // namespace
}  // namespace mareldon
