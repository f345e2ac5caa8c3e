#include "engine/render/scene/ModelBinding.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/render/ArchiveObjects.h"
#include "engine/render/RenderBatch.h"
#include "engine/render/Renderer.h"
#include "engine/render/scene/Bone.h"
#include "engine/render/scene/MeshObject.h"
#include "tests/engine/render/scene/ArchiveSceneFixture.h"
#include "tools/archive/ArchiveFixtures.h"

namespace mareldon {
namespace {

RefPtr<ModelNodeData> Record(const char* name, int32_t type,
                             std::vector<RefPtr<ModelNodeData>> children = {}) {
    RefPtr<ModelNodeData> record(new ModelNodeData());
    record->name.Reset(new String(name));
    record->type = type;
    record->children = std::move(children);
    if (type == kRecordLayer) {
        record->mesh.Reset(new MeshData());
        record->mesh->paletteSize = 2;
    }
    return record;
}

RefPtr<ModelEntry> Entry(const RefPtr<ModelNodeData>& root) {
    RefPtr<ModelEntry> entry(new ModelEntry());
    entry->name = root->name;
    entry->root = root;
    return entry;
}

// The tree under a node as "name[type] (child, child)".
std::string Dump(Object3D& node) {
    std::string out = node.name.Text() + std::string("[") + std::to_string(node.nodeType) + "]";
    std::vector<std::string> children;
    node.ForEachChildNode([&children](Object3D& child) { children.push_back(Dump(child)); });
    if (!children.empty()) {
        out += " (";
        for (size_t i = 0; i < children.size(); ++i)
            out += (i ? ", " : "") + children[i];
        out += ")";
    }
    return out;
}

Object3D* Find(Object3D& node, const char* name) {
    if (node.name == name)
        return &node;
    Object3D* found = nullptr;
    node.ForEachChildNode([&](Object3D& child) {
        if (found == nullptr)
            found = Find(child, name);
    });
    return found;
}

using Log = std::vector<std::string>;

// A frame node of the hooks' own class. The frame named "a" also answers for plain
// records; every node of this class notes when it is asked about one.
class FrameNode : public Object3D {
  public:
    FrameNode(Object3D* parent, const RefPtr<ModelNodeData>& record, Log& log)
        : Object3D(parent, record, 0), log_(log), answersPlain_(*record->name == "a") {}
    Object3D* CreatePlainObject(Object3D* parent, const RefPtr<ModelNodeData>& record,
                                const String& n) override {
        log_.push_back(std::string(name.Text()) + ":plain:" + n.Text());
        return answersPlain_ ? new FrameNode(parent, record, log_) : nullptr;
    }

  private:
    Log& log_;
    bool answersPlain_;
};

// The top node: answers frame records with FrameNodes and notes the plain ones it is
// asked about. `inner` is bound from inside the hook of the frame named "rebind".
class HookedTop : public TestClock {
  public:
    HookedTop(TaskObject* parent, Log& log) : TestClock(parent), log_(log) {}
    Object3D* CreateFrameObject(Object3D* parent, const RefPtr<ModelNodeData>& record,
                                const String& n) override {
        log_.push_back(std::string("T:frame:") + n.Text());
        if (inner && n == "rebind") {
            auto* other = new TestClock(parent);
            other->BindMotion(inner);
            return other;
        }
        return new FrameNode(parent, record, log_);
    }
    Object3D* CreatePlainObject(Object3D*, const RefPtr<ModelNodeData>&, const String& n) override {
        log_.push_back(std::string("T:plain:") + n.Text());
        return nullptr;
    }
    RefPtr<ModelEntry> inner;

  private:
    Log& log_;
};

struct ModelBindingTest : ::testing::Test {
    SceneTestRoot root;
    Log log;
    HookedTop top{&root, log};
};

TEST_F(ModelBindingTest, HooksAreAskedOfTheNodeThenItsAncestorsUpToTheTop) {
    RefPtr<ModelNodeData> model =
        Record("T", kRecordPlain,
               {Record("x", kRecordFrame, {Record("b", kRecordFrame, {Record("c", kRecordPlain)})})});
    top.BindMotion(Entry(model));
    EXPECT_EQ(log, (Log{"T:frame:x", "T:frame:b", "b:plain:c", "x:plain:c", "T:plain:c"}));
    EXPECT_EQ(Dump(top), "T[0] (x[0] (b[0] (c[0])))");
    EXPECT_NE(dynamic_cast<FrameNode*>(Find(top, "b")), nullptr) << "the top answered two levels down";
    EXPECT_EQ(dynamic_cast<FrameNode*>(Find(top, "c")), nullptr) << "nobody answered: the default";
}

TEST_F(ModelBindingTest, AnIntermediateNodeIsAskedBeforeTheTop) {
    RefPtr<ModelNodeData> model =
        Record("T", kRecordPlain,
               {Record("a", kRecordFrame, {Record("b", kRecordFrame, {Record("c", kRecordPlain)})})});
    top.BindMotion(Entry(model));
    EXPECT_EQ(log, (Log{"T:frame:a", "T:frame:b", "b:plain:c", "a:plain:c"}));
    EXPECT_NE(dynamic_cast<FrameNode*>(Find(top, "c")), nullptr);
}

TEST_F(ModelBindingTest, UnansweredRecordsGetTheDefaultNodeOfTheirType) {
    RefPtr<ModelNodeData> model =
        Record("T", kRecordPlain,
               {Record("f", kRecordFrame), Record("L", kRecordLayer), Record("B", kRecordBone),
                Record("p", kRecordPlain), Record("q", kRecordType4), Record("r", kRecordType5)});
    top.BindMotion(Entry(model));
    EXPECT_EQ(Dump(top), "T[0] (f[0], L[1], B[3], p[0], q[0], r[0])");
    EXPECT_NE(dynamic_cast<FrameNode*>(Find(top, "f")), nullptr);
    auto* mesh = dynamic_cast<MeshObject*>(Find(top, "L"));
    ASSERT_NE(mesh, nullptr);
    ASSERT_TRUE(mesh->DrawSet());
    EXPECT_EQ(mesh->DrawSet()->palette.size(), 2u);
    EXPECT_EQ(dynamic_cast<Bone*>(Find(top, "B"))->mesh, mesh);
    EXPECT_EQ(top.motionRoot, &top);
    EXPECT_EQ(Find(top, "r")->motionRoot, &top);
}

TEST_F(ModelBindingTest, BonesDeformTheLayerBeforeThemInTheirSubtreeOrAmongTheirSiblings) {
    RefPtr<ModelNodeData> model =
        Record("T", kRecordPlain,
               {Record("B0", kRecordBone),
                Record("L1", kRecordLayer,
                       {Record("B1", kRecordBone), Record("L1b", kRecordLayer), Record("B1c", kRecordBone)}),
                Record("L2", kRecordLayer,
                       {Record("B2", kRecordBone), Record("F", kRecordFrame, {Record("B3", kRecordBone)})}),
                Record("B4", kRecordBone)});
    top.BindMotion(Entry(model));
    auto mesh = [this](const char* name) { return dynamic_cast<MeshObject*>(Find(top, name)); };
    auto bone = [this](const char* name) { return dynamic_cast<Bone*>(Find(top, name)); };
    EXPECT_EQ(bone("B0")->mesh, nullptr) << "before any layer";
    EXPECT_EQ(bone("B1")->mesh, mesh("L1"));
    EXPECT_EQ(bone("B1c")->mesh, mesh("L1b"));
    EXPECT_EQ(bone("B2")->mesh, mesh("L2"));
    EXPECT_EQ(bone("B3")->mesh, mesh("L2"));
    EXPECT_EQ(bone("B4")->mesh, mesh("L2"));
    top.DrawHierarchy();  // the bone without a mesh writes nothing
}

TEST_F(ModelBindingTest, UnknownRecordTypesBuildNothingBelowThem) {
    RefPtr<ModelNodeData> model =
        Record("T", kRecordPlain,
               {Record("a", kRecordPlain), Record("x", 7, {Record("y", kRecordPlain)}),
                Record("b", kRecordPlain), Record("z", -1)});
    top.BindMotion(Entry(model));
    EXPECT_EQ(Dump(top), "T[0] (a[0], b[0])");
}

TEST_F(ModelBindingTest, AnEmptyEntryBindsNothingAndAHookMayBindAnotherModel) {
    top.BindMotion(RefPtr<ModelEntry>());
    top.BindMotion(RefPtr<ModelEntry>(new ModelEntry()));
    EXPECT_EQ(top.childCount, 0);
    EXPECT_EQ(top.motionRoot, &top);

    RefPtr<ModelNodeData> inner = Record("inner", kRecordPlain, {Record("deep", kRecordPlain)});
    inner->startTime = 1.0f;
    inner->endTime = 3.0f;
    top.inner = Entry(inner);
    RefPtr<ModelNodeData> model =
        Record("T", kRecordPlain,
               {Record("rebind", kRecordFrame, {Record("after", kRecordPlain)}), Record("last", 0)});
    model->endTime = 5.0f;
    top.BindMotion(Entry(model));
    EXPECT_EQ(Dump(top), "T[0] (rebind[0] (deep[0], after[0]), last[0])");
    auto* rebound = dynamic_cast<TestClock*>(Find(top, "rebind"));
    ASSERT_NE(rebound, nullptr);
    EXPECT_EQ(rebound->clock.end, 3.0f);
    EXPECT_EQ(top.clock.end, 5.0f);
    EXPECT_EQ(Find(top, "deep")->motionRoot, rebound);
}

TEST(TextureSlotsTest, SlotsOfOneNameAreNumberedInOrder) {
    MeshPartData part;
    for (const char* slot : {"Diffuse", "Specular", "Diffuse"})
        part.textures.push_back({RefPtr<String>(new String(slot)), 0});
    TextureSlotList slots = BuildTextureSlots(part, nullptr);
    ASSERT_EQ(slots.size(), 3u);
    EXPECT_EQ(slots[0].slotName, "Diffuse");
    EXPECT_EQ(slots[2].slotName, "Diffuse");
    EXPECT_EQ(slots[0].duplicateIndex, 0);
    EXPECT_EQ(slots[1].duplicateIndex, 0);
    EXPECT_EQ(slots[2].duplicateIndex, 1);
    EXPECT_FALSE(slots[0].texture) << "no resources, no image";
    EXPECT_EQ(slots[1].sampler.addressU, TextureAddress::Wrap);
    EXPECT_EQ(slots[1].sampler.magFilter, TextureFilter::None);
}

// The archive tool's sample archive, loaded and built as the game does.
struct SampleArchiveBinding : ::testing::Test, ArchiveSceneFixture {
    SampleArchiveBinding() : ArchiveSceneFixture(MakeSampleArchive()) { EXPECT_TRUE(loaded); }
};

TEST_F(SampleArchiveBinding, TheSceneModelBindsToItsTree) {
    TestClock node(&root);
    node.BindMotion(renderer->FindModel("scene"));
    EXPECT_EQ(Dump(node), "scene[0] (frame[0] (mesh[1] (bone[3])))");
    EXPECT_EQ(node.clock.start, 0.0f);
    EXPECT_EQ(node.clock.end, 2.0f);

    // The frame moves 10 along x over the model's 2 s.
    Object3D& frame = *Find(node, "frame");
    EXPECT_EQ(frame.GetPosition().x, 0.0f);
    node.SetMotionTime(1.0f);
    node.Animate();
    EXPECT_FLOAT_EQ(frame.GetPosition().x, 5.0f);
    EXPECT_EQ(frame.keySpanEnd, 2.0f);

    auto* mesh = dynamic_cast<MeshObject*>(Find(node, "mesh"));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(dynamic_cast<Bone*>(Find(node, "bone"))->mesh, mesh);
    const RenderBatch& drawSet = *mesh->DrawSet();
    EXPECT_EQ(drawSet.parameterCount, 1);
    ASSERT_EQ(drawSet.parts.Count(), 1);
    const MeshPart& part = *drawSet.parts[0];
    EXPECT_EQ(part.cullSwitch, 1);
    EXPECT_EQ(part.name, "Layer1");
    EXPECT_EQ(part.layout.Count(), 3);
    EXPECT_TRUE(part.geometry);
    ASSERT_EQ(part.textures.size(), 1u);
    EXPECT_EQ(part.textures[0].slotName, "Diffuse");
    EXPECT_TRUE(part.textures[0].texture) << "the image, from the archive";
    ASSERT_EQ(part.values.size(), 1u);
    EXPECT_EQ(part.values[0].name, "Emissive");
    EXPECT_EQ(part.radius, 1.5f);
    EXPECT_EQ(part.cullMode, 1);
    EXPECT_EQ(part.castShadow, 1);
    EXPECT_EQ(part.receiveShadow, 0);
}

TEST_F(SampleArchiveBinding, InstancedLayersShareOneCollectorWhileBound) {
    {
        TestClock first(&root);
        TestClock second(&root);
        first.BindMotion(renderer->FindModel("instanced"));
        second.BindMotion(renderer->FindModel("instanced"));
        auto* a = dynamic_cast<MeshObject*>(Find(first, "batch"));
        auto* b = dynamic_cast<MeshObject*>(Find(second, "batch"));
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr);
        EXPECT_NE(a->DrawSet(), b->DrawSet());
        EXPECT_EQ(a->Collector(), a->DrawSet()) << "the first registered draw set collects";
        EXPECT_EQ(b->Collector(), a->DrawSet());
        ASSERT_EQ(renderer->CollectorCount(), 1);
        EXPECT_EQ(renderer->CollectorUses(0), 2);
    }
    EXPECT_EQ(renderer->CollectorCount(), 0);
}

}  // namespace
}  // namespace mareldon
