#include "engine/render/archive/ArchiveBuilder.h"

#include <gtest/gtest.h>

#include "engine/core/KeyTrack.h"
#include "tools/archive/ArchiveFixtures.h"
#include "tools/archive/MbdWriter.h"

namespace mareldon {
namespace {

void Build(const std::vector<uint8_t>& file, ArchiveBuilder& built) {
    ArchiveHeader header;
    std::string error;
    ASSERT_TRUE(ReadArchiveHeader(file.data(), file.size(), file.size(), header, error)) << error;
    ASSERT_TRUE(ParseArchiveBody(file.data() + 8, size_t(header.bodySize), header, file.size(), built, error))
        << error;
}

TEST(ArchiveBuilderTest, SampleBecomesSharedObjects) {
    ArchiveBuilder built;
    Build(MakeSampleArchive(), built);
    ASSERT_EQ(built.models.size(), 2u);
    const ModelEntry& scene = *built.models[0];
    EXPECT_TRUE(scene.name->Equals("scene"));
    const ModelNodeData& root = *scene.root;
    EXPECT_EQ(root.type, 0);
    EXPECT_EQ(root.endTime, 2.0f);
    const ModelNodeData& frame = *root.children[0];
    EXPECT_TRUE(frame.name->Equals("frame"));
    EXPECT_EQ(frame.tracks[0]->Evaluate(1.0f), 5.0f);
    EXPECT_EQ(frame.tracks[6]->Evaluate(1.0f), 1.0f);
    // Names and tracks are shared handles to one object each.
    EXPECT_EQ(frame.tracks[1].Get(), root.tracks[1].Get());
    EXPECT_EQ(frame.tracks[6].Get(), root.tracks[8].Get());

    const ModelNodeData& mesh = *frame.children[0];
    ASSERT_TRUE(mesh.mesh);
    EXPECT_EQ(mesh.mesh->parameterCount, 1);
    const MeshPartData& part = *mesh.mesh->parts[0];
    EXPECT_TRUE(part.name->Equals("Layer1"));
    EXPECT_EQ(part.vertices->wordsPerVertex, 8);
    EXPECT_EQ(part.vertices->VertexCount(), 4);
    EXPECT_EQ(part.indices->words, (SharedWords{0, 1, 2, 2, 1, 3}));
    EXPECT_EQ(part.DrawFloat(kDrawRadius), 1.5f);
    EXPECT_EQ(part.drawSettings[kDrawCullMode], 1u);
    ASSERT_EQ(part.params.size(), 1u);
    EXPECT_TRUE(part.params[0].name->Equals("Emissive"));
    EXPECT_EQ(part.params[0].track->Evaluate(0.0f), 0.5f);
    ASSERT_EQ(part.textures.size(), 1u);
    EXPECT_EQ(part.textures[0].image, 0);
    const ModelNodeData& bone = *mesh.children[0];
    EXPECT_EQ(bone.type, 3);
    EXPECT_EQ(bone.offsetMatrix[5], 1.0f);

    ASSERT_EQ(built.sprites.size(), 1u);
    EXPECT_TRUE(built.sprites[0]->frames[1].name->Equals("b"));
    ASSERT_EQ(built.fonts.size(), 1u);
    EXPECT_TRUE(built.fonts[0].first->Equals("F24"));
    EXPECT_EQ(built.fonts[0].second->offsetTable.Get(), built.wordArrays[0].Get());
    EXPECT_EQ(built.fonts[0].second->glyphs.Get(), built.blobs[0].Get());
    ASSERT_EQ(built.soundNames.size(), 2u);
    EXPECT_TRUE(built.soundNames[1].name.Equals("bgm_title"));
    EXPECT_EQ(built.soundNames[1].slot, 1);
    ASSERT_EQ(built.groups.size(), 3u);
    EXPECT_TRUE(built.groups[1]->name.Equals("SYSTEMSE"));
    EXPECT_EQ(built.groups[1]->sounds, std::vector<int32_t>{0});
}

TEST(ArchiveBuilderTest, KeysOutOfOrderAreSortedAndTheLaterOfOneTimeWins) {
    MbdWriter writer;
    MbdWriter::Track track;
    for (auto [time, value] : {std::pair{2.0f, 20.0f}, {0.0f, 0.0f}, {1.0f, 10.0f}, {2.0f, 21.0f}}) {
        track.keys.push_back({time, value, 3, {}});
    }
    writer.AddTrack(track);
    ArchiveBuilder built;
    Build(writer.Build(), built);
    const KeyTrack& keys = *built.tracks[0];
    ASSERT_EQ(keys.keyCount, 3);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(keys.keys[k].time, float(k));
        EXPECT_EQ(keys.keys[k].value, k == 2 ? 21.0f : float(k) * 10.0f);
    }
}

TEST(ArchiveBuilderTest, LayoutSplitsWideElementsIntoFourFloatChunks) {
    MbdWriter writer;
    MbdWriter::Node node;
    node.name = "m";
    node.type = 2;
    MbdWriter::Part part;
    part.name = "p";
    part.elements = {{"Position", 3}, {"N", 6}, {"X16", 16}};
    part.vertexArray = writer.AddVertexArray(25, std::vector<float>(25));
    node.mesh.parts.push_back(part);
    writer.AddModel("m", node);
    ArchiveBuilder built;
    Build(writer.Build(), built);
    MeshPartData& data = *built.models[0]->root->mesh->parts[0];
    data.BuildLayout();
    data.BuildLayout();  // once only
    const VertexLayout& layout = data.layout;
    ASSERT_EQ(layout.Count(), 7);
    EXPECT_EQ(layout.Stride(), 100);
    struct Expected {
        int32_t type;
        const char* name;
        int32_t usage;
    };
    const Expected expected[] = {{2, "Position", 0}, {3, "N", 0},   {1, "N", 1},  {3, "X16", 0},
                                 {3, "X16", 1},      {3, "X16", 2}, {3, "X16", 3}};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(layout.Element(i).type, expected[i].type) << i;
        EXPECT_TRUE(layout.Element(i).name.Equals(expected[i].name)) << i;
        EXPECT_EQ(layout.Element(i).usageIndex, expected[i].usage) << i;
    }
}

}  // namespace
}  // namespace mareldon
