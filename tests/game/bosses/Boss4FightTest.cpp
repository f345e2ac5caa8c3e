#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/render/scene/MeshObject.h"
#include "tests/game/bosses/Boss4Fixture.h"

namespace mareldon {
namespace {

// The frame argument of a "BossEvent label frame" entry.
int32_t EventFrame(const WorldEvent& event) {
    return std::stoi(event.arguments.substr(event.arguments.rfind(' ') + 1));
}
bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// Opens the face, beats the body, waits for the head's attack and beats the head outside
// its guard; then runs to the stage clear.
void RunBeatenFight(Boss4Fixture& f) {
    ASSERT_TRUE(f.Start());
    ASSERT_TRUE(f.OpenFace());
    f.Steps(120);
    Boss4Body* body = f.Body();
    Boss4Fixture::Hit(body->Part(2), 2501.0f);
    ASSERT_GE(f.StepsUntil([&] { return f.Count("BossShown") > 0; }, 400), 0);
    ASSERT_GE(f.StepsUntil([&] { return f.StepOf("BossEvent", "appear.attack 150") >= 0; }, 200), 0);
    f.Steps(200);
    Boss4LayerPart23* head = f.Head();
    ASSERT_FALSE(head->IsGuarded());
    Boss4Fixture::Hit(head->WeakPoint(), 3001.0f);
    ASSERT_GE(f.StepsUntil([&] { return f.Count("BeginStageClear") > 0; }, 1200), 0);
    f.Steps(30);
}

TEST(Boss4Fight, BeatenFaceHandsOverToTheHeadWhoseDestructionEndsInTheClear) {
    Boss4Fixture f;
    ASSERT_TRUE(f.Start());
    Boss4LayerPart0* root = f.Root();
    Boss4Body* body = f.Body();
    Boss4LayerPart23* head = f.Head();
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->body, body);
    ASSERT_EQ(root->head, head);
    // Every muzzle and part found its slot.
    for (int32_t slot : {kBoss4Medarion, kBoss4HebiRue, kBoss4HebiRshita, kBoss4HebiRnaka, kBoss4HebiLue,
                         kBoss4HebiLshita, kBoss4HebiLnaka})
        EXPECT_NE(body->Muzzle(slot), nullptr) << slot;
    for (int32_t slot = 0; slot < kBoss4HeadSlotCount; ++slot)
        EXPECT_NE(head->Muzzle(slot), nullptr) << slot;
    for (int32_t layer = 1; layer <= 8; ++layer)
        ASSERT_NE(body->Part(layer), nullptr) << layer;
    EXPECT_NE(body->Marker(true), nullptr);
    EXPECT_NE(body->Marker(false), nullptr);
    ASSERT_NE(head->WeakPoint(), nullptr);
    // Layers 1 and 2 share the broken model's child 1.
    EXPECT_EQ(body->Part(1)->slot, 1);
    EXPECT_EQ(body->Part(2)->slot, 1);
    EXPECT_EQ(body->Part(5)->slot, 5);

    // Shut until frame 11400; the head stays hidden through the sweeps.
    f.Steps(5);
    EXPECT_EQ(body->Part(2)->hittable, 0);
    EXPECT_TRUE(head->heldHidden != 0 && !head->GetDrawSelf() && head->nodeChildren == 0);
    EXPECT_TRUE(f.shots.empty());
    ASSERT_TRUE(f.OpenFace());
    for (int32_t layer = 2; layer <= 8; ++layer)
        EXPECT_EQ(body->Part(layer)->hittable, 1) << layer;
    EXPECT_EQ(body->Part(1)->hittable, 0);
    f.Steps(120);
    EXPECT_FALSE(f.shots.empty());

    Boss4Fixture::Hit(body->Part(2), 2501.0f);
    f.Steps(2);
    EXPECT_TRUE(body->IsBeaten());
    const int32_t defeatBegins = f.StepOf("BossEvent", "defeat.begin 0");
    ASSERT_GE(defeatBegins, 0);
    ASSERT_GE(f.StepsUntil([&] { return f.Count("BossShown") > 0; }, 400), 0);
    EXPECT_EQ(f.StepOf("BossShown") - defeatBegins, 300);
    EXPECT_TRUE(body->IsSinking());
    EXPECT_TRUE(head->heldHidden == 0 && head->GetUpdateSelf());
    f.BossStep();
    EXPECT_TRUE(head->GetDrawSelf());
    ASSERT_NE(head->HeadModel(), nullptr);
    EXPECT_EQ(head->WeakPoint()->hittable, 1);
    // Carried by the head model's first node.
    EXPECT_NEAR(head->GetPosition().z, kPlaceholderBoss4Z + 3.0f, 0.5f);
    ASSERT_GE(f.StepsUntil([&] { return f.StepOf("BossEvent", "appear.attack 150") >= 0; }, 200), 0);

    // Damage in the guarded window is lost, not kept for later.
    ASSERT_GE(f.StepsUntil([&] { return head->IsGuarded(); }, 1000), 0);
    EXPECT_GE(f.StepOf("BossEvent", "head.guard 840"), 0);
    Boss4Fixture::Hit(head->WeakPoint(), 5000.0f);
    ASSERT_GE(f.StepsUntil([&] { return !head->IsGuarded(); }, 400), 0);
    f.Steps(2);
    EXPECT_FALSE(head->HasDefeatStarted());
    EXPECT_EQ(head->damage->GetFrame(), 0);

    Boss4Fixture::Hit(head->WeakPoint(), 3001.0f);
    f.BossStep();
    f.BossStep();
    ASSERT_TRUE(head->HasDefeatStarted());
    const int32_t defeatStep = f.StepOf("BossEvent", "head.defeat.begin 0");
    ASSERT_GE(defeatStep, 0);
    EXPECT_EQ(head->WeakPoint()->hittable, 0);
    ASSERT_GE(f.StepsUntil([&] { return f.Count("BeginStageClear") > 0; }, 1200), 0);
    f.Steps(400);

    std::vector<int32_t> ringSteps;
    int32_t lastRingFrame = -1;
    for (const WorldEvent& e : f.log.Events()) {
        if (e.operation == "BossEvent" && StartsWith(e.arguments, "L25.ring")) {
            ringSteps.push_back(e.step);
            lastRingFrame = EventFrame(e);
        }
    }
    ASSERT_EQ(ringSteps.size(), 16u);
    EXPECT_GE(lastRingFrame, 520);
    EXPECT_LE(lastRingFrame, 664);
    // The destruction starts with the head's defeat and is first fed a step later.
    EXPECT_EQ(ringSteps.back() - defeatStep, lastRingFrame + 1);
    EXPECT_EQ(f.StepOf("BeginStageClear") - ringSteps.back(), 270);
    EXPECT_EQ(f.Count("BeginStageClear"), 1);
    EXPECT_TRUE(head->IsReleased());
    EXPECT_NE(head->FollowObject(), nullptr);
    EXPECT_EQ(head->HeadClock()->timeScale, 0.0f);
}

TEST(Boss4Fight, TwoRunsGiveTheSameLog) {
    std::vector<WorldEvent> logs[2];
    for (std::vector<WorldEvent>& events : logs) {
        Boss4Fixture f;
        RunBeatenFight(f);
        events = f.log.Events();
    }
    ASSERT_EQ(logs[0].size(), logs[1].size());
    for (size_t i = 0; i < logs[0].size(); ++i) {
        EXPECT_EQ(logs[0][i].step, logs[1][i].step) << i;
        EXPECT_EQ(logs[0][i].operation, logs[1][i].operation) << i;
        EXPECT_EQ(logs[0][i].arguments, logs[1][i].arguments) << i;
    }
}

TEST(Boss4Fight, BrokenPlateStaysDrawnWithItsBrokenMeshAndTakesNoHits) {
    Boss4Fixture f;
    ASSERT_TRUE(f.Start());
    ASSERT_TRUE(f.OpenFace());
    Boss4Body* body = f.Body();
    Boss4LayerPart* plate = body->Part(5);
    Boss4Fixture::Hit(plate, 199.0f);
    f.Steps(2);
    EXPECT_EQ(plate->hittable, 1);
    Boss4Fixture::Hit(plate, 2.0f);
    f.Steps(2);
    EXPECT_EQ(plate->hittable, 0);
    f.Steps(140);
    EXPECT_GE(f.StepOf("BossEvent", "L5.swap 130"), 0);
    EXPECT_EQ(plate->DrawSet().Get(), body->Holder()->Slot(5)->DrawSet().Get());
    EXPECT_GT(plate->durability, 0.0f);
    EXPECT_EQ(plate->nodeDrawSelf, 1);
    EXPECT_TRUE(plate->destruction->IsStopped());
    // Out of the target list for good; its neighbours still take hits.
    f.Steps(10);
    EXPECT_EQ(plate->hittable, 0);
    EXPECT_EQ(body->Part(4)->hittable, 1);
}

TEST(Boss4Fight, BodyGivesUpAt55SecondsLeftAndALaterBeatingDoesNothing) {
    Boss4Fixture f;
    ASSERT_TRUE(f.Start());
    ASSERT_TRUE(f.OpenFace());
    Boss4Body* body = f.Body();
    ASSERT_GE(f.StepsUntil([&] { return body->IsTimedOut(); }, 2200), 0);
    EXPECT_LE(f.screen->GetTimeLeft(), 55.0f);
    EXPECT_GT(f.screen->GetTimeLeft(), 54.9f);
    EXPECT_FALSE(body->IsBeaten());
    EXPECT_GE(f.StepOf("BossEvent", "defeat.begin 0"), 0);
    // The 2500th point comes too late to count.
    Boss4Fixture::Hit(body->Part(2), 3000.0f);
    f.Steps(2);
    EXPECT_FALSE(body->IsBeaten());
    EXPECT_EQ(f.Count("BossEvent", "damage.2500 2500"), 1);
    EXPECT_EQ(f.Count("BossEvent", "defeat.begin 0"), 1);
    ASSERT_GE(f.StepsUntil([&] { return f.Count("BossShown") > 0; }, 400), 0);
}

TEST(Boss4Fight, HeadTimingOutInItsGuardIsDefeatedWhenTheGuardEndsAndOnlyOnce) {
    Boss4Fixture f;
    ASSERT_TRUE(f.Start());
    ASSERT_TRUE(f.OpenFace());
    // Beaten so that the time-out (89 s after the face opens) falls in the head's second
    // guarded window.
    f.Steps(1848);
    Boss4Fixture::Hit(f.Body()->Part(2), 2501.0f);
    Boss4LayerPart23* head = f.Head();
    ASSERT_GE(f.StepsUntil([&] { return head->IsTimedOut(); }, 4000), 0);
    EXPECT_TRUE(head->IsGuarded());
    EXPECT_FALSE(head->HasDefeatStarted());
    EXPECT_FALSE(f.screen->IsTimeLimitEnabled());
    // Its weak point can no longer be damaged.
    Boss4Fixture::Hit(head->WeakPoint(), 5000.0f);
    ASSERT_GE(f.StepsUntil([&] { return head->HasDefeatStarted(); }, 400), 0);
    const int32_t defeatStep = f.StepOf("BossEvent", "head.defeat.begin 0");
    int32_t unguardStep = -1;
    for (const WorldEvent& e : f.log.Events()) {
        if (e.operation == "BossEvent" && e.arguments == "head.unguard 1160" && e.step <= defeatStep)
            unguardStep = e.step;
    }
    EXPECT_EQ(defeatStep, unguardStep + 1);
    ASSERT_GE(f.StepsUntil([&] { return f.Count("BeginStageClear") > 0; }, 1200), 0);
    // Well past the defeat's own end at 900.
    f.Steps(1200);
    EXPECT_EQ(f.Count("BossEvent", "head.defeat.begin 0"), 1);
    EXPECT_EQ(f.Count("BossEvent", "head.defeat.release 90"), 1);
    EXPECT_EQ(f.Count("BossEvent", "head.defeat.end 900"), 1);
    EXPECT_LE(f.Count("CancelAllEnemyBullets"), 1);
    EXPECT_EQ(f.Count("BeginStageClear"), 1);
    EXPECT_EQ(f.Count("BossEvent", "head.damage.3000 3000"), 0);
}

// The placeholder face without the nodes of that name (and what hangs under them).
BossNodes FaceWithout(const std::string& name) {
    return [name](StageModelBuilder& b) {
        MbdWriter::Node root = PlaceholderBoss4Node(b, 0.0f, 300.0f);
        std::function<void(MbdWriter::Node&)> prune = [&](MbdWriter::Node& node) {
            std::vector<MbdWriter::Node> kept;
            for (MbdWriter::Node& child : node.children) {
                if (child.name != name) {
                    prune(child);
                    kept.push_back(std::move(child));
                }
            }
            node.children = std::move(kept);
        };
        prune(root);
        return std::vector<MbdWriter::Node>{std::move(root)};
    };
}

TEST(Boss4Fight, AFaceWithoutItsHeadSkipsTheHandOver) {
    Boss4Fixture f(FaceWithout("ba_04kao:Layer23"));
    ASSERT_TRUE(f.Start());
    ASSERT_EQ(f.Head(), nullptr);
    ASSERT_TRUE(f.OpenFace());
    Boss4Fixture::Hit(f.Body()->Part(2), 2501.0f);
    ASSERT_GE(f.StepsUntil([&] { return f.StepOf("BossEvent", "defeat.head 300") >= 0; }, 400), 0);
    f.Steps(60);
    EXPECT_EQ(f.Count("BossShown"), 0);
    EXPECT_EQ(f.Count("BeginStageClear"), 0);
    // The time limit still runs and decides.
    EXPECT_TRUE(f.screen->IsTimeLimitEnabled());
}

TEST(Boss4Fight, MissingModelsAndMuzzlesLeaveSlotsEmptyAndTheFightRunning) {
    // No broken model, head model or blast; or a "Boss4Head" with nothing to follow.
    const BossModels kModels[] = {
        [](MbdWriter&, StageModelBuilder&) {},
        [](MbdWriter& writer, StageModelBuilder&) {
            MbdWriter::Node root;
            root.name = "Boss4Head";
            root.type = 0;
            root.endTime = 1.0f;
            writer.AddModel("Boss4Head", root);
        },
    };
    for (const BossModels& models : kModels) {
        // No medarion muzzle either.
        Boss4Fixture f(FaceWithout("Null_JYUUKOU_medarion"), models);
        ASSERT_TRUE(f.Start());
        Boss4Body* body = f.Body();
        EXPECT_EQ(body->Muzzle(kBoss4Medarion), nullptr);
        EXPECT_EQ(body->Holder()->Slot(1), nullptr);
        ASSERT_TRUE(f.OpenFace());
        // A plate breaks into nothing: it keeps its own mesh.
        Boss4LayerPart* plate = body->Part(3);
        const RenderBatch* own = plate->DrawSet().Get();
        Boss4Fixture::Hit(plate, 201.0f);
        f.Steps(1400);
        EXPECT_EQ(plate->DrawSet().Get(), own);
        EXPECT_GE(f.Count("BossEvent", "attack.medarion0 1260"), 1);
        Boss4Fixture::Hit(body->Part(2), 2501.0f);
        Boss4LayerPart23* head = f.Head();
        ASSERT_GE(f.StepsUntil([&] { return f.StepOf("BossEvent", "appear.attack 150") >= 0; }, 500), 0);
        // Nothing to follow: the head stands where it was.
        EXPECT_EQ(head->GetPosition().z, kPlaceholderBoss4Z);
        f.Steps(10);
        Boss4Fixture::Hit(head->WeakPoint(), 3001.0f);
        ASSERT_GE(f.StepsUntil([&] { return f.Count("BeginStageClear") > 0; }, 1200), 0);
    }
}

}  // namespace
}  // namespace mareldon
