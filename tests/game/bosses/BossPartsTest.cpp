#include <gtest/gtest.h>

#include <string>

#include "tests/game/bosses/Boss1Fixture.h"

namespace mareldon {
namespace {

std::string Layer(const char* model, int n) {
    return std::string(model) + ":Layer" + std::to_string(n);
}

// The placeholder boss with a broken model of the test's making: `layers` named Layer0..,
// leaving out `missing` (-1: none), plus a "Layer05" that must not fill slot 5.
BossModels BrokenModel(int layers, int missing) {
    return [layers, missing](MbdWriter& writer, StageModelBuilder& b) {
        MbdWriter::Node root;
        root.name = "ba_01zenyoku_koware";
        root.type = 0;
        root.endTime = 1.0f;
        for (int n = 0; n < layers; ++n) {
            if (n != missing)
                root.children.push_back(b.Box(Layer("ba_01zenyoku_koware", n), 0.3f, 0x101010));
        }
        root.children.push_back(b.Box("ba_01zenyoku_koware:Layer05", 0.3f, 0x101010));
        writer.AddModel("ba_01zenyoku_koware", root);
    };
}

TEST(BossParts, HolderKeepsOnlyItsSlotsAndABrokenSectionDrawsTheHoldersMesh) {
    BossStageFixture f(PlaceholderBossNodes, BrokenModel(21, 5));
    ASSERT_TRUE(f.Start());
    BrokenModelHolder* holder = f.Body()->Holder();
    ASSERT_EQ(holder->SlotCount(), 17);
    for (int n = 0; n < 17; ++n)
        EXPECT_EQ(holder->Slot(n) != nullptr, n != 5) << n;
    EXPECT_EQ(holder->Slot(17), nullptr);
    EXPECT_EQ(holder->Slot(-1), nullptr);
    // Layers 17 to 20 and "Layer05" are plain nodes the holder never draws.
    EXPECT_EQ(holder->GetDrawSelf(), false);
    EXPECT_EQ(holder->GetDrawChildren(), false);

    Boss1Section* cover = f.Section(kBoss1Cover);
    RefPtr<RenderBatch> old = cover->DrawSet();
    const int32_t uses = old.UseCount();
    cover->TakeBrokenMesh();
    EXPECT_EQ(cover->DrawSet().Get(), holder->Slot(2)->DrawSet().Get());
    EXPECT_EQ(old.UseCount(), uses - 1);

    // An empty slot keeps the section's own mesh.
    Boss1Section* five = f.Section(kBoss1Layer5);
    const RenderBatch* own = five->DrawSet().Get();
    five->TakeBrokenMesh();
    EXPECT_EQ(five->DrawSet().Get(), own);
}

// The placeholder boss with one layer renamed away or nested elsewhere.
BossNodes EditedBoss(const std::function<void(MbdWriter::Node&)>& edit) {
    return [edit](StageModelBuilder& b) {
        MbdWriter::Node body = PlaceholderBoss1Node(b, 0.0f, 300.0f);
        edit(body);
        return std::vector<MbdWriter::Node>{body};
    };
}

MbdWriter::Node* FindNode(MbdWriter::Node& node, const std::string& name) {
    if (node.name == name)
        return &node;
    for (MbdWriter::Node& child : node.children) {
        if (MbdWriter::Node* found = FindNode(child, name))
            return found;
    }
    return nullptr;
}

// Steps a fight through fight start, wing breaks, core phase and defeat.
void FightThrough(BossStageFixture& f) {
    f.JumpBefore(8095);
    f.StepToFrame(8110);
    for (int i : {kBoss1Layer5, kBoss1Layer6, kBoss1WingRootA, kBoss1Cover}) {
        if (Boss1Section* s = f.Section(i))
            BossStageFixture::Hit(s, 800.0f);
    }
    f.Steps(320);
    for (int i : {kBoss1Core, kBoss1WingRootA, kBoss1WingRootB}) {
        if (Boss1Section* s = f.Section(i))
            BossStageFixture::Hit(s, 2000.0f);
    }
    f.Steps(700);
}

TEST(BossParts, ABossMissingASectionOrWithOneNestedElsewhereStillFights) {
    struct Case {
        const char* what;
        std::function<void(MbdWriter::Node&)> edit;
        int32_t emptySlot;
    };
    const Case cases[] = {
        {"wing root A missing",
         [](MbdWriter::Node& body) { FindNode(body, Layer("ba_01zenyoku", 3))->name = "elsewhere"; },
         kBoss1WingRootA},
        // The core one level deeper: the part two levels up is no body.
        {"core nested deeper",
         [](MbdWriter::Node& body) {
             MbdWriter::Node core = body.children[0];
             body.children.erase(body.children.begin());
             FindNode(body, Layer("ba_01zenyoku", 1))->children.push_back(core);
         },
         kBoss1Core},
        // A tip under a wing section: two levels up is a frame node, not the body.
        {"tip nested higher",
         [](MbdWriter::Node& body) {
             MbdWriter::Node* frameLayer = FindNode(body, Layer("ba_01zenyoku", 1));
             for (size_t i = 0; i < frameLayer->children.size(); ++i) {
                 if (frameLayer->children[i].name == "Null_ba01_tubasa_sakisotoL") {
                     frameLayer->children.erase(frameLayer->children.begin() + long(i));
                     break;
                 }
             }
             FindNode(body, Layer("ba_01zenyoku", 7))
                 ->children.push_back(StageModelBuilder::Frame("Null_ba01_tubasa_sakisotoL"));
         },
         -1},
    };
    for (const Case& c : cases) {
        BossStageFixture f(EditedBoss(c.edit));
        ASSERT_TRUE(f.Start()) << c.what;
        ASSERT_NE(f.Body(), nullptr) << c.what;
        if (c.emptySlot >= 0)
            EXPECT_EQ(f.Section(c.emptySlot), nullptr) << c.what;
        else
            EXPECT_EQ(f.Body()->Tip(Boss1WingTip::kSakisotoL), nullptr) << c.what;
        FightThrough(f);
        EXPECT_GT(f.Count("BossEvent", "fight.start 8100"), 0) << c.what;
    }
}

TEST(BossParts, MissingWeaponAndBrokenModelsLeaveTheFightRunning) {
    BossStageFixture f(PlaceholderBossNodes, [](MbdWriter&, StageModelBuilder&) {});
    ASSERT_TRUE(f.Start());
    EXPECT_EQ(f.Body()->Holder()->Slot(0), nullptr);
    FightThrough(f);
    EXPECT_EQ(f.Count("BeginStageClear"), 1);
    EXPECT_FALSE(f.shots.empty());
}

// Run under the address sanitizer this shows the teardown order: sections, tips and
// patterns go while the body and sections they call back into are whole.
TEST(BossParts, DeletingTheWholeBossMidFightLeavesNothingBehind) {
    BossStageFixture f;
    ASSERT_TRUE(f.Start());
    f.JumpBefore(8095);
    f.StepToFrame(8400);
    BossStageFixture::Hit(f.Section(kBoss1Layer9), 130.0f);
    f.Steps(5);
    delete f.BossRoot();
    f.body = nullptr;
    f.Steps(30);
    EXPECT_EQ(f.Body(), nullptr);
    EXPECT_TRUE(f.Find<Boss1Section>().empty());
    EXPECT_TRUE(f.Find<BossPattern>().empty());
}

}  // namespace
}  // namespace mareldon
