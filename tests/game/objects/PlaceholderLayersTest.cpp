#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/render/archive/ArchiveParser.h"
#include "game/objects/RegisterStageObjects.h"
#include "game/objects/StageLayers.h"
#include "game/objects/StageNodes.h"
#include "game/objects/StageWatchers.h"
#include "tests/game/objects/EnemyStageFixture.h"
#include "tools/archive/ArchiveFixtures.h"
#include "tools/archive/PlaceholderTableLayers.h"

namespace mareldon {
namespace {

// Every node name of every model of an archive.
class NodeNames : public ArchiveSink {
  public:
    void OnString(std::string_view text) override { strings.emplace_back(text); }
    void OnModel(int32_t, const ArchiveNode& root) override { Walk(root); }

    std::set<std::string> names;

  private:
    void Walk(const ArchiveNode& node) {
        if (node.name >= 0 && size_t(node.name) < strings.size())
            names.insert(strings[size_t(node.name)]);
        for (const ArchiveNode& child : node.children)
            Walk(child);
    }
    std::vector<std::string> strings;
};

std::set<std::string> GameArchiveNodeNames() {
    const std::vector<uint8_t> file = MakeGameArchive();
    ArchiveHeader header;
    std::string error;
    NodeNames sink;
    if (!ReadArchiveHeader(file.data(), file.size(), file.size(), header, error) ||
        !ParseArchiveBody(file.data() + 8, size_t(header.bodySize), header, file.size(), sink, error)) {
        ADD_FAILURE() << error;
    }
    return sink.names;
}

// The placeholder data set holds a node for every row of the mesh-layer table and for
// the watcher and splash nodes, so a stage built from it builds each of them.
TEST(PlaceholderLayersTest, TheGameArchiveHoldsEveryLayerOfTheTableAndTheWatcherNodes) {
    const std::set<std::string> names = GameArchiveNodeNames();
    ASSERT_FALSE(names.empty());
    std::vector<std::string> missing;
    for (const LayerRow& row : StageLayerRows()) {
        if (names.count(row.name) == 0)
            missing.push_back(row.name);
    }
    for (const char* node : {"senyouwatcher", "Splasher", "Splasher2"}) {
        if (names.count(node) == 0)
            missing.push_back(node);
    }
    std::string list;
    for (const std::string& name : missing)
        list += " " + name;
    EXPECT_TRUE(missing.empty()) << missing.size() << " missing:" << list;
}

// The stage that holds the layers no other placeholder stage has (table entry 8) builds
// each as its stage object, not as scenery, and plays through all their windows.
TEST(PlaceholderLayersTest, TheRestOfTheTableIsBuiltFromItsStageAndPlaysThrough) {
    MbdWriter writer;
    AddPlaceholderStageData(writer);
    const PlaceholderSoundSlots sounds = AddPlaceholderSounds(writer);
    writer.AddGroup({"SYSTEMSE", sounds.effects, {}, {}});
    writer.AddGroup({"SYSTEMBGM", sounds.tunes, {}, {}});
    WorldScreenFixture f(writer.Build());
    f.entry = 8;
    f.plainWorld = true;
    f.musicOn = 0;
    f.Enter(1);
    StageNodeRegistry registry;
    RegisterStageObjects(registry);
    ScopedStageNodeRegistry scope(registry);
    ASSERT_TRUE(f.StartWorld());
    ASSERT_TRUE(f.screen->GetStageEntry()->stageId.Equals("STAGE_MU"));
    TaskObject& world = *f.screen->GetWorldRoot();
    f.Step();

    std::set<std::string> built;
    for (Object3D* node : FindNodes<Object3D>(world)) {
        if (dynamic_cast<StageMeshObject*>(node) == nullptr)
            built.insert(node->name.Text());
    }
    for (const PlaceholderLayerGroup& group : PlaceholderTableLayerGroups()) {
        for (int32_t layer : group.layers) {
            const std::string name = LayerName(group.model, layer);
            ASSERT_NE(FindStageLayerRow(name), nullptr) << name;
            EXPECT_EQ(built.count(name), 1u) << name << " is scenery or missing";
        }
    }
    EXPECT_EQ(FindNodes<SenyouWatcher>(world).size(), 1u);
    EXPECT_EQ(FindNodes<Splasher2>(world).size(), 1u);
    EXPECT_EQ(FindNodes<Splasher>(world).size(), 2u) << "the second is a splasher too";

    // Through every window: the stage runs on with all of them.
    const float end = 2.0f + 2.5f * float(PlaceholderTableLayerGroups().size() + 1) + 6.0f;
    for (int step = 0; step < int(end * 60.0f) + 60 && f.screen != nullptr; ++step) {
        if (PlayerShip* ship = f.screen->GetPlayer(1))
            ship->SetProtection(1 << 30, 1);
        f.Step();
    }
    EXPECT_GT(f.screen->GetStageTime(), end);
}

}  // namespace
}  // namespace mareldon
