#include "tools/archive/PlaceholderBoss5.h"

#include <string>
#include <utility>

namespace mareldon {

namespace {

using Node = MbdWriter::Node;
using B = StageModelBuilder;

constexpr const char* kMandara = "ba_05_1mandara";
constexpr const char* kBall = "ba_05_4hikari_dama";

// A muzzle four levels under its owner.
Node Muzzle(const std::string& name, float x, float z, StageModelBuilder& b) {
    Node muzzle = B::Frame(name);
    b.At(muzzle, x, 0.0f, z);
    return B::Frame(name + "_a", {B::Frame(name + "_b", {B::Frame(name + "_c", {std::move(muzzle)})})});
}

}  // namespace

Node PlaceholderBoss5Node(StageModelBuilder& b, float appearTime, float endTime) {
    auto box = [&](const char* model, int32_t n, float half, uint32_t rgb, std::vector<Node> children = {}) {
        return b.Box(LayerName(model, n), half, rgb, std::move(children));
    };
    Node centreWeak = box(kMandara, 1, 0.5f, 0xF04040);
    Node centre = box(kMandara, 0, 0.8f, 0xE0C040,
                      {std::move(centreWeak), Muzzle("Null_JYUUKOU_medarion_5BOSS", 0.0f, -0.5f, b),
                       B::Frame("Null_petal", {box(kMandara, 2, 0.3f, 0xC0A030)})});
    std::vector<Node> ringChildren = {box(kMandara, 7, 0.3f, 0x808080), box(kMandara, 8, 0.3f, 0x6060C0)};
    const char* kRing[] = {"Null_JYUUKOU_15_18_inazuma", "Null_JYUUKOU_16_19_inazuma",
                           "Null_JYUUKOU_17_20_inazuma"};
    for (int32_t i = 0; i < 3; ++i)
        ringChildren.push_back(Muzzle(kRing[i], -2.0f + 2.0f * float(i), 1.5f, b));
    const char* kCyuou[] = {"Null_JYUUKOU_U_cyuou", "Null_JYUUKOU_R_cyuou", "Null_JYUUKOU_L_cyuou"};
    for (int32_t i = 0; i < 3; ++i) {
        // The cyuou muzzles hang under another frame-node object.
        Node muzzle = B::Frame(kCyuou[i]);
        b.At(muzzle, -1.5f + 1.5f * float(i), 0.0f, -1.5f);
        ringChildren.push_back(
            B::Frame(std::string(kCyuou[i]) + "_a",
                     {B::Frame(std::string(kCyuou[i]) + "_b", {B::Frame("bs_Null", {std::move(muzzle)})})}));
    }
    Node ring = box(kMandara, 22, 1.6f, 0x4060E0, std::move(ringChildren));

    // The ball: its weak point under a frame-node object, the marker two levels down.
    Node ballWeak = box(kBall, 2, 0.4f, 0xFFFFFF);
    Node ball = box(kBall, 0, 0.9f, 0xFFF080,
                    {B::Frame("bs_Null", {std::move(ballWeak)}),
                     B::Frame("Null_top", {B::Frame("Null_ba_05_4hikari_dama_top")}),
                     Muzzle("Null_JYUUKOU_chusin1", 0.0f, 0.0f, b), box(kBall, 7, 0.2f, 0xFFE0A0)});
    b.At(ball, 0.0f, 1.0f, 1.0f);

    Node root = box(kMandara, 21, 0.2f, 0x303030, {std::move(centre), std::move(ring), std::move(ball)});
    b.Window(root, 0.0f, 0.0f, kPlaceholderBoss5Z, appearTime, endTime);
    return root;
}

Node PlaceholderCubeNode(StageModelBuilder& b, float appearTime, float endTime) {
    const char* kCube = "ba_05_3cube";
    Node cube = b.Box(LayerName(kCube, 0), 0.5f, 0x40A0FF, {b.Box(LayerName(kCube, 1), 0.2f, 0x2060C0)});
    b.Window(cube, 4.0f, 0.0f, 5.0f, appearTime, endTime);
    return cube;
}

void AddPlaceholderBoss5Models(MbdWriter& writer) {
    StageModelBuilder b(writer);
    // Motion only: one node whose pose the mandala parts take.
    for (const char* name : {"ba_05_1madara1top_box_motion", "ba_05_1madara23top_box_basehontai_motion"}) {
        Node box = B::Frame("box");
        b.At(box, 0.0f, 0.0f, 0.0f);
        writer.AddModel(name, ModelRoot(name, 10.0f, {std::move(box)}));
    }
    Node blast = b.Box("EXPLOSION_S5BOSS:Layer0", 1.5f, 0xFFFFE0);
    for (int axis = 0; axis < 3; ++axis)
        b.ScaleKeys(blast, axis, {{0.0f, 0.5f}, {0.5f, 4.0f}}, StageModelBuilder::kLinear);
    writer.AddModel("EXPLOSION_S5BOSS", ModelRoot("EXPLOSION_S5BOSS", 0.5f, {std::move(blast)}));
}

void AddPlaceholderBoss5ToStage(MbdWriter& writer, MbdWriter::Node& stage, const std::string& id) {
    if (id != "STAGE_TEN")
        return;
    StageModelBuilder builder(writer);
    AddToScene(stage, PlaceholderBoss5Node(builder));
    AddToScene(stage, PlaceholderCubeNode(builder));
}

}  // namespace mareldon
